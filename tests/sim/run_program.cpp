#include "run_program.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include "scratch_folder.h"

extern char** environ;

namespace testing_support {

ProgramRun RunProgram(const std::vector<std::string>& arguments, const std::string& folder,
                      const std::vector<std::string>& environment) {
    ProgramRun run;
    char pattern[] = "/tmp/trallio-run-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        return run;
    }
    const std::string outPath = std::string(pattern) + "/out";
    const std::string errPath = std::string(pattern) + "/err";

    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    // The test's environment, with `environment`'s NAME=value entries in place of their names.
    std::vector<std::string> variables;
    for (char** v = environ; *v != nullptr; ++v) {
        const std::string variable = *v;
        bool replaced = false;
        for (const std::string& extra : environment) {
            const size_t equals = extra.find('=');
            replaced |= variable.compare(0, equals + 1, extra, 0, equals + 1) == 0;
        }
        if (!replaced) {
            variables.push_back(variable);
        }
    }
    variables.insert(variables.end(), environment.begin(), environment.end());
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(&variable[0]);
    }
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // The child starts in `folder`; the test's own current folder stays where it is.
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    pid_t child;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == 0) {
        int status = 0;
        pid_t waited;
        while ((waited = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
        }
        if (waited == child && WIFEXITED(status)) {
            run.status = WEXITSTATUS(status);
        }
    }
    run.out = ReadFile(outPath);
    run.err = ReadFile(errPath);
    const std::string remove = std::string("rm -rf '") + pattern + "'";
    if (std::system(remove.c_str()) != 0) {
        run.err += "\n(could not remove " + std::string(pattern) + ")";
    }
    return run;
}

std::vector<std::string> WithMediaLeakCheck(std::vector<std::string> variables, const std::string& suppressions) {
    variables.insert(variables.end(), {"G_SLICE=always-malloc", "G_DEBUG=gc-friendly",
                                       "ASAN_OPTIONS=fast_unwind_on_malloc=0:malloc_context_size=8",
                                       "LSAN_OPTIONS=suppressions=" + suppressions + ":print_suppressions=0"});
    return variables;
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    std::string line;
    while (std::getline(stream, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

}  // namespace testing_support
