#pragma once

#include <QDialog>
#include <QPointer>

#include "core/statistics.h"

#include "session/window_registry.h"

class ListSession;
class QLabel;
class QLineEdit;
class QVBoxLayout;
class QPushButton;
class StatisticsWidget;

// "Statistics": a modeless window with the level chart, the learning-success chart and
// ten figures about the open list. It recomputes everything when it opens, on "Refresh"
// and whenever it becomes the active window, so that it follows examinations running
// beside it.
//
// While it is open, the window registry greys "Statistics..."; Close List closes it.
class StatisticsDialog : public QDialog {
    Q_OBJECT
public:
    // Makes and shows the window; it deletes itself when it closes.
    static StatisticsDialog* open(ListSession& session, WindowRegistry& windows, QWidget* parent);

    // Recomputes the figures from the store and redraws the whole window.
    void refresh();

protected:
    void changeEvent(QEvent* event) override;

private:
    StatisticsDialog(ListSession& session, WindowRegistry& windows, QWidget* parent);

    void addBackwardFigure(QVBoxLayout* lower);
    void showBackwardFigure();

    ListSession& session_;
    WindowRegistry& windows_;

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
    QLabel* backwardLabel_ = nullptr;
    QLineEdit* backward_ = nullptr;
};
