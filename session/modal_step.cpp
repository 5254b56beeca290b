#include "session/modal_step.h"

#include <QDialog>
#include <QVariant>

#include "session/list_session.h"

namespace {

constexpr const char* kStepProperty = "kartomatrixModalStep";

}  // namespace

ModalStep::ModalStep(QWidget* window, ListSession& session) : window_(window), session_(&session) {
    if (running(window))
        return;
    started_ = true;
    window->setProperty(kStepProperty, true);
    session.enterModalStep();
}

ModalStep::~ModalStep() {
    if (!started_)
        return;
    if (window_)
        window_->setProperty(kStepProperty, QVariant());
    if (session_)
        session_->leaveModalStep();
}

bool ModalStep::windowGone() const {
    return !window_ || window_->isHidden();
}

bool ModalStep::running(const QWidget* window) {
    return window->property(kStepProperty).toBool();
}

void ModalStep::closeDialogsOf(QWidget* window) {
    const auto dialogs = window->findChildren<QDialog*>();
    for (QDialog* dialog : dialogs) {
        if (dialog->isVisible() && dialog->isModal())
            dialog->reject();
    }
}
