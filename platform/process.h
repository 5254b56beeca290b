#pragma once

#include <functional>

// Ends the process with the status. Fatal errors use 8, Quit uses 0.
[[noreturn]] void exitProcess(int status);
// Tests replace the ending: the handler must not return (it throws). An empty handler
// restores the real ending.
void setExitHandler(std::function<void(int)> handler);

// Milliseconds since the process started.
long long processMilliseconds();
