// scenarios_scripted_test.cpp -- every scenario through run_patcher itself, on the scripted back end
//
// The back end records each dialog, box and clipboard text in order, so this driver sees the order
// of everything the program shows, the clipboard among it. It has no replace question of its own: a
// declined name is simply never handed over.
#include "support/scenario.h"
#include "support/working_folder.h"
#include "workflow/platform_scripted.h"
#include "workflow/run_patcher.h"

#include <gtest/gtest.h>

TEST(scenarios, scripted)
{
    for (const scenario &s : load_scenarios()) {
        SCOPED_TRACE(s.name);
        working_folder folder;
        write_scenario_files(s, folder.path);
        script_reset();
        std::vector<std::string> expected;
        for (size_t i = 0; i < s.steps.size(); i++) {
            const scenario_step &step = s.steps[i];
            if (step.kind == "open" || step.kind == "save") {
                if (declined_save(s, i))
                    continue;
                script_answer(step.answer == "-" ? "" : step.answer);
                expected.push_back(step.kind + "|" + step.title + "|" + step.pattern);
            } else if (step.kind != "replace") {
                expected.push_back(step.kind + "|" + step.title + "|" + step.text);
            }
        }
        EXPECT_EQ(run_patcher(), s.saved.empty() ? 0 : 1);
        EXPECT_EQ(script_transcript(), expected);
        EXPECT_EQ(folder_problems(s, folder.path), "");
    }
}
