#pragma once

#include <QDialog>
#include <QList>
#include <QLocale>
#include <optional>

#include "core/list_languages.h"

class QComboBox;
class QLabel;

// "Languages of the List": the language the questions and the answers are spoken in. Each
// box offers the languages there are voices for, with what the cards suggest (the guess)
// and what was chosen before even where no voice speaks them. Without voices (speech is
// off) it offers a list of common languages, so that the choice can be made beforehand.
class ListLanguagesDialog : public QDialog {
    Q_OBJECT
public:
    // Shows `current` where a side has a language, else the guess.
    ListLanguagesDialog(const ListLanguages& current, const ListLanguages& guess,
                        const QList<QLocale>& voices, QWidget* parent = nullptr);

    ListLanguages chosen() const;
    // Offers these voices instead, keeping what is chosen (the speech engine answers after
    // the dialog is shown).
    void setVoices(const QList<QLocale>& voices);
    // A line under the boxes, such as why speech is off; empty hides it.
    void setNote(const QString& note);

private:
    void fill(QComboBox* box, const std::string& selected, const std::string& guessed);

    ListLanguages guess_;
    QList<QLocale> voices_;
    QComboBox* questionBox_;
    QComboBox* answerBox_;
    QLabel* guessLabel_;
    QLabel* noteLabel_;
};

// Runs the dialog through the prompts with the voices of the program's speaker; the choice,
// or none when it was cancelled.
std::optional<ListLanguages> chooseListLanguages(QWidget* parent, const ListLanguages& current,
                                                 const ListLanguages& guess);
