#pragma once

#include <functional>
#include <string>
#include <vector>

// The sub-commands of kartomatrix-bench register themselves with one of these at file
// scope: `static BenchCommand load{"load", "FILE", runLoad};`.
struct BenchCommand {
    using Run = std::function<int(const std::vector<std::string>& args)>;
    BenchCommand(std::string name, std::string usage, Run run);
};
