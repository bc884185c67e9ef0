// platform_scripted.cpp -- the test back end: answers dialogs from a queue and records every event
#include "support/platform_scripted.h"
#include "host/host_services.h"
#include "host/platform.h"

#include <cstdio>
#include <cstring>
#include <deque>
#include <unistd.h>

namespace {

std::deque<std::string> answers;
std::vector<script_event> events;
bool clipboard_fails = false;

// Standard output from a refused clipboard on: the core writes its failure line there, so it is
// caught in a file of its own and read back as "stdout" events before the next event.
FILE *caught = nullptr;
int real_stdout = -1;

void catch_stdout()
{
    std::fflush(stdout);
    caught = std::tmpfile(); // none: the line goes where it always goes, and no event shows it
    if (!caught)
        return;
    real_stdout = dup(fileno(stdout));
    if (real_stdout < 0) { // Emscripten's Node.js file system cannot copy it: the line goes out
        std::fclose(caught);
        caught = nullptr;
        return;
    }
    dup2(fileno(caught), fileno(stdout));
}

void record_stdout()
{
    if (!caught)
        return;
    std::fflush(stdout);
    dup2(real_stdout, fileno(stdout));
    close(real_stdout);
    real_stdout = -1;
    std::rewind(caught);
    char line[256];
    while (std::fgets(line, sizeof line, caught))
        events.push_back({"stdout", "", std::string(line, std::strcspn(line, "\r\n")), ""});
    std::fclose(caught);
    caught = nullptr;
}

void scripted_show_message(const char *text, const char *title)
{
    record_stdout();
    events.push_back({"box", title, text, ""});
}

int32_t answer_dialog(const char *kind, const char *title, const char *pattern,
                      const char *filter_text, char *path, uint32_t capacity)
{
    record_stdout();
    events.push_back({kind, title, pattern, std::string(filter_text, filter_text_size)});
    if (answers.empty())
        return 0;
    std::string name = answers.front();
    answers.pop_front();
    // Like every real save dialog, it gives a name typed without an extension the pattern's.
    const char *extension = std::strchr(pattern, '.');
    if (!name.empty() && std::strcmp(kind, "save") == 0 && extension &&
        name.find('.', name.rfind('/') + 1) == std::string::npos)
        name += extension;
    if (name.empty() || name.size() + 1 > capacity)
        return 0;
    std::memcpy(path, name.c_str(), name.size() + 1);
    return 1;
}

int32_t scripted_choose_to_read(const char *title, const char *pattern, const char *filter_text,
                                char *path, uint32_t capacity)
{
    return answer_dialog("open", title, pattern, filter_text, path, capacity);
}

int32_t scripted_choose_to_write(const char *title, const char *pattern, const char *filter_text,
                                 char *path, uint32_t capacity)
{
    return answer_dialog("save", title, pattern, filter_text, path, capacity);
}

int32_t scripted_put_clipboard_text(const char *text)
{
    record_stdout();
    if (clipboard_fails) {
        catch_stdout();
        return 0;
    }
    events.push_back({"clipboard", "", text, ""});
    return 1;
}

// The replace question takes the next answer: "yes" replaces.
int32_t scripted_confirm_replace(const char *name)
{
    record_stdout();
    events.push_back({"replace", "", name, ""});
    bool yes = !answers.empty() && answers.front() == "yes";
    if (!answers.empty())
        answers.pop_front();
    return yes;
}

const platform_ops scripted_platform = {scripted_show_message, scripted_choose_to_read,
                                        scripted_choose_to_write, scripted_put_clipboard_text,
                                        scripted_confirm_replace};

} // namespace

void script_reset()
{
    record_stdout();
    answers.clear();
    events.clear();
    clipboard_fails = false;
    platform_use(&scripted_platform);
}

void script_answer(const std::string &name)
{
    answers.push_back(name);
}

void script_clipboard_fails(bool fails)
{
    clipboard_fails = fails;
}

const std::vector<script_event> &script_events()
{
    record_stdout();
    return events;
}

std::vector<std::string> script_transcript()
{
    record_stdout();
    std::vector<std::string> lines;
    for (const script_event &e : events)
        lines.push_back(e.kind + "|" + e.title + "|" + e.text);
    return lines;
}
