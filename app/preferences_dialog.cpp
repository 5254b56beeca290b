#include "app/preferences_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
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

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(new ContentScrollArea(fieldsArea, this), 1);
    layout->addLayout(buttons);

    connect(okButton_, &QPushButton::clicked, this, &PreferencesDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &PreferencesDialog::reject);
    connect(defaultsButton_, &QPushButton::clicked, this, &PreferencesDialog::restoreDefaults);

    showMaxLevel();
    showCheckBoxAndRule();
    showTolerances(preferences_);
}

void PreferencesDialog::showEvent(QShowEvent* event) {
    // Only when the program shows the dialog; a dialog restored by the window system keeps
    // what the user has typed.
    if (!event->spontaneous()) {
        showMaxLevel();
        showCheckBoxAndRule();
        showTolerances(preferences_);
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

void PreferencesDialog::restoreDefaults() {
    maxLevelEdit_->setText(QString::number(kDefaultMaxLevel));
    const Preferences defaults;
    preferences_.showAddInfo = defaults.showAddInfo;
    preferences_.allWords = defaults.allWords;
    preferences_.strictOrder = defaults.strictOrder;
    showCheckBoxAndRule();
    showTolerances(defaults);
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
    QDialog::accept();
}
