// platform_web.cpp -- boxes, file choices and the clipboard on the page of the browser edition
//
// The page (web/page.js) draws each dialog and settles a promise when the user is done with it;
// Asyncify suspends the run meanwhile, so run_patcher stays the same forward sequence as on the
// desktop. Every file chosen or dropped on the page is written into the working folder, the
// current directory of the in-memory file system, before its name comes back here, so the core
// opens it by name like any other file, and finds a title's patch there by its fixed name. The
// line the core writes on standard output when the clipboard refused the text reaches the page
// through Module.print.
#include "platform/platform_web.h"

#include <cstdio>
#include <emscripten.h>

namespace {

const uint32_t saved_name_capacity = 4096; // more than any dialog is given for a name
char saved_name[saved_name_capacity]; // the name the last save dialog settled on, for the browser's save

EM_ASYNC_JS(void, page_message, (const char *text, const char *title), {
    await Module.page.message(UTF8ToString(title), UTF8ToString(text));
});

// The page's file choice (save 0) or name field (save 1); the name goes into path. 0 on cancel.
EM_ASYNC_JS(int32_t, page_file_name,
            (int32_t save, const char *title, const char *pattern, char *path, uint32_t capacity), {
    const ask = save ? Module.page.name : Module.page.choose;
    const name = await ask(UTF8ToString(title), UTF8ToString(pattern), capacity);
    if (name === null)
        return 0;
    stringToUTF8(name, path, capacity); // the page offers no name that does not fit
    return 1;
});

// A browser that refuses the clipboard (no permission, no secure page) counts as a clipboard that
// could not be opened: the page then shows the text to be copied by hand.
EM_ASYNC_JS(int32_t, page_copy, (const char *text), {
    return (await Module.page.copy(UTF8ToString(text))) ? 1 : 0;
});

EM_JS(void, page_finish, (const char *name), { Module.page.finish(UTF8ToString(name)); });

int32_t web_choose_to_read(const char *title, const char *pattern, const char *, char *path,
                           uint32_t capacity)
{
    return page_file_name(0, title, pattern, path, capacity);
}

// No replace question here: a name the page's copies already hold risks nothing on the device, a
// download never replaces a file, and the browser's save picker asks about a real file itself.
int32_t web_choose_to_write(const char *title, const char *pattern, const char *, char *path,
                            uint32_t capacity)
{
    if (!page_file_name(1, title, pattern, path, capacity))
        return 0;
    std::snprintf(saved_name, sizeof saved_name, "%s", path);
    return 1;
}

} // namespace

void finish_web_run(int32_t saved)
{
    page_finish(saved ? saved_name : "");
}

namespace {

// The page has no command line, so no output is ever named without its dialog.
int32_t web_confirm_replace(const char *)
{
    return 0;
}

} // namespace

const platform_ops web_platform = {page_message, web_choose_to_read, web_choose_to_write,
                                   page_copy, web_confirm_replace};
