#include "platform/string_table.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>
#include <iterator>

#include "core/message_ids.h"

namespace {

struct Entry {
    int id;
    const char* text;
};

// Sorted by number. Numbers that are not listed have no text.
constexpr Entry kStrings[] = {
    {Msg::AboutItem, QT_TRANSLATE_NOOP("StringTable", "About Kartomatrix for Windows")},
    {Msg::NoCardsOpened,
     QT_TRANSLATE_NOOP("StringTable",
                       "You have not opened any cards yet. Please try 'open' or 'new list'")},
    {Msg::SystematicTooFew,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "The systematic examination has been written for more than 10 cards. It makes sense if "
         "you have more than 20 cards... But there are less than 10 cards in your list.")},
    {Msg::OpenFailed,
     QT_TRANSLATE_NOOP("StringTable",
                       "An error occured while opening a file. No vocabulary has been read.")},
    {Msg::RandomTooFew, QT_TRANSLATE_NOOP("StringTable", "Too few words for a random examination")},
    {Msg::NoCardsOnLevel,
     QT_TRANSLATE_NOOP("StringTable", "Sorry: there are no cards on this level.")},
    {Msg::NoCardsOfLesson,
     QT_TRANSLATE_NOOP("StringTable", "Sorry: There are no cards of this lesson.")},
    {Msg::AnswerTooLong,
     QT_TRANSLATE_NOOP("StringTable",
                       "Sorry, your answer cannot be added because it is too long.")},
    {Msg::OldFormat,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Du benutzt ein altes, nicht kompatibles Kartomatrix-Format! Nimm das Programm, mit "
         "welchem Du das Dokument erzeugt hast, und exportiere es dort. Anschliessend solltest Du "
         "es problemlos einlesen koennen.")},
    {Msg::NoMemory, QT_TRANSLATE_NOOP("StringTable", "No more memory. Bye!")},
    {Msg::ChooseRadioButton, QT_TRANSLATE_NOOP("StringTable", "Please choose a radio button.")},
    {Msg::EmptyQuestionOrAnswer,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "Your answer does not make sense: The question or the anser do not contain any words.")},
    {Msg::CardNotFound, QT_TRANSLATE_NOOP("StringTable", "The card was not found.")},
    {Msg::NoCardChosen,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "There is no card chosen. Before you can delete a card, you have to search for it.")},
    {Msg::SaveFailed, QT_TRANSLATE_NOOP("StringTable", "There was an error while saving cards.")},
    {Msg::ReportFailed,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "An error occurred, but its message could not be found. Please report this error and "
         "describe what you were doing when it happened.")},
    {Msg::EndOfList, QT_TRANSLATE_NOOP("StringTable", "You reached the end of the list.")},
    {Msg::CautionCaption, QT_TRANSLATE_NOOP("StringTable", "Caution:")},
    {Msg::SaveBeforeClose,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "You have entered new cards or you have modified some words. Do you want to save them "
         "before you close the list?")},
    {Msg::PrinterContext,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "There was an error while building a 'Device Context'. Check your printer/driver.")},
    {Msg::PrinterPage,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "There was an error while beginning a new page. Check: memory, disk space, printer and "
         "printer driver.")},
    {Msg::PictureFailed,
     QT_TRANSLATE_NOOP("StringTable", "There was an error while opening a picture.")},
    {Msg::NoCardToModify,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "There is no card selected to modify. Please choose 'close' or 'search ...'")},
    {Msg::DebugError, QT_TRANSLATE_NOOP("StringTable", "DEBUG: Fehler")},
    {Msg::ReallyDelete,
     QT_TRANSLATE_NOOP("StringTable",
                       "You are trying to delete a card. Do you really want to delete it?")},
    {Msg::ColumnQuestion, QT_TRANSLATE_NOOP("StringTable", "Question")},
    {Msg::ColumnAnswer, QT_TRANSLATE_NOOP("StringTable", "Answer")},
    {Msg::ColumnAddInfo, QT_TRANSLATE_NOOP("StringTable", "Add. Information")},
    {Msg::ColumnLesson, QT_TRANSLATE_NOOP("StringTable", "Lesson")},
    {Msg::ColumnId, QT_TRANSLATE_NOOP("StringTable", "id")},
    {Msg::ColumnLevel, QT_TRANSLATE_NOOP("StringTable", "Level")},
    {Msg::CaptionInOrder, QT_TRANSLATE_NOOP("StringTable", "Examination in order")},
    {Msg::CaptionWrongWords, QT_TRANSLATE_NOOP("StringTable", "Examination of the wrong words")},
    {Msg::CaptionLevel, QT_TRANSLATE_NOOP("StringTable", "Examination in order (Level)")},
    {Msg::CaptionLessonInOrder, QT_TRANSLATE_NOOP("StringTable", "Examination in order (Lesson)")},
    {Msg::CaptionKnownWords,
     QT_TRANSLATE_NOOP("StringTable", "Examination in order (known words)")},
    {Msg::CaptionRandom, QT_TRANSLATE_NOOP("StringTable", "Examination in random order")},
    {Msg::CaptionLessonRandom,
     QT_TRANSLATE_NOOP("StringTable", "Examination in random order (Lesson)")},
    {Msg::CaptionSystematic, QT_TRANSLATE_NOOP("StringTable", "Systematic examination")},
    {Msg::CaptionLessonSystematic,
     QT_TRANSLATE_NOOP("StringTable", "Systematic examination (Lesson)")},
    {Msg::NonexistentDialog,
     QT_TRANSLATE_NOOP("StringTable",
                       "There was an attempt to delete a nonexistant dialog. Bye...")},
    {Msg::OpenTitle, QT_TRANSLATE_NOOP("StringTable", "Open a list:")},
    {Msg::ErrorCaption, QT_TRANSLATE_NOOP("StringTable", "An error occurred")},
    {Msg::NoticeCaption, QT_TRANSLATE_NOOP("StringTable", "Message:")},
    {Msg::SearchQuestion, QT_TRANSLATE_NOOP("StringTable", "Please enter the question to search.")},
    {Msg::SearchAnswer, QT_TRANSLATE_NOOP("StringTable", "Please enter the answer to search.")},
    {Msg::SearchId,
     QT_TRANSLATE_NOOP("StringTable", "Please enter the ID (card number) to search.")},
    {Msg::SaveAsTitle, QT_TRANSLATE_NOOP("StringTable", "Save this file as:")},
    {Msg::ExportTitle, QT_TRANSLATE_NOOP("StringTable", "Export this file as:")},
    {Msg::ComparedWithItself,
     QT_TRANSLATE_NOOP("StringTable",
                       "Internal Database error: a card has been compared with itself.")},
    {Msg::CardNotCorrect,
     QT_TRANSLATE_NOOP("StringTable", "A card was not correct. Internal database error.")},
    {Msg::NothingToSort, QT_TRANSLATE_NOOP("StringTable", "There are no cards to sort")},
    {Msg::FontNotFound,
     QT_TRANSLATE_NOOP("StringTable",
                       "The font in the *.kmx file was not found. Please choose another font.")},
    {Msg::SearchString, QT_TRANSLATE_NOOP("StringTable", "Please enter the string to search for.")},
    {Msg::ListEmpty,
     QT_TRANSLATE_NOOP("StringTable", "The selected list does not contain any cards.")},
    {Msg::AlreadyKnown,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "There was an error in the function to move cards from unknown to known words: The card "
         "was already in the list of known cards. There is probabely more than one card with the "
         "same ID.")},
    {Msg::TooManyMeanings,
     QT_TRANSLATE_NOOP(
         "StringTable",
         "The stored answer of this card has more than ten meanings, so your answer cannot be "
         "compared with it word by word. Please shorten the stored answer with \"Edit Card\".")},
};

constexpr bool sortedById() {
    for (std::size_t i = 1; i < std::size(kStrings); ++i)
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    return true;
}
static_assert(sortedById(), "the string table must stay sorted by number");

const Entry* find(int id) {
    auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                               [](const Entry& e, int wanted) { return e.id < wanted; });
    if (it == std::end(kStrings) || it->id != id)
        return nullptr;
    return it;
}

}  // namespace

QString stringText(int id) {
    const Entry* entry = find(id);
    return entry ? QCoreApplication::translate("StringTable", entry->text) : QString();
}
