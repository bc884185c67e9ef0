// gtk_end_to_end_test.cpp -- the built program on a virtual display, its GTK dialogs driven by xdotool
//
// Runs under xvfb-run (no window manager). Every step waits for a window by its title, within a time
// limit, before it types; a failing test leaves a screenshot of the display in the build folder.
#include "support/crc_forge.h"
#include "support/temp_folder.h"
#include "support/x_window.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>
#include <thread>

namespace {

using steady = std::chrono::steady_clock;

// A sanitized GTK start on a busy machine takes seconds, not tens; so does the end of the process
// after the last answer, leak check included.
const int window_seconds = 30;
const auto retry_interval = std::chrono::seconds(3); // see accept
const auto poll_interval = std::chrono::milliseconds(50);

const char *const target_title = "Load file to be patched";
const char *const patch_title = "Load IPS file";
const char *const save_title = "Save patched file";

std::string shell_quoted(const std::string &text)
{
    return "'" + text + "'"; // the tests' paths and patterns hold no quote
}

// Runs a shell command; true when it succeeded. What it printed goes to output, without the final
// line ends.
bool run(const std::string &command, std::string &output)
{
    output.clear();
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return false;
    char chunk[256];
    size_t count;
    while ((count = fread(chunk, 1, sizeof chunk, pipe)) > 0)
        output.append(chunk, count);
    int status = pclose(pipe);
    while (!output.empty() && output.back() == '\n')
        output.pop_back();
    return status == 0;
}

std::string output_of(const std::string &command)
{
    std::string text;
    run(command, text);
    return text;
}

bool succeeds(const std::string &command)
{
    return std::system(command.c_str()) == 0;
}

std::vector<std::string> lines_of(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            lines.push_back(line);
    return lines;
}

// Polls done until it holds or the time for a window is up; whether it held.
template <class F> bool wait_until(F done)
{
    steady::time_point deadline = steady::now() + std::chrono::seconds(window_seconds);
    while (!done()) {
        if (steady::now() > deadline)
            return false;
        std::this_thread::sleep_for(poll_interval);
    }
    return true;
}

// The visible windows. xdotool gives up with an X error when a window goes while it looks at it
// (GTK's windows come and go all the time), so the search is repeated until one goes through.
std::set<std::string> visible_windows()
{
    std::string text;
    for (int attempt = 0; attempt < 20; attempt++) {
        if (run("xdotool search --onlyvisible --name '' 2>/dev/null", text))
            break;
        text.clear();
        std::this_thread::sleep_for(poll_interval);
    }
    std::vector<std::string> ids = lines_of(text);
    return std::set<std::string>(ids.begin(), ids.end());
}

// Waits for a visible window whose whole title matches pattern; "" when none came in time.
std::string wait_window(const std::string &pattern)
{
    steady::time_point deadline = steady::now() + std::chrono::seconds(window_seconds);
    while (steady::now() < deadline) {
        long left = std::chrono::duration_cast<std::chrono::seconds>(deadline - steady::now()).count();
        std::string text;
        run("timeout " + std::to_string(left + 1) + " xdotool search --sync --onlyvisible --name " +
                shell_quoted("^(" + pattern + ")$") + " 2>/dev/null",
            text);
        std::vector<std::string> ids = lines_of(text);
        if (!ids.empty())
            return ids.front();
        std::this_thread::sleep_for(poll_interval); // the search failed on a window that went
    }
    return "";
}

const char *const dialog_type = "_NET_WM_WINDOW_TYPE_DIALOG";
const char *const completion_list_type = "_NET_WM_WINDOW_TYPE_COMBO";

// A window of the type now visible that was not among before; "" when there is none.
std::string new_window(const std::set<std::string> &before, const char *type = dialog_type)
{
    for (const std::string &id : visible_windows())
        if (!before.count(id) && window_has_type(std::stoul(id), type))
            return id;
    return "";
}

// Waits for a new window of the type; GTK's replace question and completion list have no title of
// their own to wait for.
std::string wait_new_window(const std::set<std::string> &before, const char *type = dialog_type)
{
    std::string id;
    wait_until([&] { return !(id = new_window(before, type)).empty(); });
    return id;
}

bool wait_gone(const std::string &id)
{
    return wait_until([&] { return !visible_windows().count(id); });
}

std::string title_of(const std::string &id)
{
    return output_of("xdotool getwindowname " + id + " 2>/dev/null");
}

bool press(const std::string &id, const std::string &keys)
{
    return succeeds("xdotool windowfocus --sync " + id + " key --clearmodifiers " + keys);
}

// Types a full path into a chooser: Ctrl+L opens its location field, where a bare name would
// start GTK's search instead. The name is not accepted yet.
bool type_path(const std::string &id, const std::string &path)
{
    return succeeds("xdotool windowfocus --sync " + id + " key --clearmodifiers ctrl+l type --delay 10 " +
                    shell_quoted(path));
}

// Presses Return in a chooser until it answers: it goes, or shows a dialog of its own (the replace
// question, a box). Right after a name was typed the chooser may not take the key yet: its Save
// button stays off until it has looked at the name, and a completion list takes the key to close
// itself. A key pressed once more after the chooser has answered goes nowhere, as the chooser is
// then gone or held behind its modal question.
bool accept(const std::string &chooser, const std::set<std::string> &before)
{
    steady::time_point deadline = steady::now() + std::chrono::seconds(window_seconds);
    while (steady::now() < deadline) {
        if (!visible_windows().count(chooser) || !new_window(before).empty())
            return true;
        if (!press(chooser, "Return"))
            return !visible_windows().count(chooser);
        steady::time_point retry = steady::now() + retry_interval;
        while (steady::now() < retry && visible_windows().count(chooser) && new_window(before).empty())
            std::this_thread::sleep_for(poll_interval);
    }
    return false;
}

enum display_choice { keep_display, no_display, unreachable_display };

class gtk_run : public testing::Test {
protected:
    void SetUp() override
    {
        folder = make_temp_folder();
        home = make_temp_folder();
        write_bytes(path("game.bin"), image);
        write_bytes(path("fix.ips"), make_patch({0x00, 0x00, 0x10, 0x00, 0x01, 0x99}));
    }

