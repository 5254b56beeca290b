#pragma once

#include <QDialog>

class CommandBoard;
class ListSession;
class QListWidget;
class QPushButton;

// "Choose a lesson...": a modeless window listing the lessons of the open list. OK
// gathers the unknown cards of the chosen lessons into the store's lesson selection,
// switches on the menu items that examine it and starts the examination that suits the
// number of cards. Every use of the menu item opens another chooser; choosers are not in
// the window registry, so Close List leaves them open.
class LessonChooser : public QDialog {
    Q_OBJECT
public:
    // Makes and shows a chooser; it deletes itself when it closes.
    static LessonChooser* open(ListSession& session, CommandBoard& board, QWidget* parent);

    // The lessons in list order, the last one met at the top.
    QStringList lessons() const;

public slots:
    void accept() override;

private:
    LessonChooser(ListSession& session, CommandBoard& board, QWidget* parent);
    void fillLessons();

    ListSession& session_;
    CommandBoard& board_;
    QListWidget* lessonList_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};
