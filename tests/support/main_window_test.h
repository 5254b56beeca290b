#pragma once

#include <QObject>
#include <memory>
#include <vector>

#include "app/main_dialog.h"
#include "core/card_store.h"
#include "core/preferences.h"
#include "platform/fonts.h"
#include "session/list_session.h"
#include "tests/support/main_window_probe.h"
#include "tests/support/test_environment.h"

// What every test of the main window and the windows it opens starts from: a scripted
// user, an empty store, default preferences and a main window over them. A test class
// derives from it and calls startMainWindow() in init() and finishMainWindow() in
// cleanup().
class MainWindowTest : public QObject {
protected:
    void startMainWindow(std::vector<int> randomValues = {},
                         const LogFont& font = defaultDocumentFont());
    // Fails the test when a prompt came that no test expected or a window outlived the
    // main window; ends everything either way.
    void finishMainWindow();

    ScriptedPrompts& prompts() { return env_->prompts(); }

    // The visible window of the type among the main window's children, or nullptr.
    template <typename Window>
    Window* window() {
        for (Window* w : main_->findChildren<Window*>())
            if (w->isVisible())
                return w;
        return nullptr;
    }

    std::unique_ptr<TestEnvironment> env_;
    std::unique_ptr<CardStore> store_;
    Preferences preferences_;
    std::unique_ptr<MainDialog> main_;
    ControlStates before_;
};
