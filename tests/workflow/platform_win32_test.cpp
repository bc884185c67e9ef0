// platform_win32_test.cpp -- the dialog record as the Win32 dialogs receive it, and the clipboard
#include "support/folder_test.h"
#include "workflow/host_services.h"
#include "workflow/platform_win32.h"

#include <cstddef>
#include <cstring>
#include <future>
#include <thread>

namespace {

// The NT4 form of the record: 76 bytes with 4-byte pointers, 136 with 8-byte ones.
const DWORD nt4_record_size = sizeof(void *) == 4 ? 76 : 136;

struct record_case {
    const char *title;
    int32_t save;
    const char *pattern;
    DWORD flags;
};

const record_case record_cases[] = {
    {"Load file to be patched", 0, "*", 0x1001},   // read-only box ticked; only existing files
    {"Load IPS file", 0, "*.ips", 0x1001},
    {"Save patched file", 1, "*.bin", 0x0006},     // asks before replacing; no read-only box
    {"Save patched file", 1, "*.xdf", 0x0006},
};

// What a stand-in for the dialogs saw: the record as handed over, and the texts it pointed at,
// copied while they were still there.
struct dialog_call {
    int calls = 0;
    const char *dialog = "";
    OPENFILENAMEA record;
    std::string filter, initial_dir, title, default_extension;
};
dialog_call seen;

BOOL stand_in(const char *dialog, OPENFILENAMEA *record)
{
    seen.calls++;
    seen.dialog = dialog;
    std::memcpy(&seen.record, record, sizeof seen.record);
    const char *filter = record->lpstrFilter;
    size_t length = 0;
    while (filter && !(filter[length] == '\0' && filter[length + 1] == '\0'))
        length++;
    seen.filter = filter ? std::string(filter, length + 2) : "(none)";
    seen.initial_dir = record->lpstrInitialDir ? record->lpstrInitialDir : "(none)";
    seen.title = record->lpstrTitle ? record->lpstrTitle : "(none)";
    seen.default_extension = record->lpstrDefExt ? record->lpstrDefExt : "(none)";
    std::memcpy(record->lpstrFile, "\x04\x01", 2); // what a cancelled dialog may leave behind
    return FALSE;
}
BOOL WINAPI open_stand_in(OPENFILENAMEA *record) { return stand_in("open", record); }
BOOL WINAPI save_stand_in(OPENFILENAMEA *record) { return stand_in("save", record); }

class win32_dialog : public testing::Test {
protected:
    void SetUp() override
    {
        platform_use(&win32_platform);
        open_file_dialog = open_stand_in;
        save_file_dialog = save_stand_in;
        seen = dialog_call();
    }
    void TearDown() override
    {
        open_file_dialog = GetOpenFileNameA;
        save_file_dialog = GetSaveFileNameA;
    }
};

TEST_F(win32_dialog, record_holds_exactly_what_the_dialogs_are_given)
{
    for (const record_case &c : record_cases) {
        seen = dialog_call();
        char path[1019];
        std::memset(path, 'x', sizeof path);
        EXPECT_EQ(browse_for_file(c.title, c.save, c.pattern, path, sizeof path), 0);
        ASSERT_EQ(seen.calls, 1) << c.title;
        const OPENFILENAMEA &record = seen.record;

        EXPECT_STREQ(seen.dialog, c.save ? "save" : "open") << c.title;
        EXPECT_EQ(record.lStructSize, nt4_record_size) << c.title;
        EXPECT_EQ(record.lStructSize, offsetof(OPENFILENAMEA, pvReserved)) << c.title;
        EXPECT_EQ(record.hwndOwner, nullptr);
        EXPECT_EQ(seen.filter, std::string(c.pattern) + '\0' + c.pattern + '\0' + '\0');
        EXPECT_EQ(record.nFilterIndex, 1u);
        EXPECT_EQ(record.lpstrFile, path);
        EXPECT_EQ(record.nMaxFile, 1019u);
        EXPECT_EQ(seen.initial_dir, ".");
        EXPECT_EQ(seen.title, c.title);
        EXPECT_EQ(seen.default_extension, "") << "present, so that the save dialog keeps typed names";
        EXPECT_EQ(record.Flags, c.flags) << c.title;
        EXPECT_EQ(path[0], '\0') << "a cancelled dialog leaves the path empty";

        // Every other byte of the record, the members past the NT4 form included, is zero.
        OPENFILENAMEA rest = record;
        rest.lStructSize = 0;
        rest.lpstrFilter = nullptr;
        rest.nFilterIndex = 0;
        rest.lpstrFile = nullptr;
        rest.nMaxFile = 0;
        rest.lpstrInitialDir = nullptr;
        rest.lpstrTitle = nullptr;
        rest.lpstrDefExt = nullptr;
        rest.Flags = 0;
        const unsigned char *byte = reinterpret_cast<const unsigned char *>(&rest);
        for (size_t i = 0; i < sizeof rest; i++)
            ASSERT_EQ(byte[i], 0) << c.title << ": byte " << i;
    }
}

TEST(dialog_record, filled_directly_matches_the_one_shown)
{
    char filter[filter_text_size];
    ASSERT_EQ(build_filter_text("*.dsk", filter), 1);
    char path[16];
    OPENFILENAMEA record;
    std::memset(&record, 0xA5, sizeof record); // whatever the stack held before
    fill_dialog_record(&record, "Save patched file", 1, filter, path, sizeof path);
    EXPECT_EQ(record.lStructSize, nt4_record_size);
    EXPECT_EQ(record.lpstrFilter, filter);
    EXPECT_EQ(record.nMaxFile, 16u);
    EXPECT_EQ(record.Flags, 0x0006u);
    EXPECT_EQ(record.lCustData, 0);
    EXPECT_EQ(record.pvReserved, nullptr);
    EXPECT_EQ(record.FlagsEx, 0u);
}

// Reads the clipboard's plain text, or "(none)".
std::string clipboard_text()
{
    if (!OpenClipboard(nullptr))
        return "(cannot open)";
    std::string text = "(none)";
    HANDLE data = GetClipboardData(CF_TEXT);
    if (data) {
        const char *bytes = static_cast<const char *>(GlobalLock(data));
        text = std::string(bytes, GlobalSize(data)); // the whole block: the NUL must end it
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

class win32_clipboard : public folder_test {
protected:
    void SetUp() override
    {
        folder_test::SetUp();
        platform_use(&win32_platform);
    }
};

TEST_F(win32_clipboard, holds_exactly_the_text_afterwards)
{
    copy_text_to_clipboard("0x0000ABCD");
    std::string held = clipboard_text();
    ASSERT_GE(held.size(), 11u);
    EXPECT_EQ(held.substr(0, 11), std::string("0x0000ABCD\0", 11));
    copy_text_to_clipboard("0xFFFFFFFF");
    EXPECT_EQ(clipboard_text().substr(0, 11), std::string("0xFFFFFFFF\0", 11));
}

TEST_F(win32_clipboard, that_cannot_be_opened_gets_the_line_on_standard_output)
{
    copy_text_to_clipboard("0x11111111");
    // Another thread holds the clipboard open for a window of its own, as another program would.
    std::promise<void> opened, done;
    std::thread holder([&] {
        HWND window = CreateWindowExA(0, "STATIC", "holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                      nullptr, nullptr);
        BOOL held = window && OpenClipboard(window);
        opened.set_value();
        if (held) {
            done.get_future().wait();
            CloseClipboard();
        }
        if (window)
            DestroyWindow(window);
    });
    opened.get_future().wait();
    testing::internal::CaptureStdout();
    copy_text_to_clipboard("0x22222222");
    std::string out = testing::internal::GetCapturedStdout();
    done.set_value();
    holder.join();
    EXPECT_EQ(out, "Error opening clipboard\n");
    EXPECT_EQ(clipboard_text().substr(0, 11), std::string("0x11111111\0", 11));
}

} // namespace
