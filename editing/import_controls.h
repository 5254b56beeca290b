#pragma once

#include <QAbstractButton>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QString>
#include <QTableView>
#include <QWidget>

// Controls shared by the import window and its Anki panel.

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

// A table of the import windows: Tab leaves it, so that the keyboard reaches the controls
// below it; no row numbers; the last column takes the room left.
inline void setUpImportTable(QTableView* table) {
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    if (auto* corner = table->findChild<QAbstractButton*>())
        corner->setAccessibleName(QCoreApplication::translate("ImportDialog", "Select all rows"));
}
