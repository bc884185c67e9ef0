// scenarios_desktop_test.cpp -- every scenario through a desktop front end's real dialogs on a
// virtual display, driven by xdotool and read by xclip as a user would drive and read them
//
// The front end is the built GTK program, or with PATCHER_WINE_EXE set that patcher.exe under wine
// (in the wine prefix the environment names). Runs under xvfb-run without a window manager. Every
// step waits for its window by title, within a time limit; a failing scenario leaves a screenshot
// of the display in the build folder.
#include "support/run_program.h"
#include "support/scenario.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <thread>

namespace {

using steady = std::chrono::steady_clock;
const auto window_time = std::chrono::seconds(60); // a sanitized GTK or a wine start on a busy machine
const auto retry_interval = std::chrono::seconds(3); // see accept
const auto poll_interval = std::chrono::milliseconds(50);

const char *const wine_exe = std::getenv("PATCHER_WINE_EXE");

std::string quoted(const std::string &text)
{
    return "'" + text + "'"; // the scenarios' names and titles hold no quote
}

// What a shell command printed, without its last line ends; ok tells whether it succeeded.
std::string output_of(const std::string &command, bool *ok = nullptr)
{
    std::string output;
    FILE *pipe = popen(command.c_str(), "r");
    char chunk[256];
    for (size_t count; pipe && (count = fread(chunk, 1, sizeof chunk, pipe)) > 0;)
        output.append(chunk, count);
    int status = pipe ? pclose(pipe) : -1;
    if (ok)
        *ok = status == 0;
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return output;
}

bool succeeds(const std::string &command)
{
    return std::system(command.c_str()) == 0;
}

// Polls done until it holds or the time for a window is up; whether it held.
template <class F> bool wait_until(F done)
{
    steady::time_point deadline = steady::now() + window_time;
    while (!done()) {
        if (steady::now() > deadline)
            return false;
        std::this_thread::sleep_for(poll_interval);
    }
    return true;
}

// The visible windows whose whole title matches pattern, oldest first (X hands out ids in
// increasing order). xdotool gives up when a window goes while it looks, so a failed search is
// taken as "none yet".
std::vector<unsigned long> windows(const std::string &pattern = "")
{
    std::istringstream ids(output_of("xdotool search --onlyvisible --name " +
                                     quoted(pattern.empty() ? "" : "^(" + pattern + ")$") + " 2>/dev/null"));
    std::set<unsigned long> sorted;
    for (unsigned long id; ids >> id;)
        sorted.insert(id);
    return std::vector<unsigned long>(sorted.begin(), sorted.end());
}

bool visible(unsigned long id)
{
    std::vector<unsigned long> all = windows();
    return std::find(all.begin(), all.end(), id) != all.end();
}

// The newest dialog window not among before: GTK's replace question has no title to wait for.
unsigned long new_dialog(const std::vector<unsigned long> &before)
{
    for (unsigned long id : windows())
        if (std::find(before.begin(), before.end(), id) == before.end() &&
            output_of("xprop -id " + std::to_string(id) + " _NET_WM_WINDOW_TYPE 2>/dev/null")
                    .find("_NET_WM_WINDOW_TYPE_DIALOG") != std::string::npos)
            return id;
    return 0;
}

// Waits for the newest window titled title; 0 when none came in time.
unsigned long wait_window(const std::string &title)
{
    std::vector<unsigned long> found;
    wait_until([&] { return !(found = windows(title)).empty(); });
    return found.empty() ? 0 : found.back();
}

bool press(unsigned long id, const std::string &keys)
{
    return succeeds("xdotool windowfocus --sync " + std::to_string(id) + " key --clearmodifiers " + keys);
}

// Types text into the focused field. Names outside the keymap go through the clipboard: xdotool
// maps a spare key to each such character, and wine misses some of those keys.
bool type_text(unsigned long id, const std::string &text)
{
    bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return c >= ' ' && c <= '~'; });
    std::string focus = "xdotool windowfocus --sync " + std::to_string(id);
    if (ascii)
        return succeeds(focus + " type --delay 20 " + quoted(text));
    return succeeds("printf %s " + quoted(text) + " | xclip -i -selection clipboard") &&
           succeeds(focus + " key --clearmodifiers ctrl+v");
}

// Presses Return in a GTK chooser until it answers: it goes, or shows a dialog of its own. Right
// after a name was typed the chooser may not take the key yet (its button stays off until it has
// looked at the name, and a completion list takes the key to close itself).
bool accept(unsigned long chooser, const std::vector<unsigned long> &before)
{
    return wait_until([&] {
        if (!visible(chooser) || new_dialog(before))
            return true;
        press(chooser, "Return");
        steady::time_point retry = steady::now() + retry_interval;
        while (steady::now() < retry && visible(chooser) && !new_dialog(before))
            std::this_thread::sleep_for(poll_interval);
        return false;
    });
}

