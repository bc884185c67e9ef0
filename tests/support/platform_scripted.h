// platform_scripted.h -- a back end for tests: dialogs answered from a queue, everything recorded
#ifndef PATCHER_PLATFORM_SCRIPTED_H
#define PATCHER_PLATFORM_SCRIPTED_H

#include <string>
#include <vector>

// One thing the program showed or did, in order. kind is "box" (title, text), "open" or "save"
// (title, text = the pattern, filter = the filter text) or "clipboard" (text placed).
struct script_event {
    std::string kind, title, text, filter;
};

// Installs the scripted back end with an empty queue, no events and a working clipboard.
void script_reset();

// Queues the answer to the next dialog: a file name, or "" to cancel. A dialog with nothing left
// in the queue is cancelled.
void script_answer(const std::string &name);

// Makes the clipboard fail to open (or work again).
void script_clipboard_fails(bool fails);

const std::vector<script_event> &script_events();

// The events as "kind|title|text" lines, for whole-run comparisons.
std::vector<std::string> script_transcript();

#endif
