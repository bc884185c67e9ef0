// platform_win32_test.cpp -- the dialog record as the Win32 dialogs receive it
//
// The clipboard is read back through the X clipboard by the desktop scenarios under wine.
#include "host/host_services.h"
#include "platform/platform_win32.h"

#include <cstring>
#include <gtest/gtest.h>

namespace {

OPENFILENAMEA seen;     // the record as the stand-in for the dialogs received it
std::string seen_texts; // which dialog, and the texts it pointed at, read while they were there

BOOL stand_in(const char *dialog, OPENFILENAMEA *record)
{
    std::memcpy(&seen, record, sizeof seen);
    seen_texts = dialog + std::string("|") +
                 std::string(record->lpstrFilter, std::strlen(record->lpstrFilter) * 2 + 3) + "|" +
                 record->lpstrInitialDir + "|" + record->lpstrTitle + "|" + record->lpstrDefExt;
    std::memcpy(record->lpstrFile, "\x04\x01", 2); // what a cancelled dialog may leave behind
    return FALSE;
}
BOOL WINAPI open_stand_in(OPENFILENAMEA *record) { return stand_in("open", record); }
BOOL WINAPI save_stand_in(OPENFILENAMEA *record) { return stand_in("save", record); }

} // namespace

TEST(win32_dialog, record_holds_exactly_what_the_dialogs_are_given_and_nothing_else)
{
    platform_use(&win32_platform);
    open_file_dialog = open_stand_in;
    save_file_dialog = save_stand_in;
    const struct {
        const char *title;
        int32_t save;
        const char *pattern;
        DWORD flags;
    } cases[] = {{"Load IPS file", 0, "*.ips", 0x1001},     // read-only box ticked; existing only
                 {"Save patched file", 1, "*.bin", 0x0006}}; // asks before replacing; no read-only box
    for (const auto &c : cases) {
        char path[1019];
        EXPECT_EQ(choose_file(nullptr, c.title, c.save, c.pattern, path, sizeof path), 0);
        OPENFILENAMEA want;
        std::memset(&want, 0, sizeof want); // every other byte, past the NT4 form too, is zero
        want.lStructSize = sizeof(void *) == 4 ? 76 : 136; // the NT4 form of the record
        want.lpstrFilter = seen.lpstrFilter;
        want.nFilterIndex = 1;
        want.lpstrFile = path;
        want.nMaxFile = sizeof path;
        want.lpstrInitialDir = seen.lpstrInitialDir;
        want.lpstrTitle = seen.lpstrTitle;
        want.lpstrDefExt = seen.lpstrDefExt; // "", so that the save dialog adds the pattern's
        want.Flags = c.flags;
        EXPECT_EQ(std::memcmp(&want, &seen, sizeof want), 0) << c.title;
        EXPECT_EQ(seen_texts, (c.save ? "save|" : "open|") + std::string(c.pattern) + '\0' + c.pattern +
                                  std::string("\0\0|.|", 5) + c.title + "|");
        EXPECT_EQ(path[0], '\0') << "a cancelled dialog leaves the path empty";
    }
    open_file_dialog = GetOpenFileNameA;
    save_file_dialog = GetSaveFileNameA;
}
