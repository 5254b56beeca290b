#pragma once

#include <QScrollArea>

class QCoreApplication;
class QWidget;

// A frameless scroll area that asks for all the room its contents want, so that it shows
// them whole wherever there is room, and scrolls only when the window had to be made
// smaller than that to fit the screen (a plain QScrollArea asks for at most 36 by 24 lines).
class ContentScrollArea : public QScrollArea {
    Q_OBJECT
public:
    explicit ContentScrollArea(QWidget* contents, QWidget* parent = nullptr);
    QSize sizeHint() const override;
};

// Makes `window` fit the available area of its screen (the screen less panels and docks):
// a window larger than that is made smaller, down to its minimum size, and one that
// reaches beyond an edge is moved back inside. With a large scale factor on a small
// screen a window would otherwise put its OK button off the screen.
void fitIntoScreen(QWidget* window);

// Calls fitIntoScreen for every window of the program as it is shown, dialogs and message
// boxes included, so that no window has to remember to.
void keepWindowsOnScreen(QCoreApplication* application);
