#include "platform/prompts.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>

#include "platform/fonts.h"
#include "platform/owned_dialog.h"

namespace {

QMessageBox::Icon boxIcon(PromptIcon icon) {
    switch (icon) {
        case PromptIcon::Error:
            return QMessageBox::Critical;
        case PromptIcon::Information:
            return QMessageBox::Information;
        case PromptIcon::Exclamation:
            return QMessageBox::Warning;
        case PromptIcon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

// Every box and dialog lives on the heap: its owner may be deleted while it runs (see
// OwnedDialog), and then exec() returns and the box is already gone.
FileChoice runFileDialog(QWidget* owner, const FileRequest& request, bool save) {
    OwnedDialog<QFileDialog> dialog(owner, request.title);
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Filters are "Description (patterns)"; only the description is shown, so that a
    // description may name its pattern the way the user knows it.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    if (!request.filters.isEmpty()) {
        dialog->setNameFilters(request.filters);
        dialog->selectNameFilter(request.filters.value(request.selectedFilter));
    }
    dialog->setDefaultSuffix(request.defaultSuffix);
    // Saving in one of several formats: a name typed without an extension takes the one of
    // the format chosen, so that the file is written in the format its name says.
    if (save && request.filters.size() > 1) {
        QObject::connect(
            dialog.get(), &QFileDialog::filterSelected, dialog.get(),
            [d = dialog.get()](const QString& filter) {
                static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
                const QRegularExpressionMatch match = pattern.match(filter);
                if (match.hasMatch())
                    d->setDefaultSuffix(match.captured(1));
            });
    }
    if (!request.initialName.isEmpty())
        dialog->selectFile(request.initialName);
    FileChoice choice;
    if (dialog->exec() == QDialog::Accepted && dialog) {
        choice.path = dialog->selectedFiles().value(0);
        choice.filter = static_cast<int>(request.filters.indexOf(dialog->selectedNameFilter()));
    }
    return choice;
}

class QtPrompts : public Prompts {
public:
    void message(QWidget* owner, PromptIcon icon, const QString& caption,
                 const QString& text) override {
        OwnedDialog<QMessageBox> box(boxIcon(icon), caption, text, QMessageBox::Ok, owner);
        box->exec();
    }

    PromptAnswer question(QWidget* owner, PromptIcon icon, const QString& caption,
                          const QString& text, bool withCancel) override {
        QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
        if (withCancel)
            buttons |= QMessageBox::Cancel;
        OwnedDialog<QMessageBox> box(boxIcon(icon), caption, text, buttons, owner);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(withCancel ? QMessageBox::Cancel : QMessageBox::No);
        const int answer = box->exec();
        if (!box)
            return withCancel ? PromptAnswer::Cancel : PromptAnswer::No;
        switch (answer) {
            case QMessageBox::Yes:
                return PromptAnswer::Yes;
            case QMessageBox::No:
                return PromptAnswer::No;
            default:
                return withCancel ? PromptAnswer::Cancel : PromptAnswer::No;
        }
    }

    FileChoice openFile(QWidget* owner, const FileRequest& request) override {
        return runFileDialog(owner, request, false);
    }

    FileChoice saveFile(QWidget* owner, const FileRequest& request) override {
        return runFileDialog(owner, request, true);
    }

    LogFont chooseFont(QWidget* owner, const LogFont& preset) override {
        OwnedDialog<QFontDialog> dialog(fontForFontDialog(preset), owner);
        if (dialog->exec() != QDialog::Accepted || !dialog)
            return preset;
        return mergeChosenFont(preset, dialog->selectedFont());
    }

    bool choosePrinter(QWidget* owner, QPrinter& printer) override {
        OwnedDialog<QPrintDialog> dialog(&printer, owner);
        // A card list is always printed whole; printing into a PDF file stays offered.
        dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        return dialog->exec() == QDialog::Accepted && dialog;
    }

    int execDialog(QDialog* dialog) override { return dialog->exec(); }

    void beep(int, int) override { QApplication::beep(); }
};

Prompts* replacementPrompts = nullptr;

}  // namespace

Prompts& prompts() {
    if (replacementPrompts)
        return *replacementPrompts;
    static QtPrompts qtPrompts;
    return qtPrompts;
}

void setPrompts(Prompts* replacement) {
    replacementPrompts = replacement;
}
