#pragma once

#include <QWidget>

#include "core/anki_import.h"

class QComboBox;
class QLabel;
class QTableWidget;

// The part of "Import Cards" that an Anki package needs: its note types with their fields
// as columns and which field is the question and which the answer, its decks with the
// lesson each becomes (a name too long for a lesson shown cut, and open to a shorter one),
// whether tags go to the additional information, and the pictures and sounds left out.
class AnkiImportPanel : public QWidget {
    Q_OBJECT
public:
    // `anki` must outlive the panel.
    AnkiImportPanel(const AnkiImport& anki, QWidget* parent);

    const AnkiImportChoices& choices() const { return choices_; }

    // How many notes of the chosen note type the field table shows.
    static constexpr int kSampleNotes = 5;

signals:
    void choicesChanged(const AnkiImportChoices& choices);

private:
    void showNoteType();
    void takeFields();
    void takeLesson(int row);

    const AnkiImport& anki_;
    AnkiImportChoices choices_;
    QComboBox* noteType_;
    QTableWidget* fields_;
    QComboBox* question_;
    QComboBox* answer_;
    QTableWidget* decks_;
    QComboBox* tags_;
};
