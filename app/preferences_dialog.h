#pragma once

#include <QDialog>

#include "core/preferences.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;

// The preferences dialog. It works on the process's Preferences record directly: OK takes
// the fields into it, "Default Values" changes the check box and the answer-order rule in
// it at once (Cancel does not take that back), and the max level changes only through OK.
// Every time the dialog is shown its controls are set from the record. The two boxes that
// let case and accents pass are taken only through OK; "Default Values" clears them on
// screen, and Cancel leaves them as they were. The speech settings behave like those two.
class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesDialog(Preferences& preferences, QWidget* parent = nullptr);

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void restoreDefaults();
    void showMaxLevel();
    void showCheckBoxAndRule();
    void showTolerances(const Preferences& from);
    void showSpeech(const Preferences& from);
    void showAutomaticSpeechState();
    void showDueCards(const Preferences& from);

    Preferences& preferences_;
    QLineEdit* maxLevelEdit_;
    QCheckBox* showAddInfoCheck_;
    QRadioButton* strictOrderRadio_;
    QRadioButton* allWordsRadio_;
    QRadioButton* someWordsRadio_;
    QCheckBox* ignoreCaseCheck_;
    QCheckBox* ignoreAccentsCheck_;
    QCheckBox* speechControlsCheck_;
    QCheckBox* automaticSpeechCheck_;
    QCheckBox* speakQuestionCheck_;
    QCheckBox* speakAnswerCheck_;
    QSlider* speechRateSlider_;
    QSlider* speechVolumeSlider_;
    QSpinBox* retentionBox_;
    QSpinBox* maximumIntervalBox_;
    QSpinBox* newCardsBox_;
    QSpinBox* dailyGoalBox_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
    QPushButton* defaultsButton_;
    QPushButton* pathButton_;
};
