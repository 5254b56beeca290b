#include "app/user_guide_window.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

UserGuideWindow::UserGuideWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("userGuideWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QCoreApplication::translate("UserGuide", "User Guide"));
    setSizeGripEnabled(true);

    auto* findLabel = new QLabel(tr("&Find:"), this);
    findEdit_ = new QLineEdit(this);
    findEdit_->setObjectName(QStringLiteral("guideFindEdit"));
    findEdit_->setAccessibleName(tr("Find in the user guide"));
    findEdit_->setClearButtonEnabled(true);
    findLabel->setBuddy(findEdit_);
    auto* previous = new QPushButton(tr("Pre&vious"), this);
    previous->setObjectName(QStringLiteral("guideFindPrevious"));
    auto* next = new QPushButton(tr("&Next"), this);
    next->setObjectName(QStringLiteral("guideFindNext"));
    // Enter in the find line finds; it must not press a button that closes the window.
    previous->setAutoDefault(false);
    next->setAutoDefault(false);
    findStatus_ = new QLabel(this);
    findStatus_->setObjectName(QStringLiteral("guideFindStatus"));

    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("guideBrowser"));
    browser_->setAccessibleName(QCoreApplication::translate("UserGuide", "User Guide"));
    browser_->setOpenExternalLinks(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* findRow = new QHBoxLayout;
    findRow->addWidget(findLabel);
    findRow->addWidget(findEdit_, 1);
    findRow->addWidget(previous);
    findRow->addWidget(next);
    findRow->addWidget(findStatus_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(findRow);
    layout->addWidget(browser_, 1);
    layout->addWidget(buttons);
    setTabOrder(findEdit_, previous);
    setTabOrder(previous, next);
    setTabOrder(next, browser_);
    setTabOrder(browser_, buttons->button(QDialogButtonBox::Close));

    connect(next, &QPushButton::clicked, this, [this] { findText(false); });
    connect(previous, &QPushButton::clicked, this, [this] { findText(true); });
    // Typing finds as it goes, from where the last place found begins.
    connect(findEdit_, &QLineEdit::textEdited, this, [this] {
        QTextCursor cursor = browser_->textCursor();
        cursor.setPosition(cursor.selectionStart());
        browser_->setTextCursor(cursor);
        findText(false);
    });
    auto addShortcut = [this](QKeySequence::StandardKey key, auto slot) {
        auto* action = new QAction(this);
        action->setShortcuts(key);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
    };
    addShortcut(QKeySequence::Find, [this] {
        findEdit_->setFocus(Qt::ShortcutFocusReason);
        findEdit_->selectAll();
    });
    addShortcut(QKeySequence::FindNext, [this] { findText(false); });
    addShortcut(QKeySequence::FindPrevious, [this] { findText(true); });

    // A reading width, within the screen at any scale.
    QSize size(760, 680);
    if (const QScreen* screen = parent ? parent->screen() : this->screen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);
    browser_->setFocus();
}

void UserGuideWindow::showPage(const QString& path) {
    const QUrl page = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    if (browser_->source() != page)
        browser_->setSource(page);
}

bool UserGuideWindow::findText(bool backward) {
    const QString text = findEdit_->text();
    if (text.isEmpty()) {
        findStatus_->clear();
        return false;
    }
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    const QTextCursor before = browser_->textCursor();
    bool found = browser_->find(text, flags);
    if (!found) {
        QTextCursor cursor = before;
        cursor.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
        browser_->setTextCursor(cursor);
        found = browser_->find(text, flags);
        if (!found)
            browser_->setTextCursor(before);
    }
    findStatus_->setText(found ? QString() : tr("Not found"));
    return found;
}

void UserGuideWindow::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        findEdit_->hasFocus()) {
        findText(event->modifiers() & Qt::ShiftModifier);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
