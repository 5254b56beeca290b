#pragma once

// Numbers of the string table. The texts live in the window side's table; the core
// only names the message it wants shown.
namespace Msg {
inline constexpr int AboutItem = 101;
inline constexpr int NoCardsOpened = 102;
inline constexpr int SystematicTooFew = 103;
inline constexpr int OpenFailed = 111;
inline constexpr int RandomTooFew = 112;
inline constexpr int NoCardsOnLevel = 114;
inline constexpr int NoCardsOfLesson = 115;
inline constexpr int AnswerTooLong = 119;
inline constexpr int OldFormat = 123;
inline constexpr int NoMemory = 125;
inline constexpr int ChooseRadioButton = 126;
inline constexpr int EmptyQuestionOrAnswer = 127;
inline constexpr int CardNotFound = 129;
inline constexpr int NoCardChosen = 130;
inline constexpr int SaveFailed = 131;
inline constexpr int ReportFailed = 132;
inline constexpr int EndOfList = 133;
inline constexpr int CautionCaption = 136;
inline constexpr int SaveBeforeClose = 137;
inline constexpr int PrinterContext = 138;
inline constexpr int PrinterPage = 139;
inline constexpr int PictureFailed = 140;
inline constexpr int NoCardToModify = 143;
inline constexpr int DebugError = 144;
inline constexpr int ReallyDelete = 145;
inline constexpr int ColumnQuestion = 146;
inline constexpr int ColumnAnswer = 147;
inline constexpr int ColumnAddInfo = 148;
inline constexpr int ColumnLesson = 149;
inline constexpr int ColumnId = 150;
inline constexpr int ColumnLevel = 151;
inline constexpr int CaptionInOrder = 152;
inline constexpr int CaptionWrongWords = 153;
inline constexpr int CaptionLevel = 154;
inline constexpr int CaptionLessonInOrder = 155;
inline constexpr int CaptionKnownWords = 156;
inline constexpr int CaptionRandom = 157;
inline constexpr int CaptionLessonRandom = 158;
inline constexpr int CaptionSystematic = 159;
inline constexpr int CaptionLessonSystematic = 160;
inline constexpr int NonexistentDialog = 161;
inline constexpr int OpenTitle = 162;
inline constexpr int ErrorCaption = 163;
inline constexpr int NoticeCaption = 164;
inline constexpr int SearchQuestion = 167;
inline constexpr int SearchAnswer = 168;
inline constexpr int SearchId = 169;
inline constexpr int SaveAsTitle = 170;
inline constexpr int ExportTitle = 171;
inline constexpr int ComparedWithItself = 172;
inline constexpr int CardNotCorrect = 173;
inline constexpr int NothingToSort = 174;
inline constexpr int FontNotFound = 176;
inline constexpr int SearchString = 178;
inline constexpr int ListEmpty = 179;
inline constexpr int AlreadyKnown = 180;
// The stored answer has more than ten meanings and cannot be compared word by word.
inline constexpr int TooManyMeanings = 181;
// A number with no text: callers use it as a generic error (an unreadable list file, a
// missing font), which shows the "report failed" notice and then an empty error box.
inline constexpr int Unspecified = 99;
}  // namespace Msg
