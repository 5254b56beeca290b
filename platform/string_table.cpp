#include "platform/string_table.h"

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
    {Msg::AboutItem, "About Kartomatrix for Windows"},
    {Msg::NoCardsOpened, "You have not opened any cards yet. Please try 'open' or 'new list'"},
    {Msg::SystematicTooFew,
     "The systematic examination has been written for more than 10 cards. It makes sense if "
     "you have more than 20 cards... But there are less than 10 cards in your list."},
    {Msg::OpenFailed, "An error occured while opening a file. No vocabulary has been read."},
    {Msg::RandomTooFew, "Too few words for a random examination"},
    {Msg::NoCardsOnLevel, "Sorry: there are no cards on this level."},
    {Msg::NoCardsOfLesson, "Sorry: There are no cards of this lesson."},
    {Msg::AnswerTooLong, "Sorry, your answer cannot be added because it is too long."},
    {Msg::OldFormat,
     "Du benutzt ein altes, nicht kompatibles Kartomatrix-Format! Nimm das Programm, mit "
     "welchem Du das Dokument erzeugt hast, und exportiere es dort. Anschliessend solltest Du "
     "es problemlos einlesen koennen."},
    {Msg::NoMemory, "No more memory. Bye!"},
    {Msg::ChooseRadioButton, "Please choose a radio button."},
    {Msg::EmptyQuestionOrAnswer,
     "Your answer does not make sense: The question or the anser do not contain any words."},
    {Msg::CardNotFound, "The card was not found."},
    {Msg::NoCardChosen,
     "There is no card chosen. Before you can delete a card, you have to search for it."},
    {Msg::SaveFailed, "There was an error while saving cards."},
    {Msg::ReportFailed,
     "An error occurred, but its message could not be found. Please report this error and "
     "describe what you were doing when it happened."},
    {Msg::EndOfList, "You reached the end of the list."},
    {Msg::CautionCaption, "Caution:"},
    {Msg::SaveBeforeClose,
     "You have entered new cards or you have modified some words. Do you want to save them "
     "before you close the list?"},
    {Msg::PrinterContext,
     "There was an error while building a 'Device Context'. Check your printer/driver."},
    {Msg::PrinterPage,
     "There was an error while beginning a new page. Check: memory, disk space, printer and "
     "printer driver."},
    {Msg::PictureFailed, "There was an error while opening a picture."},
    {Msg::NoCardToModify,
     "There is no card selected to modify. Please choose 'close' or 'search ...'"},
    {Msg::DebugError, "DEBUG: Fehler"},
    {Msg::ReallyDelete, "You are trying to delete a card. Do you really want to delete it?"},
    {Msg::ColumnQuestion, "Question"},
    {Msg::ColumnAnswer, "Answer"},
    {Msg::ColumnAddInfo, "Add. Information"},
    {Msg::ColumnLesson, "Lesson"},
    {Msg::ColumnId, "id"},
    {Msg::ColumnLevel, "Level"},
    {Msg::CaptionInOrder, "Examination in order"},
    {Msg::CaptionWrongWords, "Examination of the wrong words"},
    {Msg::CaptionLevel, "Examination in order (Level)"},
    {Msg::CaptionLessonInOrder, "Examination in order (Lesson)"},
    {Msg::CaptionKnownWords, "Examination in order (known words)"},
    {Msg::CaptionRandom, "Examination in random order"},
    {Msg::CaptionLessonRandom, "Examination in random order (Lesson)"},
    {Msg::CaptionSystematic, "Systematic examination"},
    {Msg::CaptionLessonSystematic, "Systematic examination (Lesson)"},
    {Msg::NonexistentDialog, "There was an attempt to delete a nonexistant dialog. Bye..."},
    {Msg::OpenTitle, "Open a list:"},
    {Msg::ErrorCaption, "An error occurred"},
    {Msg::NoticeCaption, "Message:"},
    {Msg::SearchQuestion, "Please enter the question to search."},
    {Msg::SearchAnswer, "Please enter the answer to search."},
    {Msg::SearchId, "Please enter the ID (card number) to search."},
    {Msg::SaveAsTitle, "Save this file as:"},
    {Msg::ExportTitle, "Export this file as:"},
    {Msg::ComparedWithItself, "Internal Database error: a card has been compared with itself."},
    {Msg::CardNotCorrect, "A card was not correct. Internal database error."},
    {Msg::NothingToSort, "There are no cards to sort"},
    {Msg::FontNotFound, "The font in the *.kmx file was not found. Please choose another font."},
    {Msg::SearchString, "Please enter the string to search for."},
    {Msg::ListEmpty, "The selected list does not contain any cards."},
    {Msg::AlreadyKnown,
     "There was an error in the function to move cards from unknown to known words: The card "
     "was already in the list of known cards. There is probabely more than one card with the "
     "same ID."},
    {Msg::TooManyMeanings,
     "The stored answer of this card has more than ten meanings, so your answer cannot be "
     "compared with it word by word. Please shorten the stored answer with \"Edit Card\"."},
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
    return entry ? QString::fromLatin1(entry->text) : QString();
}

bool hasString(int id) {
    return find(id) != nullptr;
}
