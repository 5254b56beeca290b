#include "session/list_session.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include "core/answer_outcome.h"
#include "core/answer_recording.h"
#include "core/card_store.h"
#include "core/file_stamp.h"
#include "core/font_debug_log.h"
#include "core/list_file_reader.h"
#include "core/list_file_writer.h"
#include "core/list_ops.h"
#include "core/message_ids.h"
#include "core/orders.h"
#include "core/preferences.h"
#include "platform/fonts.h"
#include "platform/messages.h"
#include "platform/process.h"
#include "platform/prompts.h"
#include "platform/random.h"
#include "platform/settings_store.h"
#include "platform/string_table.h"
#include "platform/text_codec.h"
#include "session/file_failure_text.h"
#include "session/preferences_settings.h"
#include "session/review_schedule.h"
#include "session/window_registry.h"
#include "widgets/document_info_dialog.h"
#include "widgets/known_card_dialog.h"

namespace {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString shownPath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The lock beside a list: hidden, and named after the list, so that every program that
// opens the list looks for the same one. It goes by the file itself, not by the name it
// was opened under: a symbolic link, a relative path or "..", lead to the lock beside the
// file they name in the end. A file not there yet (the target of Save As) goes by its
// resolved folder.
QString lockPathFor(const std::string& path) {
    const QFileInfo given(shownPath(path));
    QString resolved = given.canonicalFilePath();
    if (resolved.isEmpty()) {
        const QString folder = given.absoluteDir().canonicalPath();
        resolved =
            folder.isEmpty() ? given.absoluteFilePath() : QDir(folder).filePath(given.fileName());
    }
    const QFileInfo file(resolved);
    return file.dir().filePath(QStringLiteral(".") + file.fileName() + QStringLiteral(".lock"));
}

// Each filter is "Description (patterns)": the dialog shows the description, and the
// patterns take both spellings of the extension, as case matters on this system.
QString filter(const QString& description, const QString& extension) {
    return QString("%1 (*.%2 *.%3)").arg(description, extension, extension.toUpper());
}

}  // namespace

ListSession::ListSession(CardStore& store, Preferences& preferences, const LogFont& documentFont,
                         QObject* parent)
    : QObject(parent),
      store_(store),
      preferences_(preferences),
      recentDraws_(std::make_unique<RecentDraws>()),
      questionFont_(documentFont),
      answerFont_(documentFont) {
    setObjectName(QStringLiteral("listSession"));
    schedule_ = new ReviewSchedule(store_, this);
    // Intervals are spread with the program's random source, as Anki does.
    schedule_->setRandomSource(&processRandom());
    applySchedulePreferences();
}

ListSession::~ListSession() = default;

bool ListSession::hasCards() const {
    return !store_.unknownList.empty() || !store_.knownList.empty();
}

bool ListSession::listOpen() const {
    return listBegun_ || hasCards() || store_.fileName != CardStore::kUntitled;
}

void ListSession::setFonts(LogFont question, LogFont answer) {
    questionFont_ = std::move(question);
    answerFont_ = std::move(answer);
}

FontDebugLog& ListSession::fontLog() {
    // One log for the whole run: its entries are numbered since the program started.
    if (!fontLog_)
        fontLog_ = std::make_unique<FontDebugLog>(*this);
    return *fontLog_;
}

void ListSession::applySchedulePreferences() {
    schedule_->setLimits(preferences_.desiredRetention / 100.0, preferences_.maximumInterval);
}

void ListSession::openSchedule(const QString& listPath) {
    applySchedulePreferences();
    const ReviewSchedule::OpenReport report = schedule_->openFor(listPath, schedule_->now());
    // The list is open whatever became of its history; the user hears what did.
    if (!report.message.isEmpty())
        ::showErrorText(report.message);
}