// Types the name into a dialog and confirms it. GTK's location field (Ctrl+L) takes a full path,
// where a bare name would start a search, and may hold the pattern's extension already; the Win32
// dialog starts in the program's folder.
bool answer(unsigned long dialog, const std::string &folder, const std::string &name)
{
    std::vector<unsigned long> before = windows();
    if (wine_exe)
        return type_text(dialog, name) && press(dialog, "Return");
    return press(dialog, "ctrl+l ctrl+a") && type_text(dialog, folder + "/" + name) && accept(dialog, before);
}

// Plays the scenario; "" when every window came as it should, otherwise the first that did not.
std::string play(const scenario &s, const std::string &folder)
{
    std::string clipboard; // to be read once the next window shows: the program holds it till then
    std::vector<unsigned long> before_question;
    for (const scenario_step &step : s.steps) {
        std::string title = step.kind == "replace" ? "" : step.title;
        unsigned long id = 0;
        if (step.kind == "clipboard") {
            clipboard = step.text;
            continue;
        }
        if (step.kind == "replace" && !wine_exe)
            wait_until([&] { return (id = new_dialog(before_question)) != 0; });
        else if (step.kind == "replace") // Windows asks under the save dialog's own title
            wait_until([&] { return windows("Save patched file").size() > 1 &&
                                    (id = windows("Save patched file").back()) != 0; });
        else
            id = wait_window(title);
        if (!id)
            return "no window for " + step.kind + " " + step.title + step.answer;
        if (!clipboard.empty()) {
            std::string held = output_of("timeout 10 xclip -o -selection clipboard 2>/dev/null");
            if (held != clipboard)
                return "clipboard holds \"" + held + "\", not " + clipboard;
            clipboard.clear();
        }
        before_question = windows();
        bool done = true;
        if (step.kind == "box")
            done = press(id, "Return") && wait_until([&] { return !visible(id); });
        else if (step.kind == "replace")
            done = press(id, wine_exe ? (step.answer == "yes" ? "y" : "n")
                                      : (step.answer == "yes" ? "alt+r" : "Escape")) &&
                   wait_until([&] { return !visible(id); });
        else if (step.answer == "-")
            done = press(id, "Escape");
        else
            done = answer(id, folder, step.answer);
        if (!done)
            return "could not answer " + step.kind + " " + step.title;
    }
    return "";
}

std::vector<std::string> environment(const std::string &home)
{
    if (wine_exe)
        return {"WINEDEBUG=-all", "LC_ALL=C.UTF-8"};
    // A home and settings of the test's own; no accessibility bus, no session bus to ask. GTK
    // keeps its caches until exit; the program's own leaks still count.
    return {"HOME=" + home, "XDG_RUNTIME_DIR=" + home, "GSETTINGS_BACKEND=memory", "NO_AT_BRIDGE=1",
            "WAYLAND_DISPLAY", "LSAN_OPTIONS=suppressions=" LEAK_SUPPRESSIONS ":print_suppressions=0"};
}

// Runs the scenario on the front end; the failure, or "" when it passed.
std::string run_scenario(const scenario &s)
{
    std::string folder = make_temp_folder(), io = make_temp_folder();
    write_scenario_files(s, folder);
    std::vector<std::string> argv = {PATCHER_EXE};
    if (wine_exe)
        argv = {"wine", wine_exe};
    pid_t pid = start_program(argv, folder, "", io, environment(io));
    std::string problem = play(s, folder);
    int code = finish_program(pid, 60);
    if (problem.empty() && code != 0)
        problem = "exit code " + std::to_string(code) + ": " + text_file(io + "/err");
    if (problem.empty())
        problem = folder_problems(s, folder);
    if (!problem.empty()) {
        problem += "; the program said: " + text_file(io + "/err");
        succeeds("import -window root " + quoted(SCREENSHOT_FOLDER "/" + s.name + ".png"));
    }
    remove_tree(folder);
    remove_tree(io);
    return problem;
}

TEST(scenarios, desktop)
{
    const char *only = std::getenv("PATCHER_SCENARIO"); // one scenario alone, when looking into it
    for (const scenario &s : load_scenarios())
        if (!only || s.name == only) {
            EXPECT_EQ(run_scenario(s), "") << s.name;
        }
}

// Names outside ASCII open and save: Windows programs meet them through the code page.
TEST(scenarios, desktop_with_japanese_names)
{
    const std::map<std::string, std::string> names = {
        {"game.bin", "ゲーム.bin"}, {"fix.ips", "日本語パッチ.ips"}, {"out.bin", "完成版.bin"}};
    for (scenario s : load_scenarios())
        if (s.name == "saves_an_unrecognised_result") {
            for (auto &file : s.files)
                file.first = names.at(file.first);
            for (auto &file : s.saved)
                file.first = names.at(file.first);
            for (scenario_step &step : s.steps)
                step.answer = names.count(step.answer) ? names.at(step.answer) : step.answer;
            EXPECT_EQ(run_scenario(s), "");
        }
}

} // namespace
