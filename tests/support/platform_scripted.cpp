// platform_scripted.cpp -- the test back end: answers dialogs from a queue and records every event
#include "support/platform_scripted.h"
#include "host/host_services.h"
#include "host/platform.h"

#include <cstring>
#include <deque>

namespace {

std::deque<std::string> answers;
std::vector<script_event> events;
bool clipboard_fails = false;

void scripted_show_message(const char *text, const char *title)
{
    events.push_back({"box", title, text, ""});
}

// The read (open) and write (save) dialogs alike: save tells which it is.
template <bool save>
int32_t answer_dialog(const char *title, const char *pattern, const char *filter_text, char *path, uint32_t capacity)
{
    const char *const kind = save ? "save" : "open";
    events.push_back({kind, title, pattern, std::string(filter_text, filter_text_size)});
    if (answers.empty())
        return 0;
    std::string name = answers.front();
    answers.pop_front();
    // Like every real save dialog, it gives a name typed without an extension the pattern's.
    const char *extension = std::strchr(pattern, '.');
    if (!name.empty() && save && extension &&
        name.find('.', name.rfind('/') + 1) == std::string::npos)
        name += extension;
    if (name.empty() || name.size() + 1 > capacity)
        return 0;
    std::memcpy(path, name.c_str(), name.size() + 1);
    return 1;
}

int32_t scripted_put_clipboard_text(const char *text)
{
    if (clipboard_fails)
        return 0;
    events.push_back({"clipboard", "", text, ""});
    return 1;
}

// The replace question takes the next answer: "yes" replaces.
int32_t scripted_confirm_replace(const char *name)
{
    events.push_back({"replace", "", name, ""});
    bool yes = !answers.empty() && answers.front() == "yes";
    if (!answers.empty())
        answers.pop_front();
    return yes;
}

const platform_ops scripted_platform = {scripted_show_message, answer_dialog<false>,
                                        answer_dialog<true>, scripted_put_clipboard_text,
                                        scripted_confirm_replace};

} // namespace

void script_reset()
{
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
    return events;
}

std::vector<std::string> script_transcript()
{
    std::vector<std::string> lines;
    for (const script_event &e : events)
        lines.push_back(e.kind + "|" + e.title + "|" + e.text);
    return lines;
}
