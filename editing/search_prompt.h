#pragma once

#include <QDialog>
#include <QString>

#include "core/log_font.h"

class FontEditBox;
class QLabel;
class QPushButton;

// "Search for...": asks for one line of text to search with. Dismissing it keeps the text
// it opened with, and callers search with that as well, so Escape repeats the last search.
class SearchPrompt : public QDialog {
    Q_OBJECT
public:
    // `font`, when given, is shown in the box at the character height of the editing
    // windows; the record is read here and not kept.
    SearchPrompt(const QString& initialText, const QString& prompt, const LogFont* font,
                 QWidget* parent = nullptr);

    // Runs the prompt modally and returns the text to search for.
    static QString run(QWidget* parent, const QString& initialText, const QString& prompt,
                       const LogFont* font = nullptr);

    QString searchText() const { return searchText_; }

    // The box takes no more than this many characters.
    static constexpr int kTextLimit = 59;

private:
    void search();

    QString searchText_;
    FontEditBox* box_ = nullptr;
    QPushButton* searchButton_ = nullptr;
};
