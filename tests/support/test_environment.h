#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "fake_host.h"
#include "fixed_random.h"
#include "scripted_prompts.h"

// Thrown by the exit handler a TestEnvironment installs: the process would have ended
// with this status.
struct ExitRequested {
    int status;
};

// Runs `work` under a TestEnvironment and returns the status the process would have
// ended with, or none when it would have gone on. Call it outside Qt's own frames (run
// a command directly rather than through a click), which an exception must not cross.
std::optional<int> exitStatusOf(const std::function<void()>& work);

// Everything a window test replaces, for the life of one object: scripted prompts, an
// exit that throws ExitRequested, a fixed random sequence and the test mode of the
// standard paths (so that settings never reach the real user's files). The destructor
// puts everything back.
class TestEnvironment {
public:
    explicit TestEnvironment(std::vector<int> randomValues = {});
    ~TestEnvironment();

    TestEnvironment(const TestEnvironment&) = delete;
    TestEnvironment& operator=(const TestEnvironment&) = delete;

    ScriptedPrompts& prompts() { return prompts_; }
    FixedRandom& random() { return random_; }

private:
    ScriptedPrompts prompts_;
    FixedRandom random_;
    bool previousTestMode_;
};
