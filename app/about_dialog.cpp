#include "app/about_dialog.h"

#include "app/trainer_app.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("aboutDialog");
    setWindowTitle(tr("About Kartomatrix"));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(":/icons/kartomatrix.svg").pixmap(48, 48));
    icon->setAccessibleName(tr("Kartomatrix icon"));
    // The platform as the system names it ("Debian GNU/Linux 12 (bookworm)"), or at least
    // its kernel.
    QString platform = QSysInfo::prettyProductName();
    if (platform.isEmpty() || platform == QLatin1String("Unknown"))
        platform = QSysInfo::kernelType();
    auto* text = new QLabel(
        tr("Kartomatrix %1\nRunning on %2").arg(QLatin1String(TrainerApp::version()), platform),
        this);
    text->setObjectName("aboutText");
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}
