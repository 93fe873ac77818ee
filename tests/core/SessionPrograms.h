#pragma once
// Test support: running the real programs (zr740, zr740sim) as child processes.
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

// Starts args[0] with the given output (STDOUT_FILENO or STDERR_FILENO) on a pipe; returns the
// process id (0 on failure) and the pipe's reading end.
inline pid_t Spawn(const std::vector<std::string>& args, int output, int& readEnd)
{
    int fds[2];
    if (pipe(fds) != 0)
        return 0;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], output);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
        pid = 0;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    readEnd = fds[0];
    return pid;
}

struct Finished {
    int exitCode = -1;
    std::string errors;  // standard error
};

// Runs a program to its end with standard error captured.
inline Finished RunProgram(const std::vector<std::string>& args)
{
    int readEnd = -1;
    const pid_t pid = Spawn(args, STDERR_FILENO, readEnd);
    Finished result;
    char buffer[512];
    ssize_t n;
    while ((n = read(readEnd, buffer, sizeof buffer)) > 0)
        result.errors.append(buffer, static_cast<std::size_t>(n));
    close(readEnd);
    int status = 0;
    if (pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        result.exitCode = WEXITSTATUS(status);
    return result;
}

// zr740sim in the background, stopped when the object goes. Its first output line is the
// pseudo-terminal's device.
class Sim {
public:
    explicit Sim(std::vector<std::string> options)
    {
        options.insert(options.begin(), (kProgramDir / "zr740sim").string());
        int readEnd = -1;
        pid_ = Spawn(options, STDOUT_FILENO, readEnd);
        char c;
        while (read(readEnd, &c, 1) == 1 && c != '\n')
            device_ += c;
        close(readEnd);
    }
    ~Sim()
    {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& device() const { return device_; }

private:
    pid_t pid_ = 0;
    std::string device_;
};

}  // namespace session_test
