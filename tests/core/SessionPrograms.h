#pragma once
// Test support: starting the real programs (zr740, zr740sim) and waiting for them.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace session_test {

namespace fs = std::filesystem;

inline const fs::path kProgramDir = ZR740_PROGRAM_DIR;

struct Finished {
    int exitCode = -1;
    std::string errors;  // standard error
};

// Runs a program to its end with standard error captured.
inline Finished RunProgram(const std::vector<std::string>& args)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    Finished result;
    if (spawned != 0) {
        close(pipeFds[0]);
        return result;
    }
    char buffer[512];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        result.errors.append(buffer, static_cast<std::size_t>(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// zr740sim running in the background; stopped when the object goes.
class Sim {
public:
    explicit Sim(std::vector<std::string> options)
    {
        int pipeFds[2];
        if (pipe(pipeFds) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
        std::vector<std::string> args = {(kProgramDir / "zr740sim").string()};
        args.insert(args.end(), options.begin(), options.end());
        std::vector<char*> argv;
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        const int spawned = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(pipeFds[1]);
        if (spawned != 0) {
            pid_ = 0;
            close(pipeFds[0]);
            return;
        }
        // The first line is the pseudo-terminal's device.
        char c;
        while (read(pipeFds[0], &c, 1) == 1 && c != '\n')
            device_ += c;
        close(pipeFds[0]);
    }
    ~Sim()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            int status = 0;
            waitpid(pid_, &status, 0);
        }
    }
    const std::string& device() const { return device_; }

private:
    pid_t pid_ = 0;
    std::string device_;
};

}  // namespace session_test
