#pragma once
// Test support: running the real programs (zr740, zr740sim) as child processes.
#include <signal.h>

#include "tests/core/TestFiles.h"

namespace session_test {

namespace fs = std::filesystem;
inline const fs::path kProgramDir = ZR740_PROGRAM_DIR;

struct Finished {
    int exitCode = -1;
    std::string errors;  // standard error
};

// Runs a program to its end with standard error captured (arguments must hold no quote).
inline Finished RunProgram(const std::vector<std::string>& args)
{
    std::string command = "exec";
    for (const std::string& a : args)
        command += " '" + a + "'";
    const testfiles::Ran ran = testfiles::Shell(command + " 2>&1 >/dev/null");
    return {ran.exitCode, ran.out};
}

// zr740sim in the background until the object goes; its first output line names its pseudo-terminal.
// With `errors`, its standard error goes to that file (the --verbose log of what it received).
class Sim {
public:
    explicit Sim(std::vector<std::string> options, const std::string& errors = {})
    {
        options.insert(options.begin(), (kProgramDir / "zr740sim").string());
        std::vector<char*> argv;
        for (std::string& a : options)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        int fds[2];
        if (pipe(fds) != 0)
            return;
        if ((pid_ = fork()) == 0) {
            dup2(fds[1], STDOUT_FILENO), close(fds[0]), close(fds[1]);
            if (!errors.empty())
                freopen(errors.c_str(), "w", stderr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(fds[1]);
        for (char c; read(fds[0], &c, 1) == 1 && c != '\n';)
            device_ += c;
        close(fds[0]);
    }
    ~Sim()
    {
        if (pid_ > 0)
            kill(pid_, SIGTERM), waitpid(pid_, nullptr, 0);
    }
    const std::string& device() const { return device_; }

private:
    pid_t pid_ = 0;
    std::string device_;
};

}  // namespace session_test
