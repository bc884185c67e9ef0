// scenarios_desktop_test.cpp -- every scenario through a desktop front end's real dialogs on a
// virtual display, driven by xdotool and read by xclip as a user would drive and read them
//
// The front end is the built GTK program, or with PATCHER_WINE_EXE set that patcher.exe under wine
// (in the wine prefix the environment names). Runs under xvfb-run without a window manager. Every
// step waits for its window by title, within a time limit; a failing scenario leaves a screenshot
// of the display in the build folder.
#include "support/scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <set>
#include <sstream>
#include <thread>

namespace {

using steady = std::chrono::steady_clock;
const auto window_time = std::chrono::seconds(60); // a sanitized GTK or a wine start on a busy machine
const auto retry_interval = std::chrono::seconds(3); // see answer
const char *const wine_exe = std::getenv("PATCHER_WINE_EXE");
const char *const replace_keys[2][2] = {{"alt+r", "Escape"}, {"y", "n"}}; // yes and no: GTK's, Win32's
using window_ids = std::set<unsigned long>;

// The scenarios' names and titles hold no quote, so one pair of them quotes any for the shell.
std::string quoted(const std::string &text) { return "'" + text + "'"; }

// What a shell command printed, without its last line end.
std::string output_of(const std::string &command)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    for (int c; pipe && (c = std::fgetc(pipe)) != EOF;)
        output += static_cast<char>(c);
    if (pipe)
        pclose(pipe);
    return output.substr(0, output.find_last_not_of('\n') + 1);
}

// Polls done until it holds or the time for a window (or limit) is up; whether it held.
template <class F> bool wait_until(F done, steady::duration limit = window_time)
{
    for (steady::time_point deadline = steady::now() + limit; !done();) {
        if (steady::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

// The visible windows whose whole title matches pattern; X hands out ids in increasing order, so
// the last is the newest. A search that fails on a window going away counts as "none yet".
window_ids windows(const std::string &pattern = "")
{
    std::istringstream out(output_of("xdotool search --onlyvisible --name " +
                                     quoted(pattern.empty() ? "" : "^(" + pattern + ")$") + " 2>/dev/null"));
    return window_ids{std::istream_iterator<unsigned long>(out), std::istream_iterator<unsigned long>()};
}

// A dialog window not among before: GTK's replace question has no title to wait for.
unsigned long new_dialog(const window_ids &before)
{
    for (unsigned long id : windows())
        if (!before.count(id) && output_of("xprop -id " + std::to_string(id) + " _NET_WM_WINDOW_TYPE")
                                         .find("_NET_WM_WINDOW_TYPE_DIALOG") != std::string::npos)
            return id;
    return 0;
}

// Focuses the window and hands it xdotool's commands, such as "key Return" or "type NAME".
bool send(unsigned long id, const std::string &commands)
{
    std::string command = "xdotool windowfocus --sync " + std::to_string(id) + " " + commands;
    return std::system(command.c_str()) == 0;
}

// Types text into the focused field. Names outside the keymap go through the clipboard: xdotool
// maps a spare key to each such character, and wine misses some of those keys.
bool type_text(unsigned long id, const std::string &text)
{
    if (std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; }))
        return send(id, "type --delay 20 " + quoted(text));
    return std::system(("printf %s " + quoted(text) + " | xclip -i -selection clipboard").c_str()) == 0 &&
           send(id, "key --clearmodifiers ctrl+v");
}

// Types the name into a dialog and confirms it. The Win32 dialog starts in the program's folder.
// GTK's location field (Ctrl+L) takes a full path where a bare name would start a search, and may
// hold the pattern's extension already. Right after a name was typed a GTK chooser may not take
// Return yet (its button stays off until it has looked at the name, and a completion list takes
// the key to close itself), so Return is pressed again until the chooser goes or asks.
bool answer(unsigned long dialog, const std::string &folder, const std::string &name)
{
    if (wine_exe)
        return type_text(dialog, name) && send(dialog, "key Return");
    window_ids before = windows();
    if (!send(dialog, "key --clearmodifiers ctrl+l ctrl+a") || !type_text(dialog, folder + "/" + name))
        return false;
    auto answered = [&] { return !windows().count(dialog) || new_dialog(before); };
    return wait_until([&] {
        return answered() || (send(dialog, "key Return") && wait_until(answered, retry_interval));
    });
}

// Plays the scenario; "" when every window came as it should, otherwise the first that did not.
std::string play(const scenario &s, const std::string &folder)
{
    std::string clipboard; // read once the next window shows: GTK holds it only while it runs
    window_ids before;
    for (const scenario_step &step : s.steps) {
        unsigned long id = 0;
        if (step.kind == "clipboard") {
            clipboard = step.text;
            continue;
        }
        wait_until([&] {
            if (step.kind == "replace" && !wine_exe)
                return (id = new_dialog(before)) != 0;
            // Windows asks about replacing under the save dialog's title, once that has closed.
            window_ids titled = windows(step.kind == "replace" ? "Save patched file" : step.title);
            for (unsigned long each : titled)
                id = step.kind != "replace" || !before.count(each) ? each : id;
            return id != 0;
        });
        if (!id)
            return "no window for " + step.kind + " " + step.title + step.answer;
        std::string held = clipboard.empty() ? "" : output_of("timeout 10 xclip -o -selection clipboard");
        if (held != clipboard)
            return "the clipboard holds \"" + held + "\", not " + clipboard;
        clipboard.clear();
        auto gone = [&] { return !windows().count(id); };
        before = windows();
        // "default" is the answer Return gives, which must be the safe one.
        const char *key = step.kind == "box" || step.answer == "default"
                              ? "Return"
                              : replace_keys[!!wine_exe][step.answer == "no"];
        auto cancelled = [&] { // the first Escape may only close GTK's location field
            return gone() || (send(id, "key --clearmodifiers Escape") && wait_until(gone, retry_interval));
        };
        bool done = step.kind == "box" || step.kind == "replace"
                        ? send(id, std::string("key --clearmodifiers ") + key) && wait_until(gone)
                    : step.answer == "-" ? wait_until(cancelled)
                                         : answer(id, folder, step.answer);
        if (!done)
            return "could not answer " + step.kind + " " + step.title;
    }
    return "";
}

// Runs the scenario on the front end once, in a fresh folder, with the command line's arguments;
// the failure, or "" when it passed.
std::string run_once(const scenario &s, const std::string &arguments, int status)
{
    std::string folder = make_temp_folder(), io = make_temp_folder();
    write_scenario_files(s, folder);
    // GTK gets a home and settings of the test's own, and no accessibility or session bus to ask.
    // It keeps its caches until exit; the program's own leaks still count.
    if (wine_exe)
        start_program("wine '" + std::string(wine_exe) + "' " + arguments, folder, "", io, "LC_ALL=C.UTF-8");
    else
        start_program(PATCHER_EXE " " + arguments, folder, "", io,
                      "-u WAYLAND_DISPLAY HOME=" + io + " XDG_RUNTIME_DIR=" + io +
                          " GSETTINGS_BACKEND=memory NO_AT_BRIDGE=1"
                          " LSAN_OPTIONS=suppressions=" LEAK_SUPPRESSIONS ":print_suppressions=0");
    std::string problem = play(s, folder);
    int code = finish_program(io);
    if (status < 0)
        status = s.saved.empty() ? 1 : 0; // 0 only when the result was written
    if (problem.empty() && code != status)
        problem = "exit code " + std::to_string(code);
    problem += problem.empty() ? folder_problems(s, folder) : "";
    if (!problem.empty()) {
        problem += "; the program said: " + text_file(io + "/err");
        std::system(("import -window root " + quoted(SCREENSHOT_FOLDER "/" + s.name + ".png")).c_str());
    }
    remove_tree(folder);
    remove_tree(io);
    return problem;
}

// Runs the scenario, once more after a failure: a virtual display under load now and then loses a
// key or a start. A fault of the program fails both times.
std::string run_scenario(const scenario &s, const std::string &arguments = "", int status = -1)
{
    std::string first = run_once(s, arguments, status);
    if (!first.empty())
        std::fprintf(stderr, "%s failed once, tried again: %s\n", s.name.c_str(), first.c_str());
    return first.empty() || run_once(s, arguments, status).empty() ? "" : first;
}

} // namespace

