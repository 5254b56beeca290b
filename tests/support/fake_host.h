#pragma once

#include <deque>
#include <string>
#include <vector>

#include "core/card.h"
#include "core/host.h"

// Thrown by FakeHost::fatalError so that a test can see the process would have ended.
struct FatalExit {
    int messageId;
};

// Records everything the core asks of the program and answers from scripts.
class FakeHost : public Host {
public:
    void showError(int messageId) override { errors.push_back(messageId); }
    void showNotice(int messageId) override { notices.push_back(messageId); }
    void showErrorText(std::string_view text) override { errorTexts.emplace_back(text); }
    [[noreturn]] void fatalError(int messageId) override { throw FatalExit{messageId}; }

    KnownCardChoice askKnownCard(const Card& card) override {
        knownQuestions.push_back(card.id);
        if (knownAnswers.empty())
            return KnownCardChoice::Known;
        KnownCardChoice choice = knownAnswers.front();
        knownAnswers.pop_front();
        return choice;
    }

    bool fontUsable(const LogFont& font) override { return font.lfFaceName != unusableFace; }
    LogFont chooseFont(const LogFont& preset) override {
        fontDialogs.push_back(preset);
        return chosenFont ? *chosenFont : preset;
    }

    std::vector<int> errors;
    std::vector<int> notices;
    std::vector<std::string> errorTexts;
    std::vector<int32_t> knownQuestions;
    std::deque<KnownCardChoice> knownAnswers;  // Known when empty
    std::string unusableFace = "<unusable>";
    std::vector<LogFont> fontDialogs;
    const LogFont* chosenFont = nullptr;
};
