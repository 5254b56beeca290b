#pragma once

#include <QDialog>
#include <QPointer>

#include "core/statistics.h"

#include "session/command_board.h"

class ListSession;
class QLineEdit;
class QPushButton;
class StatisticsWidget;

// "Statistics": a modeless window with the level chart, the learning-success chart and
// ten figures about the open list. It recomputes everything when it opens, on "Refresh"
// and whenever it becomes the active window, so that it follows examinations running
// beside it.
//
// While it is open, "Statistics..." is greyed and the window is in the open-window list.
// It gives both back once, when it closes or, if Close List destroys it directly, when it
// is destroyed.
class StatisticsDialog : public QDialog {
    Q_OBJECT
public:
    // Makes and shows the window; it deletes itself when it closes.
    static StatisticsDialog* open(ListSession& session, CommandBoard& board, QWidget* parent);
    ~StatisticsDialog() override;

    // Recomputes the figures from the store and redraws the whole window.
    void refresh();

public slots:
    void done(int result) override;

protected:
    void changeEvent(QEvent* event) override;

private:
    StatisticsDialog(ListSession& session, CommandBoard& board, QWidget* parent);
    void giveBack();

    ListSession& session_;
    CommandHold hold_;

    StatisticsWidget* charts_ = nullptr;
    QLineEdit* numberOfCards_ = nullptr;
    QLineEdit* knownCards_ = nullptr;
    QLineEdit* wrongCards_ = nullptr;
    QLineEdit* averagelyAsked_ = nullptr;
    QLineEdit* totalAsked_ = nullptr;
    QLineEdit* timePerCard_ = nullptr;
    QLineEdit* timeTotal_ = nullptr;
    QLineEdit* percentWrong_ = nullptr;
    QLineEdit* wrongPerAnswer_ = nullptr;
    QLineEdit* remaining_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* refreshButton_ = nullptr;
};
