#include "tests/support/main_window_test.h"

#include <QtTest>

#include "editing/modify_card_dialog.h"
#include "session/open_windows.h"

void MainWindowTest::startMainWindow(std::vector<int> randomValues, const LogFont& font) {
    env_ = std::make_unique<TestEnvironment>(std::move(randomValues));
    store_ = std::make_unique<CardStore>();
    preferences_ = Preferences{};
    main_ = std::make_unique<MainDialog>(*store_, preferences_, font);
}

void MainWindowTest::finishMainWindow() {
    const QStringList unexpected = env_ ? env_->prompts().unexpected : QStringList();
    main_.reset();
    const int windowsLeft = OpenWindowList::instance().size();
    const bool modifyLeft = ModifyCardDialog::instance() != nullptr;
    OpenWindowList::instance().closeAll();
    store_.reset();
    env_.reset();
    QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join(", ")));
    QCOMPARE(windowsLeft, 0);
    QVERIFY(!modifyLeft);
}
