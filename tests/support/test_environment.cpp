#include "test_environment.h"

#include <QStandardPaths>

#include "platform/process.h"
#include "platform/random.h"

TestEnvironment::TestEnvironment(std::vector<int> randomValues)
    : random_(std::move(randomValues)), previousTestMode_(QStandardPaths::isTestModeEnabled()) {
    QStandardPaths::setTestModeEnabled(true);
    setPrompts(&prompts_);
    setExitHandler([](int status) { throw ExitRequested{status}; });
    setProcessRandom(&random_);
}

TestEnvironment::~TestEnvironment() {
    setProcessRandom(nullptr);
    setExitHandler(nullptr);
    setPrompts(nullptr);
    QStandardPaths::setTestModeEnabled(previousTestMode_);
}

std::optional<int> exitStatusOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const ExitRequested& exit) {
        return exit.status;
    }
    return std::nullopt;
}
