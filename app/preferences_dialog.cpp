#include "app/preferences_dialog.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

#include "platform/dialog_data.h"
#include "widgets/screen_fit.h"

namespace {

constexpr int kLowestMaxLevel = 0;
constexpr int kHighestMaxLevel = 100;
constexpr int kDefaultMaxLevel = 5;

}  // namespace

PreferencesDialog::PreferencesDialog(Preferences& preferences, QWidget* parent)
    : QDialog(parent), preferences_(preferences) {
    setObjectName(QStringLiteral("preferencesDialog"));
    setWindowTitle(tr("Preferences"));

    auto* maxLevelLabel =
        new QLabel(tr("MAX LEVEL: Enter the number of times that a word must be answered "
                      "correctly before it can be considered known"),
                   this);
    maxLevelLabel->setWordWrap(true);
    maxLevelEdit_ = new QLineEdit(this);
    maxLevelEdit_->setObjectName(QStringLiteral("maxLevelEdit"));
    maxLevelLabel->setBuddy(maxLevelEdit_);
    maxLevelEdit_->setAccessibleName(maxLevelLabel->text());

    showAddInfoCheck_ =
        new QCheckBox(tr("Show additional information during an examination"), this);
    showAddInfoCheck_->setObjectName(QStringLiteral("showAddInfoCheck"));

    auto* ruleGroup = new QGroupBox(this);
    ruleGroup->setAccessibleName(tr("Order of the meanings"));
    strictOrderRadio_ = new QRadioButton(
        tr("Meanings (answers) have to be entered in the right order."), ruleGroup);
    strictOrderRadio_->setObjectName(QStringLiteral("strictOrderRadio"));
    allWordsRadio_ =
        new QRadioButton(tr("The meanings do not need to be entered in the right order, but you "
                            "have to enter all words."),
                         ruleGroup);
    allWordsRadio_->setObjectName(QStringLiteral("allWordsRadio"));
    someWordsRadio_ =
        new QRadioButton(tr("You do not need to enter all meanings of a word"), ruleGroup);
    someWordsRadio_->setObjectName(QStringLiteral("someWordsRadio"));
    auto* ruleLayout = new QVBoxLayout(ruleGroup);
    ruleLayout->addWidget(strictOrderRadio_);
    ruleLayout->addWidget(allWordsRadio_);
    ruleLayout->addWidget(someWordsRadio_);

    ignoreCaseCheck_ = new QCheckBox(tr("Ignore case"), this);
    ignoreCaseCheck_->setObjectName(QStringLiteral("ignoreCaseCheck"));
    ignoreCaseCheck_->setToolTip(
        tr("An answer that differs only in capital letters counts as right."));
    ignoreAccentsCheck_ = new QCheckBox(tr("Ignore accents"), this);
    ignoreAccentsCheck_->setObjectName(QStringLiteral("ignoreAccentsCheck"));
    ignoreAccentsCheck_->setToolTip(
        tr("An answer that differs only in accents counts as right: cafe for "
           "café, Strasse for Straße."));

    auto* speechGroup = new QGroupBox(tr("Speech"), this);
    speechGroup->setObjectName(QStringLiteral("speechGroup"));
    speechControlsCheck_ =
        new QCheckBox(tr("Speak buttons for the question and the answer (F7, F8)"), speechGroup);
    speechControlsCheck_->setObjectName(QStringLiteral("speechControlsCheck"));
    automaticSpeechCheck_ = new QCheckBox(tr("Speak by itself in an examination:"), speechGroup);
    automaticSpeechCheck_->setObjectName(QStringLiteral("automaticSpeechCheck"));
    automaticSpeechCheck_->setToolTip(
        tr("Switch this off while a screen reader speaks for you, so that two voices do not "
           "talk at once."));
    speakQuestionCheck_ = new QCheckBox(tr("the question, when a card is shown"), speechGroup);
    speakQuestionCheck_->setObjectName(QStringLiteral("speakQuestionCheck"));
    speakAnswerCheck_ = new QCheckBox(tr("the right answer, after it is judged"), speechGroup);
    speakAnswerCheck_->setObjectName(QStringLiteral("speakAnswerCheck"));
    speechRateSlider_ = new QSlider(Qt::Horizontal, speechGroup);
    speechRateSlider_->setObjectName(QStringLiteral("speechRateSlider"));
    speechRateSlider_->setRange(Preferences::kSlowestSpeech, Preferences::kFastestSpeech);
    speechRateSlider_->setPageStep(2);
    speechVolumeSlider_ = new QSlider(Qt::Horizontal, speechGroup);
    speechVolumeSlider_->setObjectName(QStringLiteral("speechVolumeSlider"));
    speechVolumeSlider_->setRange(0, 100);
    speechVolumeSlider_->setPageStep(10);
    auto* rateLabel = new QLabel(tr("Spee&d:"), speechGroup);
    rateLabel->setBuddy(speechRateSlider_);
    speechRateSlider_->setAccessibleName(tr("Speed of speech"));
    auto* volumeLabel = new QLabel(tr("&Volume:"), speechGroup);
    volumeLabel->setBuddy(speechVolumeSlider_);
    speechVolumeSlider_->setAccessibleName(tr("Volume of speech"));
    auto* automaticLayout = new QVBoxLayout;
    automaticLayout->setContentsMargins(20, 0, 0, 0);
    automaticLayout->addWidget(speakQuestionCheck_);
    automaticLayout->addWidget(speakAnswerCheck_);
    auto* sliders = new QFormLayout;
    sliders->addRow(rateLabel, speechRateSlider_);
    sliders->addRow(volumeLabel, speechVolumeSlider_);
    auto* speechLayout = new QVBoxLayout(speechGroup);
    speechLayout->addWidget(speechControlsCheck_);
    speechLayout->addWidget(automaticSpeechCheck_);
    speechLayout->addLayout(automaticLayout);
    speechLayout->addLayout(sliders);
    connect(automaticSpeechCheck_, &QCheckBox::toggled, this,
            &PreferencesDialog::showAutomaticSpeechState);

    auto* dueGroup = new QGroupBox(tr("Due cards"), this);
    dueGroup->setObjectName(QStringLiteral("dueCardsGroup"));
    const auto spinBox = [dueGroup](const char* name, int low, int high, const QString& access) {
        auto* box = new QSpinBox(dueGroup);
        box->setObjectName(QString::fromLatin1(name));
        box->setRange(low, high);
        box->setAccessibleName(access);
        // The box's own line edit is what a screen reader lands on.
        if (auto* edit = box->findChild<QLineEdit*>())
            edit->setAccessibleName(access);
        return box;
    };
    retentionBox_ = spinBox("desiredRetentionBox", Preferences::kLowestRetention,
                            Preferences::kHighestRetention, tr("Desired retention in percent"));
    retentionBox_->setSuffix(QStringLiteral(" %"));
    retentionBox_->setToolTip(
        tr("A card falls due when the chance that you still know it "
           "drops below this. Higher means more reviews."));
    maximumIntervalBox_ = spinBox("maximumIntervalBox", 1, Preferences::kLongestInterval,
                                  tr("Longest interval in days"));
    newCardsBox_ =
        spinBox("newCardsPerDayBox", 0, Preferences::kMostNewCards, tr("New cards per day"));
    dailyGoalBox_ =
        spinBox("dailyGoalBox", 0, Preferences::kMostNewCards, tr("Daily goal in answers"));
    dailyGoalBox_->setSpecialValueText(tr("none"));
    auto* dueLayout = new QFormLayout(dueGroup);
    const auto addRow = [&](const QString& text, QSpinBox* box) {
        auto* label = new QLabel(text, dueGroup);
        label->setBuddy(box);
        dueLayout->addRow(label, box);
    };
    addRow(tr("Desired &retention:"), retentionBox_);
    addRow(tr("Longest &interval (days):"), maximumIntervalBox_);
    addRow(tr("&New cards per day:"), newCardsBox_);
    addRow(tr("Daily &goal (answers):"), dailyGoalBox_);

    okButton_ = new QPushButton(tr("OK"), this);
    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    cancelButton_ = new QPushButton(tr("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    defaultsButton_ = new QPushButton(tr("Default Values"), this);
    defaultsButton_->setObjectName(QStringLiteral("defaultValuesButton"));
    // The stored program path is only carried along; there is nothing to set yet, so the
    // button is shown but unavailable rather than silently doing nothing.
    pathButton_ = new QPushButton(tr("Kartomatrix Path"), this);
    pathButton_->setObjectName(QStringLiteral("applicationPathButton"));
    pathButton_->setEnabled(false);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton_);
    buttons->addWidget(cancelButton_);
    buttons->addSpacing(12);
    buttons->addWidget(defaultsButton_);
    buttons->addWidget(pathButton_);
    buttons->addStretch();

    // The fields scroll when the screen is too small for them (a large scale factor); the
    // buttons stay in view.
    auto* fieldsArea = new QWidget;
    auto* fields = new QVBoxLayout(fieldsArea);
    fields->setContentsMargins(0, 0, 0, 0);
    fields->addWidget(maxLevelLabel);
    fields->addWidget(maxLevelEdit_);
    fields->addWidget(showAddInfoCheck_);
    fields->addWidget(ruleGroup);
    fields->addWidget(ignoreCaseCheck_);
    fields->addWidget(ignoreAccentsCheck_);
    fields->addWidget(speechGroup);
    fields->addWidget(dueGroup);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(new ContentScrollArea(fieldsArea, this), 1);
    layout->addLayout(buttons);

    connect(okButton_, &QPushButton::clicked, this, &PreferencesDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &PreferencesDialog::reject);
    connect(defaultsButton_, &QPushButton::clicked, this, &PreferencesDialog::restoreDefaults);

    showMaxLevel();
    showCheckBoxAndRule();
    showTolerances(preferences_);
    showSpeech(preferences_);
    showDueCards(preferences_);
}

void PreferencesDialog::showDueCards(const Preferences& from) {
    retentionBox_->setValue(from.desiredRetention);
    maximumIntervalBox_->setValue(from.maximumInterval);
    newCardsBox_->setValue(from.newCardsPerDay);
    dailyGoalBox_->setValue(from.dailyGoal);
}

void PreferencesDialog::showEvent(QShowEvent* event) {
    // Only when the program shows the dialog; a dialog restored by the window system keeps
    // what the user has typed.
    if (!event->spontaneous()) {
        showMaxLevel();
        showCheckBoxAndRule();
        showTolerances(preferences_);
        showSpeech(preferences_);
    }
    QDialog::showEvent(event);
}

void PreferencesDialog::showMaxLevel() {
    maxLevelEdit_->setText(QString::number(preferences_.maxLevel));
}

void PreferencesDialog::showCheckBoxAndRule() {
    showAddInfoCheck_->setChecked(preferences_.showAddInfo == 1);
    if (preferences_.strictOrder)
        strictOrderRadio_->setChecked(true);
    else if (preferences_.allWords)
        allWordsRadio_->setChecked(true);
    else
        someWordsRadio_->setChecked(true);
}

void PreferencesDialog::showTolerances(const Preferences& from) {
    ignoreCaseCheck_->setChecked(from.ignoreCase);
    ignoreAccentsCheck_->setChecked(from.ignoreAccents);
}

void PreferencesDialog::showSpeech(const Preferences& from) {
    speechControlsCheck_->setChecked(from.speechControls);
    automaticSpeechCheck_->setChecked(from.automaticSpeech);
    speakQuestionCheck_->setChecked(from.speakQuestion);
    speakAnswerCheck_->setChecked(from.speakAnswer);
    speechRateSlider_->setValue(from.speechRate);
    speechVolumeSlider_->setValue(from.speechVolume);
    showAutomaticSpeechState();
}

// The two automatic choices keep their ticks while automatic speech is off, greyed.
void PreferencesDialog::showAutomaticSpeechState() {
    speakQuestionCheck_->setEnabled(automaticSpeechCheck_->isChecked());
    speakAnswerCheck_->setEnabled(automaticSpeechCheck_->isChecked());
}

void PreferencesDialog::restoreDefaults() {
    maxLevelEdit_->setText(QString::number(kDefaultMaxLevel));
    const Preferences defaults;
    preferences_.showAddInfo = defaults.showAddInfo;
    preferences_.allWords = defaults.allWords;
    preferences_.strictOrder = defaults.strictOrder;
    showCheckBoxAndRule();
    showTolerances(defaults);
    showSpeech(defaults);
    showDueCards(defaults);
}

void PreferencesDialog::accept() {
    // A refused max level takes nothing from the dialog: the user corrects the field and
    // presses OK again, and only then is anything changed.
    const std::optional<int> maxLevel =
        readIntegerField(maxLevelEdit_, kLowestMaxLevel, kHighestMaxLevel);
    if (!maxLevel)
        return;

    // 100 passes the check but keeps the current max level, as it always has here.
    if (*maxLevel < kHighestMaxLevel)
        preferences_.maxLevel = *maxLevel;
    preferences_.showAddInfo = showAddInfoCheck_->isChecked() ? 1 : 0;
    if (strictOrderRadio_->isChecked()) {
        preferences_.strictOrder = true;
    } else if (allWordsRadio_->isChecked()) {
        preferences_.strictOrder = false;
        preferences_.allWords = true;
    } else {
        preferences_.strictOrder = false;
        preferences_.allWords = false;
    }
    preferences_.ignoreCase = ignoreCaseCheck_->isChecked();
    preferences_.ignoreAccents = ignoreAccentsCheck_->isChecked();
    preferences_.speechControls = speechControlsCheck_->isChecked();
    preferences_.automaticSpeech = automaticSpeechCheck_->isChecked();
    preferences_.speakQuestion = speakQuestionCheck_->isChecked();
    preferences_.speakAnswer = speakAnswerCheck_->isChecked();
    preferences_.speechRate = speechRateSlider_->value();
    preferences_.speechVolume = speechVolumeSlider_->value();
    preferences_.desiredRetention = retentionBox_->value();
    preferences_.maximumInterval = maximumIntervalBox_->value();
    preferences_.newCardsPerDay = newCardsBox_->value();
    preferences_.dailyGoal = dailyGoalBox_->value();
    QDialog::accept();
}
