#include "tests/support/main_window_test.h"

#include <QtTest>

void MainWindowTest::startMainWindow(std::vector<int> randomValues, const LogFont& font) {
    env_ = std::make_unique<TestEnvironment>(std::move(randomValues));
    store_ = std::make_unique<CardStore>();
    preferences_ = Preferences{};
    main_ = std::make_unique<MainDialog>(*store_, preferences_, font);
}

void MainWindowTest::finishMainWindow() {
    const QStringList unexpected = env_ ? env_->prompts().unexpected : QStringList();
    // The open windows go with the main window, which owns their registry.
    main_.reset();
    store_.reset();
    env_.reset();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(", ")));
}
