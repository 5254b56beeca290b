#include "exam/optimise_run.h"

#include <QLocale>
#include <QProgressDialog>
#include <QThread>
#include <algorithm>

#include "core/review_history.h"
#include "platform/prompts.h"
#include "session/window_registry.h"

namespace {

QString caption() {
    return OptimiseRun::tr("Optimise Memory Model");
}

QString figure(double value) {
    return QLocale().toString(value, 'f', 3);
}

}  // namespace

OptimiseRun* OptimiseRun::start(const MemoryModelSource& source, WindowRegistry& windows,
                                QWidget* parent) {
    if (!source.history || !source.history->isOpen()) {
        prompts().message(parent, PromptIcon::Information, caption(),
                          tr("This list has no review history to learn from."));
        return nullptr;
    }
    const int64_t reviews = source.history->reviewCount();
    if (!FsrsOptimizer::enoughReviewsToOptimise(size_t(std::max<int64_t>(reviews, 0)))) {
        const int64_t needed = int64_t(FsrsOptimizer::kMinimumReviews) - reviews;
        prompts().message(parent, PromptIcon::Information, caption(),
                          tr("The memory model is fitted to your own reviews from %1 reviews "
                             "of a list on. This list has %2; %n more are needed.",
                             nullptr, int(needed))
                              .arg(QLocale().toString(qlonglong(FsrsOptimizer::kMinimumReviews)),
                                   QLocale().toString(qlonglong(reviews))));
        return nullptr;
    }
    if (!windows.startTask(Command::OptimiseMemoryModel))
        return nullptr;
    return new OptimiseRun(source, windows, parent);
}

OptimiseRun::OptimiseRun(const MemoryModelSource& source, WindowRegistry& windows, QWidget* parent)
    : QObject(parent), source_(source), windows_(&windows), parent_(parent) {
    setObjectName(QStringLiteral("optimiseRun"));
    // The history is read here: it belongs to this thread; the fitting needs only a copy.
    const bool complete = source_.history->forEachReview([&](const StoredReview& stored) {
        history_.push_back({int64_t(stored.entry.card), stored.entry.timeMs, stored.entry.rating});
        return true;
    });
    if (!complete)
        history_.clear();

    progress_ = new QProgressDialog(
        tr("Fitting the memory model to %n review(s)...", nullptr, int(history_.size())),
        tr("Cancel"), 0, 1000, parent);
    progress_->setObjectName(QStringLiteral("optimiseProgress"));
    progress_->setWindowTitle(caption());
    progress_->setAccessibleName(caption());
    progress_->setMinimumDuration(0);
    progress_->setAutoClose(false);
    progress_->setAutoReset(false);
    progress_->setWindowModality(Qt::WindowModal);
    progress_->setAttribute(Qt::WA_DeleteOnClose);
    connect(progress_, &QProgressDialog::canceled, this, [this] { cancelled_ = true; });
    progress_->show();

    const FsrsWeights current = source_.parameters.w;
    const int offset = source_.utcOffsetMinutes;
    thread_ = QThread::create([this, current, offset] {
        result_ =
            FsrsOptimizer::optimise(history_, current, offset, [this](size_t done, size_t total) {
                const int value = total ? int(done * 1000 / total) : 0;
                QMetaObject::invokeMethod(
                    this,
                    [this, value] {
                        if (progress_)
                            progress_->setValue(value);
                    },
                    Qt::QueuedConnection);
                return !cancelled_.load();
            });
        if (cancelled_)
            result_.outcome = OptimiserResult::Outcome::Cancelled;
    });
    connect(thread_, &QThread::finished, this, &OptimiseRun::report);
    thread_->start();
}

OptimiseRun::~OptimiseRun() {
    if (thread_) {
        cancelled_ = true;
        thread_->wait();
        delete thread_;
    }
    if (progress_)
        progress_->close();
    finishTask();
}

void OptimiseRun::finishTask() {
    if (!taskFinished_ && windows_)
        windows_->finishTask(Command::OptimiseMemoryModel);
    taskFinished_ = true;
}

QProgressDialog* OptimiseRun::progressWindow() const {
    return progress_;
}

void OptimiseRun::report() {
    // Cancel pressed after the fitting ended, before this ran, still means "leave it".
    if (cancelled_)
        result_.outcome = OptimiserResult::Outcome::Cancelled;
    if (progress_) {
        // Closing a progress window reports a cancel of its own.
        progress_->disconnect(this);
        progress_->close();
    }
    bool kept = false;
    switch (result_.outcome) {
        case OptimiserResult::Outcome::Cancelled:
            prompts().message(parent_, PromptIcon::Information, caption(),
                              tr("Cancelled. The memory model is unchanged."));
            break;
        case OptimiserResult::Outcome::NotEnoughReviews:
            prompts().message(parent_, PromptIcon::Information, caption(),
                              tr("Too few of these reviews came a day or more after the card's "
                                 "previous one to fit the model. It is unchanged."));
            break;
        case OptimiserResult::Outcome::Optimised: {
            kept = result_.better && source_.setParameters;
            if (kept)
                source_.setParameters(result_.weights);
            const QString figures =
                tr("Log loss: %1 before, %2 after.\nRMSE (bins): %3 before, %4 after.\n"
                   "Measured on %n review(s) of this list; lower is better.",
                   nullptr, int(result_.after.reviews))
                    .arg(figure(result_.before.logLoss), figure(result_.after.logLoss),
                         figure(result_.before.rmseBins), figure(result_.after.rmseBins));
            prompts().message(parent_, PromptIcon::Information, caption(),
                              figures + u'\n' +
                                  (kept ? tr("The new parameters predict your reviews better "
                                             "and are used from now on.")
                                        : tr("The new parameters are not better; the current "
                                             "ones stay.")));
            break;
        }
    }
    finishTask();
    emit finished(kept);
    deleteLater();
}
