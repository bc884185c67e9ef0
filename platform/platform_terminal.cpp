// platform_terminal.cpp -- boxes, file prompts and the clipboard on a terminal
//
// Everything is said on standard error and every answer is one line of standard input (LF or CRLF),
// so that standard output carries nothing but the program's own clipboard failure line. End of
// input acknowledges a box and cancels a dialog.
#include "platform/platform_terminal.h"

#include <cstdio>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const size_t line_capacity = 4096; // longer answers are read through and refused as too long

char line[line_capacity];
size_t line_length; // bytes in line, which a NUL byte typed into the answer makes differ from strlen

enum class line_status : uint8_t {
    read,     // a whole line, now in line
    too_long, // read through to its end, and more than line can hold
    ended,    // the end of input, with nothing before it
};

enum class replace_answer : uint8_t {
    yes,
    no,
    ended, // the end of input came instead of an answer
};

// Reads one line of standard input into line, without its line end. Input that ends without a
// line end ends the prompt's line on standard error, where the typed line end would have.
line_status read_line()
{
    size_t length = 0;
    int32_t overflow = 0;
    int c = std::getchar();
    if (c == EOF) {
        std::fputc('\n', stderr);
        return line_status::ended;
    }
    while (c != EOF && c != '\n') {
        if (length + 1 < line_capacity)
            line[length++] = static_cast<char>(c);
        else
            overflow = 1;
        c = std::getchar();
    }
    if (c == EOF)
        std::fputc('\n', stderr);
    if (length > 0 && line[length - 1] == '\r')
        length--;
    line[length] = '\0';
    line_length = length;
    return overflow ? line_status::too_long : line_status::read;
}

int32_t is_regular_file(const char *name)
{
    struct stat info;
    return stat(name, &info) == 0 && S_ISREG(info.st_mode);
}

// A folder, pipe or device, or a link to one.
int32_t is_other_than_file(const char *name)
{
    struct stat info;
    return stat(name, &info) == 0 && !S_ISREG(info.st_mode);
}

int32_t exists(const char *name)
{
    struct stat info;
    return lstat(name, &info) == 0;
}

// A name that ends in a folder separator can only be a folder's.
int32_t names_a_folder(const char *name)
{
    size_t length = std::strlen(name);
    return length > 0 && name[length - 1] == '/';
}

// The extension a pattern like "*.bin" gives to a name typed without one; "" for "*".
const char *pattern_extension(const char *pattern)
{
    const char *dot = std::strchr(pattern, '.');
    return dot ? dot : "";
}

int32_t name_has_extension(const char *name)
{
    const char *slash = std::strrchr(name, '/');
    const char *base = slash ? slash + 1 : name;
    return std::strchr(base, '.') != nullptr;
}

void say_too_long(uint32_t capacity)
{
    std::fprintf(stderr, "That name is too long (at most %u characters).\n",
                 static_cast<unsigned>(capacity - 1));
}

// Asks whether the existing file name may be replaced; anything but y or yes is no.
replace_answer ask_replace(const char *name)
{
    std::fprintf(stderr, "%s already exists. Replace it? [y/N] ", name);
    std::fflush(stderr);
    line_status status = read_line();
    if (status == line_status::ended)
        return replace_answer::ended;
    int32_t yes = status == line_status::read &&
                  (strcasecmp(line, "y") == 0 || strcasecmp(line, "yes") == 0);
    return yes ? replace_answer::yes : replace_answer::no;
}

// Asks for a name under title until one is acceptable; returns 0 on cancel. Leaves it in line.
int32_t ask_name(const char *title, const char *pattern, uint32_t capacity, int32_t save)
{
    std::fprintf(stderr, "%s\n", title);
    for (;;) {
        std::fprintf(stderr, "File name (%s): ", pattern);
        std::fflush(stderr);
        line_status status = read_line();
        if (status == line_status::ended || (status == line_status::read && line[0] == '\0'))
            return 0;
        if (status == line_status::too_long) {
            say_too_long(capacity);
            continue;
        }
        if (std::strlen(line) != line_length) {
            std::fprintf(stderr, "A file name cannot hold a NUL byte.\n");
            continue;
        }
        if (names_a_folder(line)) {
            std::fprintf(stderr, "Not a regular file: %s\n", line);
            continue;
        }
        if (save && !name_has_extension(line)) {
            size_t room = line_capacity - std::strlen(line);
            std::strncat(line, pattern_extension(pattern), room - 1);
        }
        size_t length = std::strlen(line);
        if (length + 1 > capacity) {
            say_too_long(capacity);
            continue;
        }
        if (is_other_than_file(line)) {
            std::fprintf(stderr, "Not a regular file: %s\n", line);
            continue;
        }
        if (!save) {
            if (is_regular_file(line))
                return 1;
            std::fprintf(stderr, "No such file: %s\n", line);
            continue;
        }
        if (!exists(line))
            return 1;
        static char name[line_capacity];
        std::memcpy(name, line, length + 1);
        replace_answer answer = ask_replace(name);
        if (answer == replace_answer::ended)
            return 0;
        if (answer == replace_answer::yes) {
            std::memcpy(line, name, length + 1);
            return 1;
        }
    }
}

int32_t ask_for_file(const char *title, const char *pattern, char *path, uint32_t capacity,
                     int32_t save)
{
    if (!ask_name(title, pattern, capacity, save))
        return 0;
    std::memcpy(path, line, std::strlen(line) + 1);
    return 1;
}

void terminal_show_message(const char *text, const char *title)
{
    std::fprintf(stderr, "%s\n%s\nPress Enter to continue.\n", title, text);
    std::fflush(stderr);
    read_line();
}

int32_t terminal_choose_to_read(const char *title, const char *pattern, const char *,
                                char *path, uint32_t capacity)
{
    return ask_for_file(title, pattern, path, capacity, 0);
}

int32_t terminal_choose_to_write(const char *title, const char *pattern, const char *,
                                 char *path, uint32_t capacity)
{
    return ask_for_file(title, pattern, path, capacity, 1);
}

// Hands text to the terminal's own clipboard with the OSC 52 sequence (base64 payload).
void send_osc52(const char *text)
{
    static const char digits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::fputs("\033]52;c;", stderr);
    size_t length = std::strlen(text);
    for (size_t i = 0; i < length; i += 3) {
        uint32_t group = static_cast<uint8_t>(text[i]) << 16;
        if (i + 1 < length)
            group |= static_cast<uint8_t>(text[i + 1]) << 8;
        if (i + 2 < length)
            group |= static_cast<uint8_t>(text[i + 2]);
        std::fputc(digits[(group >> 18) & 63], stderr);
        std::fputc(digits[(group >> 12) & 63], stderr);
        std::fputc(i + 1 < length ? digits[(group >> 6) & 63] : '=', stderr);
        std::fputc(i + 2 < length ? digits[group & 63] : '=', stderr);
    }
    std::fputs("\a", stderr);
}

int32_t terminal_put_clipboard_text(const char *text)
{
    std::fprintf(stderr, "Copied to clipboard: %s\n", text);
    if (isatty(fileno(stderr)))
        send_osc52(text);
    std::fflush(stderr);
    return 1;
}

int32_t terminal_confirm_replace(const char *name)
{
    return ask_replace(name) == replace_answer::yes;
}

} // namespace

const platform_ops terminal_platform = {terminal_show_message, terminal_choose_to_read,
                                        terminal_choose_to_write, terminal_put_clipboard_text,
                                        terminal_confirm_replace};
