#pragma once

#include <QBoxLayout>
#include <QLabel>
#include <QString>
#include <QWidget>

// A label for a control, with the control as its buddy and its text, without the
// mnemonic, as the control's accessible name.
inline QLabel* labelFor(const QString& text, QWidget* control, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(control);
    control->setAccessibleName(QString(text).remove(QLatin1Char('&')).remove(QLatin1Char(':')));
    return label;
}

// The control behind its label in a row (or column) of controls.
inline void addLabelled(QBoxLayout* layout, const QString& text, QWidget* control,
                        QWidget* parent) {
    layout->addWidget(labelFor(text, control, parent));
    layout->addWidget(control);
}
