#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>

#include "core/fsrs_optimizer.h"
#include "session/memory_model_source.h"

class QProgressDialog;
class QThread;
class WindowRegistry;

// "Optimise Memory Model...": fits the memory model's parameters to the list's own review
// history on a worker thread, behind a progress window with Cancel, and keeps them only
// when they predict that history better than the current ones. The result and every
// refusal (no history, too few reviews) go through the prompts.
class OptimiseRun : public QObject {
    Q_OBJECT
public:
    // Starts a run; nullptr when none was started (refused, or one already runs). The run
    // deletes itself when it has finished.
    static OptimiseRun* start(const MemoryModelSource& source, WindowRegistry& windows,
                              QWidget* parent);
    ~OptimiseRun() override;

    QProgressDialog* progressWindow() const;
    void cancel() { cancelled_ = true; }

signals:
    // The run has ended and its result has been shown; `kept` when new parameters were kept.
    void finished(bool kept);

private:
    OptimiseRun(const MemoryModelSource& source, WindowRegistry& windows, QWidget* parent);
    void report();

    MemoryModelSource source_;
    void finishTask();

    QPointer<WindowRegistry> windows_;
    bool taskFinished_ = false;
    QPointer<QWidget> parent_;
    QPointer<QProgressDialog> progress_;
    QThread* thread_ = nullptr;
    std::vector<CardReview> history_;
    OptimiserResult result_;
    std::atomic<bool> cancelled_ = false;
};
