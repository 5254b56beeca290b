#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QTextBrowser;

// The user guide, read inside the program: the page the build made, a line to find a word
// in it (Ctrl+F, then Enter or F3 for the next place, Shift+Enter or Shift+F3 for the one
// before), and Escape to close. Modeless and deleted on close, so the guide can stay open
// beside the window it explains.
class UserGuideWindow : public QDialog {
    Q_OBJECT

public:
    explicit UserGuideWindow(QWidget* parent = nullptr);

    // Shows the HTML page at the path, unless it is shown already (the reader keeps their
    // place when the guide is asked for again).
    void showPage(const QString& path);

    QTextBrowser* browser() const { return browser_; }

    // Selects the next (or previous) place of the text in the find line, going round at
    // the end; false, with "Not found" beside the line, when the page does not hold it.
    bool findText(bool backward = false);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTextBrowser* browser_;
    QLineEdit* findEdit_;
    QLabel* findStatus_;
};