void ListSession::carrySchedule(const QString& newListPath) {
    const ReviewSchedule& schedule = *schedule_;
    if (!schedule.available()) {
        // A list that had no history gets a new one; a history left at the new name by
        // the list this one replaces is kept aside, not taken over.
        schedule_->openUnsaved();
        if (!schedule.available()) {
            openSchedule(newListPath);
            return;
        }
    }
    if (!schedule_->carryTo(newListPath, schedule_->now())) {
        ::showErrorText(tr("The review history could not be carried to %1; it stays beside "
                           "the list's old name. A new history is started for the new name.")
                            .arg(newListPath));
        openSchedule(newListPath);
    }
}

void ListSession::newList() {
    listBegun_ = true;
    // Answers before the first save go into a history in memory, written at Save As.
    schedule_->openUnsaved();
    emit newListStarted();
    listStartTime_ = processMilliseconds();
}

void ListSession::openListCommand() {
    checkList(store_.unknownList, *this);
    checkList(store_.knownList, *this);
    FileRequest request;
    request.title = stringText(Msg::OpenTitle);
    request.filters = {filter(tr("Kartomatrix Files (*.KMX)"), "kmx"),
                       filter(tr("Text Files (*.TXT)"), "txt")};
    request.defaultSuffix = "kmx";
    const FileChoice choice = prompts().openFile(dialogParent_, request);
    if (!choice.path.isEmpty()) {
        openList(choice.path);
    } else if (choice.errorCode != 0) {
        ::showError(Msg::OpenFailed);
    }
}

void ListSession::openList(const QString& path) {
    if (path.isEmpty())
        return;
    const std::string file = localPath(path);
    if (!lockList(file, true))
        return;
    LogFont question = questionFont_;
    LogFont answer = answerFont_;
    const DocumentInfo info =
        readListFile(file, store_, store_.unknownList, question, answer, *this);
    if (info.status == 1) {
        unlockList();
        const QString why = FileFailureText::reading(info, path);
        if (!why.isEmpty())
            ::showErrorText(why);
        return;
    }
    setFonts(question, answer);
    fileStamp_ = info.stamp;
    readIncomplete_ = info.incomplete;
    unicodeList_ = info.unicode;
    toldAboutUnicode_ = false;
    if (info.repairedTexts > 0) {
        ::showErrorText(tr("%1 held %2 texts with bytes that are not UTF-8; each such byte "
                           "shows as \ufffd. Saving writes them so.")
                            .arg(path)
                            .arg(info.repairedTexts));
    }
    if (info.incomplete) {
        ::showErrorText(tr("%1 ends in the middle of a card: only the first %2 cards could be "
                           "read. Save will ask before it replaces the file.")
                            .arg(path)
                            .arg(info.cardsRead()));
    }
    showDocumentInfo(info, dialogParent_);
    store_.fileName = file;
    openSchedule(QString::fromStdString(file));
    listBegun_ = true;
    emit listOpened();
    listStartTime_ = processMilliseconds();
}

void ListSession::saveList() {
    if (store_.fileName == CardStore::kUntitled) {
        saveListAs();
        return;
    }
    switch (confirmReplace()) {
        case Replace::Stop:
            return;
        case Replace::SaveAs:
            saveListAs();
            return;
        case Replace::Go:
            // A list stays in the older format for as long as it can, so that older
            // programs still open it; once it holds a character that format cannot hold,
            // or was a Unicode list already, it is saved as a Unicode list.
            if (writeTo(store_.fileName, unicodeList_ || !fitsWindows1252(store_)
                                             ? ListFileFormat::Unicode
                                             : ListFileFormat::Version20))
                schedule_->listSaved();
            return;
    }
}

