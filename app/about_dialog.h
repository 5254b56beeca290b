#pragma once

#include <QDialog>

// "About Kartomatrix": the icon, one line of text and OK.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};