    void TearDown() override
    {
        if (HasFailure()) {
            const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
            std::string name = std::string(test->test_suite_name()) + "." + test->name();
            for (char &c : name)
                if (c == '/')
                    c = '-';
            succeeds("import -window root " + shell_quoted(std::string(SCREENSHOT_FOLDER "/") + name + ".png"));
        }
        if (pid > 0) { // still running after a failure: it was started here, so it is ended here
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        remove_tree(folder);
        remove_tree(home);
    }

    std::string path(const std::string &name) const { return folder + "/" + name; }

    // Starts the program in the test folder, on the virtual display unless told otherwise.
    void start(display_choice display = keep_display, const std::string &input = "")
    {
        write_bytes(home + "/in", bytes(input.begin(), input.end()));
        pid = fork();
        if (pid != 0)
            return;
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        dup2(open((home + "/in").c_str(), O_RDONLY), 0);
        dup2(open((home + "/out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 1);
        dup2(open((home + "/err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644), 2);
        // A home and settings of the test's own; no accessibility bus, no session bus to ask.
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
        setenv("GSETTINGS_BACKEND", "memory", 1);
        setenv("NO_AT_BRIDGE", "1", 1);
        // GTK and its libraries keep their caches until exit; the program's own leaks still count.
        setenv("LSAN_OPTIONS", "suppressions=" LEAK_SUPPRESSIONS ":print_suppressions=0", 1);
        unsetenv("WAYLAND_DISPLAY");
        if (display == no_display)
            unsetenv("DISPLAY");
        if (display == unreachable_display)
            setenv("DISPLAY", ":9999", 1); // no server listens there
        execl(PATCHER_EXE, PATCHER_EXE, static_cast<char *>(nullptr));
        _exit(127);
    }

    // Waits for the program to end; its exit code, or -1 when it crashed or did not end in time
    // (it is then ended here).
    int finish()
    {
        int status = 0;
        bool ended = wait_until([&] { return waitpid(pid, &status, WNOHANG) == pid; });
        if (!ended) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
        pid = 0;
        return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string text_of(const char *name) const
    {
        bytes b = read_bytes(home + "/" + name);
        return std::string(b.begin(), b.end());
    }

    // Waits for the window titled title. The boxes that the program shows on the way for a made-up
    // image (an unrecognised source or result) are acknowledged.
    std::string reach(const std::string &title)
    {
        for (int boxes = 0; boxes < 3; boxes++) {
            std::string id =
                wait_window(title + "|Unrecognized source file|Unrecognized patch");
            if (id.empty() || title_of(id) == title)
                return id;
            if (!press(id, "Return") || !wait_gone(id))
                return "";
        }
        return "";
    }

    // Types the path into the chooser and accepts it.
    bool accept_path(const std::string &chooser, const std::string &file)
    {
        std::set<std::string> before = visible_windows();
        return type_path(chooser, file) && accept(chooser, before);
    }

    // Chooses the file in the chooser and waits for the chooser to go.
    bool choose(const std::string &title, const std::string &file)
    {
        std::string chooser = reach(title);
        return !chooser.empty() && accept_path(chooser, file) && wait_gone(chooser);
    }

    // Runs the program up to the dialog titled title, choosing game.bin and fix.ips on the way.
    std::string open_dialog(const std::string &title)
    {
        start();
        if (title == target_title)
            return reach(target_title);
        if (!choose(target_title, path("game.bin")))
            return "";
        if (title == patch_title)
            return reach(patch_title);
        if (!choose(patch_title, path("fix.ips")))
            return "";
        return reach(save_title);
    }

    bytes patched() const
    {
        bytes b = image;
        b[0x10] = 0x99;
        return b;
    }

    std::string folder, home;
    pid_t pid = 0;
    bytes image = bytes(0x40000, 0x11);
};

// The example of the README: the made-up cartridge and its English patch, saved under a name typed
// without an extension. Without a clipboard manager the selection lives as long as the program: the
// CRCs of the unrecognised source and result are read while the next dialog is open, and the
// clipboard is empty once the program has ended.
TEST_F(gtk_run, whole_run_with_the_examples_leaves_each_crc_on_the_clipboard_and_writes_the_image)
{
    ASSERT_TRUE(succeeds("bash " EXAMPLES_SCRIPT " " + shell_quoted(folder) + " >/dev/null"));
    const bytes source = read_bytes(path("demo-cartridge.bin"));
    ASSERT_EQ(source.size(), 0x40000u);
    const std::string french = "BONJOUR, AVENTURIER !", english = "HELLO, ADVENTURER!   ";
    ASSERT_EQ(std::string(source.begin() + 0x200, source.begin() + 0x215), french);
    bytes expected = source;
    std::copy(english.begin(), english.end(), expected.begin() + 0x200);
    std::fill(expected.begin() + 0x300, expected.begin() + 0x310, 0);
    const std::string clipboard = "timeout 10 xclip -o -selection clipboard 2>/dev/null";

    start();
    ASSERT_TRUE(choose(target_title, path("demo-cartridge.bin")));
    std::string chooser = reach(patch_title); // past the "Unrecognized source file" box
    ASSERT_FALSE(chooser.empty());
    EXPECT_EQ(output_of(clipboard), crc_text(zlib_crc32(source)));
    ASSERT_TRUE(accept_path(chooser, path("demo-english.ips")));
    ASSERT_TRUE(wait_gone(chooser));
    std::string save = reach(save_title); // past the "Unrecognized patch" box
    ASSERT_FALSE(save.empty());
    EXPECT_EQ(output_of(clipboard), crc_text(zlib_crc32(expected)));
    ASSERT_TRUE(accept_path(save, path("translated")));
    ASSERT_TRUE(wait_gone(save));
    EXPECT_EQ(finish(), 0);

    EXPECT_EQ(read_bytes(path("translated.bin")), expected);
    EXPECT_EQ(output_of(clipboard), "");
    EXPECT_EQ(text_of("out"), "");
    EXPECT_NE(text_of("err").find("Copied to clipboard: " + crc_text(zlib_crc32(expected))),
              std::string::npos);
    EXPECT_EQ(text_of("err").find("File name ("), std::string::npos) << "the terminal was asked";
}

// GTK's open chooser returns any name typed in its location field; a missing one is refused in
// a box over the chooser, which stays open for another choice.
TEST_F(gtk_run, an_open_chooser_takes_only_an_existing_file)
{
    start();
    std::string chooser = reach(target_title);
    ASSERT_FALSE(chooser.empty());
    std::set<std::string> before = visible_windows();
    ASSERT_TRUE(type_path(chooser, path("nothere.bin")));
    ASSERT_TRUE(accept(chooser, before));
    std::string box = new_window(before);
    ASSERT_FALSE(box.empty()) << "the missing name was taken";
    ASSERT_TRUE(press(box, "Return"));
    ASSERT_TRUE(wait_gone(box));
    ASSERT_TRUE(visible_windows().count(chooser)) << "the chooser closed on a missing name";

    ASSERT_TRUE(accept_path(chooser, path("game.bin")));
    ASSERT_TRUE(wait_gone(chooser));
    std::string patch_chooser = reach(patch_title); // the run went on with game.bin
    ASSERT_FALSE(patch_chooser.empty());
    ASSERT_TRUE(press(patch_chooser, "Escape"));
    EXPECT_EQ(finish(), 0);
    EXPECT_EQ(folder_entries(folder), (std::vector<std::string>{"fix.ips", "game.bin"}));
}

struct cancel_case {
    const char *dialog;
    const char *how;
};

class gtk_cancel : public gtk_run, public testing::WithParamInterface<cancel_case> {};

TEST_P(gtk_cancel, ends_the_run_and_writes_nothing)
{
    std::string dialog = open_dialog(GetParam().dialog);
    ASSERT_FALSE(dialog.empty());
    std::string how = GetParam().how;
    if (how == "window button")
        ASSERT_TRUE(press_window_close_button(std::stoul(dialog)));
    else
        ASSERT_TRUE(press(dialog, how == "Escape" ? "Escape" : "alt+c"));
    EXPECT_EQ(finish(), 0);
    EXPECT_EQ(folder_entries(folder), (std::vector<std::string>{"fix.ips", "game.bin"}));
    EXPECT_EQ(text_of("err").find("File name ("), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(each_dialog, gtk_cancel,
                         testing::Values(cancel_case{target_title, "Escape"},
                                         cancel_case{patch_title, "Cancel button"},
                                         cancel_case{save_title, "window button"},
                                         cancel_case{target_title, "window button"},
                                         cancel_case{save_title, "Escape"}));

struct replace_case {
    const char *label;
    const char *typed;   // the name typed in the save chooser, old.bin and older.bin being there
    const char *answer;  // the key given to the replace question
    bool replaced;
    bool program_asks;   // the extension is the program's to add, and so is the question
};

class gtk_replace : public gtk_run, public testing::WithParamInterface<replace_case> {};

// GTK asks about the name as typed; the name that gets the pattern's extension added afterwards is
// asked about by the program, in GTK's words. Declining goes back to the chooser, which is then
// cancelled. "old" begins both old.bin and older.bin, so GTK lists them to complete the name; a Return
// would take old.bin from the list and GTK would ask itself. The list is closed first, so that the
// typed "old" is what the chooser hands over.
TEST_P(gtk_replace, an_existing_file_is_replaced_only_when_the_user_says_so)
{
    const replace_case &c = GetParam();
    const bytes old_content(0x40000, 0x22);
    write_bytes(path("old.bin"), old_content);
    write_bytes(path("older.bin"), bytes{1});

    std::string chooser = open_dialog(save_title);
    ASSERT_FALSE(chooser.empty());
    std::set<std::string> before = visible_windows();
    ASSERT_TRUE(type_path(chooser, path(c.typed)));
    if (c.program_asks) {
        std::string list = wait_new_window(before, completion_list_type);
        ASSERT_FALSE(list.empty()) << "GTK listed no completions for old";
        ASSERT_TRUE(press(chooser, "Escape"));
        ASSERT_TRUE(wait_gone(list));
    }
    ASSERT_TRUE(accept(chooser, before));
    std::string question = wait_new_window(before);
    ASSERT_FALSE(question.empty()) << "no replace question";
    ASSERT_NE(title_of(question), save_title);
    ASSERT_TRUE(press(question, c.answer));
    ASSERT_TRUE(wait_gone(question));
    if (!c.replaced) {
        ASSERT_TRUE(visible_windows().count(chooser)) << "declining closed the chooser";
        ASSERT_TRUE(press(chooser, "Escape"));
    }
    EXPECT_EQ(finish(), 0);
    EXPECT_EQ(read_bytes(path("old.bin")), c.replaced ? patched() : old_content);
    EXPECT_EQ(folder_entries(folder),
              (std::vector<std::string>{"fix.ips", "game.bin", "old.bin", "older.bin"}));
}

INSTANTIATE_TEST_SUITE_P(
    typed_names, gtk_replace,
    testing::Values(replace_case{"exact_name_replaced", "old.bin", "alt+r", true, false},
                    replace_case{"exact_name_kept", "old.bin", "Escape", false, false},
                    replace_case{"name_without_extension_replaced", "old", "Return", true, true},
                    replace_case{"name_without_extension_kept", "old", "alt+c", false, true}),
    [](const testing::TestParamInfo<replace_case> &info) { return info.param.label; });

// With no display to open, the same program asks on the terminal and never shows a window.
TEST_F(gtk_run, without_a_display_the_terminal_asks)
{
    const struct {
        const char *label;
        display_choice display;
    } cases[] = {{"DISPLAY unset", no_display}, {"DISPLAY names no server", unreachable_display}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.label);
        remove_tree(path("patched.bin"));
        start(c.display, "game.bin\n\nfix.ips\n\npatched\n"); // Enter after each unrecognised box
        EXPECT_EQ(finish(), 0);
        EXPECT_EQ(read_bytes(path("patched.bin")), patched());
        EXPECT_EQ(text_of("err").rfind("Load file to be patched\nFile name (*): ", 0), 0u)
            << text_of("err");
    }
}

} // namespace