bool ListSession::writeTo(const std::string& path, ListFileFormat format) {
    if (format == ListFileFormat::Version20) {
        if (const Card* card = firstCardBeyondWindows1252(store_)) {
            ::showErrorText(tr("Card %1 (\"%2\") holds characters the older list format "
                               "cannot hold. Save the list as a Unicode list instead; "
                               "nothing was written.")
                                .arg(card->id)
                                .arg(fromCardText(card->question())));
            return false;
        }
    } else if (!unicodeList_ && !toldAboutUnicode_) {
        toldAboutUnicode_ = true;
        ::showNoticeText(
            tr("This list is saved as a Unicode list, so that it can hold every "
               "language. Programs that know only the older list format cannot "
               "open it."));
    }
    const DocumentInfo info =
        writeListFile(path, store_, questionFont_, answerFont_, fontLog(), *this, {}, format);
    if (info.status == 1) {
        // The table's sentence, and under it which file and why.
        ::showErrorText(stringText(Msg::SaveFailed) + QLatin1Char('\n') +
                        FileFailureText::saving(info, shownPath(path)));
    }
    // An empty list is refused with a message of its own and writes nothing either.
    const bool wrote = info.status == 0 && info.stamp.exists;
    if (!wrote)
        return false;
    fileStamp_ = info.stamp;
    unicodeList_ = format == ListFileFormat::Unicode;
    if (path == store_.fileName)
        readIncomplete_ = false;
    showDocumentInfo(info, dialogParent_);
    return true;
}

ListSession::Replace ListSession::confirmReplace() {
    QString reason;
    if (readIncomplete_) {
        reason =
            tr("The list file was incomplete when it was read: it may hold cards that "
               "this list does not.");
    } else if (fileStamp_.exists && stampOf(store_.fileName) != fileStamp_) {
        reason =
            tr("The list file has been changed by another program since it was opened "
               "or last saved here.");
    }
    if (reason.isEmpty())
        return Replace::Go;
    const PromptAnswer answer = prompts().question(
        dialogParent_, PromptIcon::Exclamation, stringText(Msg::CautionCaption),
        reason + QStringLiteral("\n\n") +
            tr("Replace %1 with this list? Choose No to save it under another name.")
                .arg(shownPath(store_.fileName)),
        true);
    switch (answer) {
        case PromptAnswer::Yes:
            return Replace::Go;
        case PromptAnswer::No:
            return Replace::SaveAs;
        default:
            return Replace::Stop;
    }
}

bool ListSession::lockList(const std::string& path, bool ask) {
    unlockList();
    bool refused = false;
    lock_ = takeLock(path, ask ? tr("Open it anyway?") : QString(), refused);
    return !refused;
}

std::unique_ptr<QLockFile> ListSession::takeLock(const std::string& path, const QString& question,
                                                 bool& refused) {
    refused = false;
    auto lock = std::make_unique<QLockFile>(lockPathFor(path));
    // A lock left by a program that crashed is taken over at once; QLockFile sees that
    // its process is gone.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0))
        return lock;
    if (lock->error() != QLockFile::LockFailedError || question.isEmpty())
        return nullptr;  // no lock can be made here (a read-only folder): go on without one
    qint64 pid = 0;
    QString host, program;
    lock->getLockInfo(&pid, &host, &program);
    const QString text =
        tr("%1 is already open in another program (%2, process %3 on %4). If both save it, "
           "one will overwrite the other's changes.")
            .arg(shownPath(path), program.isEmpty() ? tr("unknown") : program)
            .arg(pid)
            .arg(host.isEmpty() ? tr("this computer") : host) +
        QStringLiteral("\n\n") + question;
    refused = prompts().question(dialogParent_, PromptIcon::Exclamation,
                                 stringText(Msg::CautionCaption), text, false) != PromptAnswer::Yes;
    return nullptr;
}

void ListSession::unlockList() {
    lock_.reset();
}

void ListSession::saveListAs() {
    saveListAs(QString::fromLatin1(CardStore::kUntitled));
}

