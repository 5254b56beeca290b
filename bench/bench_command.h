#pragma once

#include <sys/resource.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// The sub-commands of kartomatrix-bench register themselves with one of these at file
// scope: `static BenchCommand load{"load", "FILE", runLoad};`.
struct BenchCommand {
    using Run = std::function<int(const std::vector<std::string>& args)>;
    BenchCommand(std::string name, std::string usage, Run run);
};

using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Processor time of this process so far, user and system, in ms: on a shared machine the
// wall time mostly measures the neighbours.
inline double cpuMs() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// The most memory this process has held, in KiB.
inline long peakRssKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
