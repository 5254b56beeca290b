#pragma once

#include <QString>
#include <QStringList>

#include "core/log_font.h"

class QDialog;
class QPrinter;
class QWidget;

enum class PromptIcon { Error, Information, Exclamation, Question };
enum class PromptAnswer { Ok, Yes, No, Cancel };

// One file dialog: title, filters as "Description (*.ext)" entries, the default
// extension added to a name typed without one, and the preset name.
struct FileRequest {
    QString title;
    QStringList filters;
    QString defaultSuffix;
    QString initialName;
    // The filter shown first (an index into `filters`).
    int selectedFilter = 0;
};

// The chosen path, or an empty path with errorCode 0 for a plain cancel and another
// code when the dialog itself failed.
struct FileChoice {
    QString path;
    int errorCode = 0;
    // The filter the user left chosen; -1 for the one the request showed first.
    int filter = -1;
};

// Everything that asks the user something or waits for the user passes through here:
// message boxes, questions, file, font and print dialogs, and the program's own modal
// dialogs. The program installs the Qt implementation; tests install a scripted one,
// so that no test ever blocks on a modal window.
class Prompts {
public:
    virtual ~Prompts() = default;

    // A message box with one OK button. A null owner means a box of its own.
    virtual void message(QWidget* owner, PromptIcon icon, const QString& caption,
                         const QString& text) = 0;
    // A question with Yes and No, and Cancel when withCancel is set.
    virtual PromptAnswer question(QWidget* owner, PromptIcon icon, const QString& caption,
                                  const QString& text, bool withCancel) = 0;
    virtual FileChoice openFile(QWidget* owner, const FileRequest& request) = 0;
    virtual FileChoice saveFile(QWidget* owner, const FileRequest& request) = 0;
    // The font dialog (screen fonts with effects) preset to a record. Returns the record
    // the dialog holds at its end: the chosen one after OK, the preset after Cancel.
    virtual LogFont chooseFont(QWidget* owner, const LogFont& preset) = 0;
    // The print dialog; true when the user chose to print with `printer` set up.
    virtual bool choosePrinter(QWidget* owner, QPrinter& printer) = 0;
    // Runs one of the program's own modal dialogs and returns its result code.
    virtual int execDialog(QDialog* dialog) = 0;
    // A tone of the given frequency and length (approximated by the platform's beep).
    virtual void beep(int hertz, int milliseconds) = 0;
};

// The prompts in use: the Qt implementation unless a test installed another.
Prompts& prompts();
// Installs a replacement (tests); nullptr returns to the Qt implementation.
void setPrompts(Prompts* replacement);
