#include "session/modal_step.h"

#include <QDialog>
#include <QVariant>

#include "session/window_registry.h"

namespace {

constexpr const char* kStepProperty = "kartomatrixModalStep";

}  // namespace

ModalStep::ModalStep(QWidget* window, WindowRegistry& windows)
    : window_(window), windows_(&windows) {
    if (running(window))
        return;
    started_ = true;
    window->setProperty(kStepProperty, true);
    windows.enterModalStep();
}

ModalStep::~ModalStep() {
    if (!started_)
        return;
    if (window_)
        window_->setProperty(kStepProperty, QVariant());
    if (windows_)
        windows_->leaveModalStep();
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
