// scenarios_terminal_test.cpp -- every scenario through the built program's terminal front end
//
// The answers are all of standard input, one line each; what the program says on standard error
// must be exactly what the scenario's steps say, in order. The display it is given names no
// server, so a program built with the desktop back end proves its fall-back to the terminal too.
#include "support/scenario.h"

#include <gtest/gtest.h>

TEST(scenarios, terminal)
{
    for (const scenario &s : load_scenarios()) {
        SCOPED_TRACE(s.name);
        std::string folder = make_temp_folder(), io = make_temp_folder(), input, said, last_name;
        write_scenario_files(s, folder);
        for (size_t i = 0; i < s.steps.size(); i++) {
            const scenario_step &step = s.steps[i];
            if (step.kind == "open" || step.kind == "save") {
                bool asked_again = i > 0 && s.steps[i - 1].answer == "no"; // after a declined replace
                said += (asked_again ? "" : step.title + "\n") + "File name (" + step.pattern + "): ";
                input += (step.answer == "-" ? "" : step.answer) + "\n";
                bool extended = step.kind == "save" && step.answer.find('.') == std::string::npos;
                last_name = step.answer + (extended ? step.pattern.substr(1) : "");
            } else if (step.kind == "replace") {
                said += last_name + " already exists. Replace it? [y/N] ";
                input += step.answer == "yes" ? "y\n" : "n\n";
            } else if (step.kind == "box") {
                said += step.title + "\n" + step.text + "\nPress Enter to continue.\n";
                input += "\n";
            } else {
                said += "Copied to clipboard: " + step.text + "\n";
            }
        }
        start_program(PATCHER_EXE, folder, input, io, "-u WAYLAND_DISPLAY DISPLAY=:9999"); // no server
        EXPECT_EQ(finish_program(io), s.saved.empty() ? 1 : 0); // 0 only when the result was written
        EXPECT_EQ(text_file(io + "/err"), said);
        EXPECT_EQ(text_file(io + "/out"), "");
        EXPECT_EQ(folder_problems(s, folder), "");
        remove_tree(folder);
        remove_tree(io);
    }
}