void ListSession::saveListAs(const QString& initialName) {
    FileRequest request;
    request.title = stringText(Msg::SaveAsTitle);
    request.filters = {filter(tr("Kartomatrix-File"), "kmx"),
                       filter(tr("Kartomatrix Unicode list, for every language"), "kmx")};
    request.defaultSuffix = "kmx";
    request.initialName = initialName;
    request.selectedFilter = unicodeList_ || !fitsWindows1252(store_) ? 1 : 0;
    const FileChoice choice = prompts().saveFile(dialogParent_, request);
    if (choice.path.isEmpty()) {
        if (choice.errorCode != 0)
            ::showError(Msg::SaveFailed);
        return;
    }
    const std::string path = localPath(choice.path);
    // The target is locked before it is written, asking as Open List does when another
    // program has it open. A save that writes nothing leaves everything as it was: the
    // list keeps its name, its lock and its stamp, and no lock stays on the target.
    std::unique_ptr<QLockFile> targetLock;
    const bool ownFile = store_.fileName != CardStore::kUntitled &&
                         lockPathFor(path) == lockPathFor(store_.fileName);
    if (!ownFile) {
        bool refused = false;
        targetLock = takeLock(path, tr("Save over it anyway?"), refused);
        if (refused)
            return;
    }
    const int chosen = choice.filter >= 0 ? choice.filter : request.selectedFilter;
    if (!writeTo(path, chosen == 1 ? ListFileFormat::Unicode : ListFileFormat::Version20))
        return;
    if (!ownFile)
        lock_ = std::move(targetLock);
    store_.fileName = path;
    readIncomplete_ = false;
    carrySchedule(QString::fromStdString(path));
}

void ListSession::exportList(Command command) {
    FileRequest request;
    request.title = stringText(Msg::ExportTitle);
    request.filters = {filter(tr("text file"), "txt")};
    request.defaultSuffix = "txt";
    const FileChoice choice = prompts().saveFile(dialogParent_, request);
    if (choice.path.isEmpty()) {
        if (choice.errorCode != 0)
            ::showError(Msg::SaveFailed);
        return;
    }
    const std::string path = localPath(choice.path);
    DocumentInfo info;
    if (command == Command::ExportCards) {
        info = exportCards(path, store_, *this);
    } else if (command == Command::ExportQuestions) {
        info = exportQuestions(path, store_, *this);
    } else {
        info = exportAnswers(path, store_, *this);
    }
    if (info.status == 1) {
        ::showErrorText(stringText(Msg::SaveFailed) + QLatin1Char('\n') +
                        FileFailureText::saving(info, choice.path));
    }
}

bool ListSession::askToSave(bool saveAsAlways) {
    if (!store_.modified)
        return true;
    switch (askYesNoCancel(dialogParent_, Msg::SaveBeforeClose, Msg::CautionCaption)) {
        case PromptAnswer::Cancel:
            return false;
        case PromptAnswer::Yes:
            if (saveAsAlways) {
                // The list's own name and folder, so that its progress goes back where it
                // came from unless the user chooses otherwise.
                saveListAs(store_.fileName == CardStore::kUntitled
                               ? QString::fromLatin1(CardStore::kUntitled)
                               : QFileInfo(shownPath(store_.fileName)).absoluteFilePath());
            } else {
                saveList();
            }
            // A save that failed or was cancelled leaves the cards unsaved: going on would
            // throw them away after the user asked to keep them, so the command ends here as
            // with Cancel. A document without cards, which is never written, has nothing
            // to lose.
            return !store_.modified || !hasCards();
        default:
            return true;
    }
}

void ListSession::setWindows(WindowRegistry* windows) {
    windows_ = windows;
}

void ListSession::closeList() {
    if (windows_ && windows_->inModalStep()) {
        // A window waits on an answer to a dialog with cards in hand; closing the list now
        // would pull them away under it. Show the user the dialog that waits.
        prompts().beep(400, 100);
        if (QWidget* waiting = QApplication::activeModalWidget()) {
            waiting->raise();
            waiting->activateWindow();
        }
        return;
    }
    if (!askToSave(true))
        return;
    schedule_->close();
    clearDocument(store_);
    listBegun_ = false;
    unlockList();
    fileStamp_ = {};
    readIncomplete_ = false;
    unicodeList_ = false;
    toldAboutUnicode_ = false;
    listLanguages_ = {};
    backwardAnswers_ = 0;
    if (windows_)
        windows_->closeListWindows();
    emit listClosed();
    emit cardsChanged();
}

