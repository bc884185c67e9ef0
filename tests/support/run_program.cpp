// run_program.cpp -- starts the built program as a user would, in a folder, and waits for its end
#include "support/run_program.h"
#include "support/temp_folder.h"

#include <chrono>
#include <cstdlib>
#include <thread>

const int time_limit = 120; // seconds: far beyond any whole run, even a sanitized one under wine

void start_program(const std::string &command, const std::string &folder, const std::string &input,
                   const std::string &io_folder, const std::string &env)
{
    write_bytes(io_folder + "/in", bytes(input.begin(), input.end()));
    std::string io = "'" + io_folder + "/"; // the tests' folders hold no quote
    std::system(("cd '" + folder + "' && (env " + env + " timeout -s KILL " + std::to_string(time_limit) + " " +
                 command + " <" + io + "in' >" + io + "out' 2>" + io + "err'; echo $? >" + io + "code.part' && mv " +
                 io + "code.part' " + io + "code') &")
                    .c_str());
}

int finish_program(const std::string &io_folder)
{
    while (read_bytes(io_folder + "/code").empty())
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    int code = std::stoi(text_file(io_folder + "/code"));
    return code > 128 ? -1 : code; // the shell's way of telling that a signal ended it
}

std::string text_file(const std::string &path)
{
    bytes b = read_bytes(path);
    return std::string(b.begin(), b.end());
}
