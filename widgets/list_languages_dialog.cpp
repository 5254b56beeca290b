#include "widgets/list_languages_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/prompts.h"
#include "platform/speaker.h"

namespace {

// Offered while there are no voices to take the languages from.
constexpr const char* kCommonLanguages[] = {"ar", "cs", "da", "de", "el", "en", "es", "fi",
                                            "fr", "he", "hi", "hu", "it", "ja", "ko", "nl",
                                            "no", "pl", "pt", "ru", "sv", "tr", "uk", "zh"};

QString tagOf(const QLocale& locale) {
    return locale.bcp47Name();
}

QString languageName(const QString& tag) {
    const QLocale locale(tag);
    if (locale.language() == QLocale::C)
        return tag;
    // The English name, which Qt knows for every language, and the language's own name,
    // which a learner recognises whatever the program's language.
    QString name = QLocale::languageToString(locale.language());
    if (locale.territory() != QLocale(locale.language()).territory() && tag.contains('-'))
        name += QStringLiteral(", %1").arg(QLocale::territoryToString(locale.territory()));
    const QString native = locale.nativeLanguageName();
    if (!native.isEmpty() && !native.contains(name, Qt::CaseInsensitive) &&
        !name.contains(native, Qt::CaseInsensitive))
        name += QStringLiteral(" (%1)").arg(native);
    return name;
}

}  // namespace

ListLanguagesDialog::ListLanguagesDialog(const ListLanguages& current, const ListLanguages& guess,
                                         const QList<QLocale>& voices, QWidget* parent)
    : QDialog(parent), guess_(guess), voices_(voices) {
    setObjectName(QStringLiteral("listLanguagesDialog"));
    setWindowTitle(tr("Languages of the List"));

    auto* intro = new QLabel(
        tr("Questions and answers are spoken in these languages. The proposal comes from the "
           "cards' letters and commonest words."),
        this);
    intro->setWordWrap(true);
    questionBox_ = new QComboBox(this);
    questionBox_->setObjectName(QStringLiteral("questionLanguageBox"));
    answerBox_ = new QComboBox(this);
    answerBox_->setObjectName(QStringLiteral("answerLanguageBox"));
    auto* questionLabel = new QLabel(tr("&Questions:"), this);
    questionLabel->setBuddy(questionBox_);
    questionBox_->setAccessibleName(tr("Language of the questions"));
    auto* answerLabel = new QLabel(tr("&Answers:"), this);
    answerLabel->setBuddy(answerBox_);
    answerBox_->setAccessibleName(tr("Language of the answers"));

    auto guessText = [](const std::string& tag) {
        return tag.empty() ? tr("no guess") : languageName(QString::fromStdString(tag));
    };
    guessLabel_ = new QLabel(tr("Guessed from the cards: questions %1, answers %2")
                                 .arg(guessText(guess.question), guessText(guess.answer)),
                             this);
    guessLabel_->setObjectName(QStringLiteral("guessLabel"));
    guessLabel_->setWordWrap(true);
    noteLabel_ = new QLabel(this);
    noteLabel_->setObjectName(QStringLiteral("noteLabel"));
    noteLabel_->setWordWrap(true);
    noteLabel_->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Ok)->setText(tr("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(questionLabel, questionBox_);
    form->addRow(answerLabel, answerBox_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(guessLabel_);
    layout->addWidget(noteLabel_);
    layout->addWidget(buttons);

    fill(questionBox_, current.question.empty() ? guess.question : current.question,
         guess.question);
    fill(answerBox_, current.answer.empty() ? guess.answer : current.answer, guess.answer);
}

void ListLanguagesDialog::fill(QComboBox* box, const std::string& selected,
                               const std::string& guessed) {
    QStringList tags;
    for (const QLocale& voice : std::as_const(voices_))
        tags << tagOf(voice);
    if (voices_.isEmpty())
        for (const char* tag : kCommonLanguages)
            tags << QString::fromLatin1(tag);
    for (const std::string& extra : {selected, guessed})
        if (!extra.empty())
            tags << QString::fromStdString(extra);
    tags.removeDuplicates();
    std::sort(tags.begin(), tags.end(), [](const QString& a, const QString& b) {
        return languageName(a).localeAwareCompare(languageName(b)) < 0;
    });

    box->clear();
    box->addItem(tr("(none)"), QString());
    for (const QString& tag : std::as_const(tags)) {
        const bool voiced = voices_.isEmpty() ||
                            std::any_of(voices_.begin(), voices_.end(),
                                        [&](const QLocale& voice) { return tagOf(voice) == tag; });
        box->addItem(voiced ? languageName(tag) : tr("%1 (no voice)").arg(languageName(tag)), tag);
    }
    box->setCurrentIndex(std::max(0, box->findData(QString::fromStdString(selected))));
}

ListLanguages ListLanguagesDialog::chosen() const {
    return {questionBox_->currentData().toString().toStdString(),
            answerBox_->currentData().toString().toStdString()};
}

void ListLanguagesDialog::setVoices(const QList<QLocale>& voices) {
    const ListLanguages kept = chosen();
    voices_ = voices;
    fill(questionBox_, kept.question, guess_.question);
    fill(answerBox_, kept.answer, guess_.answer);
}

void ListLanguagesDialog::setNote(const QString& note) {
    noteLabel_->setText(note);
    noteLabel_->setVisible(!note.isEmpty());
}

std::optional<ListLanguages> chooseListLanguages(QWidget* parent, const ListLanguages& current,
                                                 const ListLanguages& guess) {
    Speaker& speaker = Speaker::shared();
    ListLanguagesDialog dialog(current, guess, speaker.languages(), parent);
    auto showSpeaker = [&] {
        if (speaker.status() == Speaker::Status::Available)
            dialog.setVoices(speaker.languages());
        dialog.setNote(speaker.unavailableReason());
    };
    showSpeaker();
    QObject::connect(&speaker, &Speaker::statusChanged, &dialog, showSpeaker);
    if (prompts().execDialog(&dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosen();
}
