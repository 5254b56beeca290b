#include "platform/process.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <utility>

namespace {

std::function<void(int)>& exitHandler() {
    static std::function<void(int)> handler;
    return handler;
}

std::chrono::steady_clock::time_point processStart() {
    // Initialised at the first call, which the static object below makes during the
    // loading of the program.
    static const std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    return start;
}

const bool clockStartedAtLoad = (processStart(), true);

}  // namespace

void exitProcess(int status) {
    if (const auto& handler = exitHandler()) {
        handler(status);
    }
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::exit(status);
}

void setExitHandler(std::function<void(int)> handler) {
    exitHandler() = std::move(handler);
}

long long processMilliseconds() {
    (void)clockStartedAtLoad;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 processStart())
        .count();
}
