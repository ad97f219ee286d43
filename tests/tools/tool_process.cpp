#include "tool_process.h"

#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>

extern char** environ;

namespace tessera {
namespace {

std::string readText(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

ToolRun runTool(const std::string& program, const std::vector<std::string>& arguments,
                const std::string& scratchDir) {
    const std::string outPath = scratchDir + "/tool.stdout";
    const std::string errPath = scratchDir + "/tool.stderr";
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    ToolRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.peakKib = usage.ru_maxrss;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.output = readText(outPath);
    run.errors = readText(errPath);
    return run;
}

std::string oneEventALine(const std::string& recording) {
    std::istringstream in(recording);
    std::string out;
    std::string line;
    while (std::getline(in, line)) {
        long long ticks = 0;
        long long count = 0;
        long long step = 0;
        char dt[40] = {};
        if (std::sscanf(line.c_str(), "%lld idle %39s x%lld every %lld", &ticks, dt, &count,
                        &step) == 4) {
            for (long long i = 0; i < count; ++i) {
                out += std::to_string(ticks + i * step) + " idle " + dt + "\n";
            }
        } else {
            out += line + "\n";
        }
    }
    return out;
}

} // namespace tessera