TEST(scenarios, desktop)
{
    for (scenario s : load_scenarios()) {
        EXPECT_EQ(run_scenario(s), "") << s.name;
        // Files given in either order are the core's to sort (command_line_test plays both orders);
        // a desktop run with files given is played below, with an OUTPUT given too.
        if (s.name == "replace_declined_keeps_the_old_file") { // Return declines, in the dialog and
            for (scenario_step &step : s.steps)                // for an OUTPUT given to the program
                step.answer = step.kind == "replace" ? "default" : step.answer;
            EXPECT_EQ(run_scenario(s), "") << s.name << " by Return";
            s.steps.erase(std::remove_if(s.steps.begin(), s.steps.end(), [](const scenario_step &step) {
                              return step.kind != "box" && step.kind != "clipboard";
                          }), s.steps.end()); // the boxes of the run, then the question alone
            s.steps.push_back({"replace", "", "", "default", ""});
            EXPECT_EQ(run_scenario(s, "game.bin fix.ips out.bin"), "") << s.name << " given, by Return";
        }
        if (s.name != "replace_accepted_writes_the_result" || wine_exe)
            continue;
        // GTK asks exactly when the file to be written exists: "out" typed beside a file out
        // writes out.bin, asking once when out.bin is there too, and not at all without it.
        s.files.push_back({"out", s.files.back().second});
        EXPECT_EQ(run_scenario(s), "") << s.name << " beside out";
        s.files.erase(s.files.end() - 2);
        s.steps.pop_back();
        EXPECT_EQ(run_scenario(s), "") << s.name << " with out alone";
    }
}

// Started from a file manager with two patches, nobody reads standard error: the reason is boxed,
// and the exit status says it was a usage error.
TEST(scenarios, desktop_usage_error)
{
    const bytes patch = make_patch({0x00, 0x00, 0x10, 0x00, 0x01, 0x99});
    scenario s = {"usage_error", {{"a.ips", patch}, {"b.ips", patch}},
                  {{"box", "Error", "two patches: b.ips", "", ""}}, {}};
    EXPECT_EQ(run_scenario(s, "a.ips b.ips", 2), "");
}
