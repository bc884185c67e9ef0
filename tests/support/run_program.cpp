// run_program.cpp -- starts the built program as a user would, in a folder, and waits for its end
#include "support/run_program.h"
#include "support/temp_folder.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

pid_t start_program(const std::vector<std::string> &argv, const std::string &folder,
                    const std::string &input, const std::string &io_folder,
                    const std::vector<std::string> &env)
{
    write_bytes(io_folder + "/in", bytes(input.begin(), input.end()));
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    // Only the child runs on from here, and it leaves by exec or _exit.
    const int written = O_WRONLY | O_CREAT | O_TRUNC;
    if (chdir(folder.c_str()) != 0 || dup2(open((io_folder + "/in").c_str(), O_RDONLY), 0) < 0 ||
        dup2(open((io_folder + "/out").c_str(), written, 0644), 1) < 0 ||
        dup2(open((io_folder + "/err").c_str(), written, 0644), 2) < 0)
        _exit(127);
    for (const std::string &setting : env) {
        size_t equals = setting.find('=');
        if (equals == std::string::npos)
            unsetenv(setting.c_str());
        else
            setenv(setting.substr(0, equals).c_str(), setting.c_str() + equals + 1, 1);
    }
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
}

int finish_program(pid_t pid, int seconds)
{
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (waitpid(pid, &status, WNOHANG) != pid) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string text_file(const std::string &path)
{
    bytes b = read_bytes(path);
    return std::string(b.begin(), b.end());
}