void ListSession::quit() {
    if (!askToSave(false))
        return;
    {
        SettingsStore settings;
        savePreferences(preferences_, settings);
        settings.sync();
    }
    schedule_->close();
    unlockList();
    exitProcess(0);
}

void ListSession::sortList() {
    ::sortList(store_, store_.unknownList, SortKey::Question, *this);
    // Cards that shared a number got new ones.
    schedule_->cardsRearranged();
}

void ListSession::exchange() {
    exchangeQuestionAndAnswer(store_.unknownList);
    exchangeQuestionAndAnswer(store_.knownList);
    setFonts(answerFont_, questionFont_);
    emit fontsChanged();
}

void ListSession::chooseDocumentFont(Command command) {
    const bool isQuestion = command == Command::QuestionFont;
    const LogFont current = isQuestion ? questionFont_ : answerFont_;
    const LogFont chosen = prompts().chooseFont(dialogParent_, current);
    if (!::fontUsable(chosen)) {
        // The font cannot be made: keep the one there was.
        prompts().beep(400, 400);
        return;
    }
    if (isQuestion) {
        setFonts(chosen, answerFont_);
    } else {
        setFonts(questionFont_, chosen);
    }
    emit fontsChanged();
}

void ListSession::cardEntered() {
    emit cardAdded();
    emit cardsChanged();
}

void ListSession::cardsImported(int unknownBefore, bool listBegun) {
    listBegun_ = listBegun_ || listBegun;
    // An import may have started the new list's history already, to put answers in it.
    if (listBegun && !schedule_->available())
        schedule_->openUnsaved();
    emit cardsAddedFromFile(unknownBefore, listBegun);
    emit cardsChanged();
    if (listBegun)
        listStartTime_ = processMilliseconds();
}

void ListSession::showError(int messageId) {
    ::showError(messageId);
}
void ListSession::showNotice(int messageId) {
    ::showNotice(messageId);
}
void ListSession::showErrorText(std::string_view text) {
    ::showErrorText(fromCardText(text));
}
void ListSession::fatalError(int messageId) {
    ::fatalError(messageId);
}

KnownCardChoice ListSession::askKnownCard(const Card&) {
    KnownCardDialog dialog(dialogParent_);
    return prompts().execDialog(&dialog) == QDialog::Accepted ? KnownCardChoice::Keep
                                                              : KnownCardChoice::Known;
}

void ListSession::answerRecorded(const AnswerOutcome& outcome) {
    // Confirming a differing answer may have added it to the card's answer.
    if (outcome.recorded && outcome.confirmedByUser && outcome.card != nullptr)
        schedule_->cardChanged(*outcome.card);
    schedule_->recordAnswer(outcome);
    if (outcome.joinedWrongList)
        emit cardJoinedWrongList();
    if (outcome.movedToKnown)
        emit cardMovedToKnown();
    // The counters follow the known-card question only.
    if (outcome.knownChosen)
        emit cardsChanged();
}

void ListSession::answerUndone(const UndoOutcome& outcome) {
    if (!outcome.undone)
        return;
    if (outcome.answer.direction == static_cast<uint8_t>(Direction::AnswerToQuestion) &&
        backwardAnswers_ > 0)
        --backwardAnswers_;
    if (outcome.wrongListEmptied)
        emit wrongListEmptied();
    if (outcome.knownListEmptied)
        emit knownListEmptied();
    emit cardsChanged();
}

bool ListSession::fontUsable(const LogFont& font) {
    return ::fontUsable(font);
}

LogFont ListSession::chooseFont(const LogFont& preset) {
    return prompts().chooseFont(dialogParent_, preset);
}
