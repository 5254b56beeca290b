#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/bench_command.h"

namespace {

struct Entry {
    std::string usage;
    BenchCommand::Run run;
};

std::map<std::string, Entry>& registry() {
    static std::map<std::string, Entry> commands;
    return commands;
}

}  // namespace

BenchCommand::BenchCommand(std::string name, std::string usage, Run run) {
    registry()[std::move(name)] = Entry{std::move(usage), std::move(run)};
}

int main(int argc, char** argv) {
    if (argc >= 2) {
        auto it = registry().find(argv[1]);
        if (it != registry().end()) {
            return it->second.run(std::vector<std::string>(argv + 2, argv + argc));
        }
    }
    std::fprintf(stderr, "usage:\n");
    for (const auto& [name, entry] : registry()) {
        std::fprintf(stderr, "  kartomatrix-bench %s %s\n", name.c_str(), entry.usage.c_str());
    }
    return 2;
}
