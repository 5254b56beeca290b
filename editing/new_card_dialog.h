#pragma once

#include <QDialog>
#include <QPointer>

#include "session/window_registry.h"

class FontEditBox;
class ListSession;
class QLineEdit;
class QPushButton;

// "New vocabulary card": a modeless window in which the user types card after card into
// the open list. Each "Enter this word" makes one card; question, answer and additional
// information are emptied for the next one and the lesson stays. While it is open the
// main window's "New Card" button and "New Cards..." are off, and it keeps the main
// window's menus and counters in step with the growing list.
class NewCardDialog : public QDialog {
    Q_OBJECT
public:
    NewCardDialog(ListSession& session, CommandBoard& board, WindowRegistry& windows,
                  QWidget* parent);

    // Validates the boxes and creates the card ("Enter this word").
    void enterCard();

private:
    ListSession& session_;
    FontEditBox* question_;
    FontEditBox* answer_;
    QLineEdit* addInfo_;
    QLineEdit* lesson_;
    QPushButton* enterButton_;
    QPushButton* closeButton_;
};
