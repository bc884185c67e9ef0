// scenarios_browser_test.cpp -- every scenario on the browser edition's page, in headless Chromium
// and in headless Firefox ESR
//
// Runs as WebAssembly under Node.js, on the real file system. For each scenario it writes the files
// and the steps (one a line, tab-separated, a line end in a text written \n), and play_scenario.js
// meets the page's dialogs in that order as a user would. The page's saved files land in a folder
// of their own, which must then hold exactly what the scenario saves; the files the user gave the
// page cannot change, as the page only reads them.
#include "support/scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

void play_every_scenario(const std::string &engine)
{
    for (const scenario &s : load_scenarios()) {
        // A download replaces no file, so where the page downloads (Firefox) there is no replace
        // question for a scenario to decline; declining is played where the save picker asks it.
        if (engine == "firefox" && std::any_of(s.steps.begin(), s.steps.end(), [](const scenario_step &step) {
                return step.kind == "replace" && step.answer == "no";
            }))
            continue;
        SCOPED_TRACE(s.name);
        std::string folder = make_temp_folder(), downloads = make_temp_folder(), io = make_temp_folder();
        write_scenario_files(s, folder);
        std::ofstream steps(io + "/steps");
        for (const scenario_step &step : s.steps) {
            std::string text = step.text;
            for (size_t at; (at = text.find('\n')) != std::string::npos;)
                text.replace(at, 1, "\\n");
            steps << step.kind << '\t' << step.title << '\t' << step.pattern << '\t' << step.answer << '\t'
                  << text << '\n';
        }
        steps.close();
        const std::string shot = "'" SCREENSHOT_FOLDER "/" + s.name + "-" + engine + ".png'"; // no quote in names
        const std::string args = "'" + folder + "' '" + io + "/steps' '" + downloads + "' " + shot + " " + engine;
        EXPECT_EQ(std::system(("node '" PLAYER "' '" SITE "' " + args).c_str()), 0);
        EXPECT_EQ(folder_problems({s.name, {}, {}, s.saved}, downloads), "");
        for (const std::string &f : {folder, downloads, io})
            remove_tree(f);
    }
}

} // namespace

TEST(scenarios, chromium)
{
    play_every_scenario("chromium");
}

TEST(scenarios, firefox)
{
    play_every_scenario("firefox");
}
