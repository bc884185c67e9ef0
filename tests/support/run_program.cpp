// run_program.cpp -- runs the built program as a user would, through a shell, and collects the result
#include "support/run_program.h"

#include <algorithm>
#include <filesystem>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

std::string shell_quoted(const std::string &text)
{
    std::string q = "'";
    for (char c : text)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

std::string text_of(const bytes &b)
{
    return std::string(b.begin(), b.end());
}

} // namespace

program_outcome run_program(const program_run &run)
{
    std::string io = make_temp_folder();
    write_bytes(io + "/in", bytes(run.input.begin(), run.input.end()));
    // The watched folder is copied out from inside the namespace, before its mounts vanish. With no
    // display to open the program keeps to the terminal, also when the tests run on a desktop.
    std::string script = "unset DISPLAY WAYLAND_DISPLAY\ncd " + shell_quoted(run.folder) +
                         " || exit 90\n" + run.setup + "\n" +
                         shell_quoted(run.exe) + " <" + shell_quoted(io + "/in") + " >" + shell_quoted(io + "/out") +
                         " 2>" + shell_quoted(io + "/err") + "\necho $? >" + shell_quoted(io + "/rc") + "\n";
    if (!run.watch.empty())
        script += "mkdir " + shell_quoted(io + "/watched") + " && cp -a " + shell_quoted(run.watch) + "/. " +
                  shell_quoted(io + "/watched") + "\n";
    write_bytes(io + "/script", bytes(script.begin(), script.end()));
    std::string command = (run.private_mounts ? "unshare -m sh " : "sh ") + shell_quoted(io + "/script") +
                          " 2>" + shell_quoted(io + "/setup-err");
    std::system(command.c_str());

    program_outcome o{-1, file_exists(io + "/rc"), "", "", {}, {}};
    if (o.started) {
        std::string rc = text_of(read_bytes(io + "/rc"));
        o.exit_code = std::stoi(rc);
        if (o.exit_code > 128)
            o.exit_code = -1; // the shell's way of saying that a signal ended it
        o.out = text_of(read_bytes(io + "/out"));
        o.err = text_of(read_bytes(io + "/err"));
    } else {
        o.err = text_of(read_bytes(io + "/setup-err"));
    }
    if (!run.watch.empty() && file_exists(io + "/watched")) {
        o.watched_names = folder_entries(io + "/watched");
        for (const std::string &name : o.watched_names)
            if (fs::is_regular_file(fs::symlink_status(io + "/watched/" + name)))
                o.watched[name] = read_bytes(io + "/watched/" + name);
    }
    remove_tree(io);
    return o;
}

bool can_mount_privately()
{
    static int known = -1;
    if (known < 0) {
        std::string point = make_temp_folder();
        std::string command = "unshare -m sh -c " +
                              shell_quoted("mount -t tmpfs -o size=64k tmpfs " + shell_quoted(point)) +
                              " >/dev/null 2>&1";
        int status = std::system(command.c_str());
        known = WIFEXITED(status) && WEXITSTATUS(status) == 0;
        remove_tree(point);
    }
    return known == 1;
}
