#pragma once

#include <QDialog>
#include <QPointer>

class CardStore;
class QAction;
class QLineEdit;
class QPushButton;

// "Choose a level": gathers the unknown cards of one level into the store's level
// selection. It ends with OK only when it found cards on the level; Cancel leaves the
// selection as an earlier choice left it.
class LevelChooserDialog : public QDialog {
    Q_OBJECT
public:
    // `levelInOrder` is the command that examines the selection; it is enabled when the
    // dialog ends with OK.
    LevelChooserDialog(CardStore& store, QAction* levelInOrder, QWidget* parent = nullptr);

    static constexpr int kHighestLevel = 10000;

public slots:
    void accept() override;

private:
    CardStore& store_;
    QPointer<QAction> levelInOrder_;
    QLineEdit* level_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};
