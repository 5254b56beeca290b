#include "widgets/document_info_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringDecoder>
#include <QVBoxLayout>

#include "core/windows1252.h"
#include "platform/prompts.h"
#include "platform/text_codec.h"

namespace {

// File names come from the file dialogs as UTF-8; a name that is not valid UTF-8 is shown
// byte for byte as Windows-1252, the code page such names most often come from, rather
// than with replacement marks.
QString fileNameText(const std::string& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        return QString::fromStdString(windows1252ToUtf8(bytes));
    return text;
}

}  // namespace

DocumentInfoDialog::DocumentInfoDialog(const DocumentInfo& info, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("documentInfoDialog"));
    setWindowTitle(tr("Document - Information"));

    auto* form = new QFormLayout;
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);

    // The sum is formed in 64 bits: two counts from a damaged report must not wrap.
    const long long cardCount =
        static_cast<long long>(info.unknownCount) + static_cast<long long>(info.knownCount);
    const struct {
        const char* label;
        const char* name;
        QString text;
    } rows[] = {
        {QT_TR_NOOP("Filename"), "fileNameEdit", fileNameText(info.fileName)},
        {QT_TR_NOOP("Version"), "versionEdit", fromCardText(info.format)},
        {QT_TR_NOOP("Number of cards"), "cardCountEdit", QString::number(cardCount)},
        {QT_TR_NOOP("Known cards"), "knownCountEdit", QString::number(info.knownCount)},
    };
    for (const auto& row : rows) {
        auto* label = new QLabel(tr(row.label), this);
        auto* field = new QLineEdit(row.text, this);
        field->setObjectName(QString::fromLatin1(row.name));
        field->setReadOnly(true);
        field->setAccessibleName(label->text());
        field->setCursorPosition(0);
        label->setBuddy(field);
        form->addRow(label, field);
    }

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    layout->addLayout(buttons);
    setMinimumWidth(420);
}

void showDocumentInfo(const DocumentInfo& info, QWidget* owner) {
    DocumentInfoDialog dialog(info, owner);
    prompts().execDialog(&dialog);
}
