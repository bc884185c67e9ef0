// command_line.cpp -- the files and options given when the patcher is started
#include "workflow/command_line.h"

#include "host/files/file_streams.h"

#include <cstdio>
#include <cstring>

given_files given;

namespace {

const char usage[] =
    "Usage: patcher [OPTIONS] [FILE [FILE [OUTPUT]]]\n"
    "Applies an IPS patch to your own copy of a cartridge or disk image, after making sure it is\n"
    "the right copy. The two FILEs are the image and the patch, in either order; OUTPUT is where\n"
    "the result is saved. Each one given takes the place of its dialog.\n"
    "\n"
    "  -h, --help      print this help and exit\n"
    "  --version       print the version and exit\n"
    "  -f, --force     replace an existing OUTPUT without asking\n"
    "  --              end of options\n"
    "\n"
    "Exit status: 0 when the patched file was written, 1 when it was not, 2 for a usage error.\n";

command_outcome usage_error(const char *reason, const char *word)
{
    std::fprintf(stderr, "patcher: %s%s\n%s", reason, word, usage);
    return command_outcome::usage_error;
}

enum class file_kind : uint8_t {
    patch,      // starts with "PATCH"
    other,      // readable, and does not
    unreadable, // cannot be opened
};

file_kind kind_of_file(const char *name)
{
    FILE *stream = stream_open(name, "rb");
    if (!stream)
        return file_kind::unreadable;
    char start[5] = {};
    size_t count = stream_read(start, sizeof start, stream);
    stream_close(stream);
    return count == sizeof start && std::memcmp(start, "PATCH", sizeof start) == 0
               ? file_kind::patch
               : file_kind::other;
}

} // namespace

command_outcome read_command_line(int argc, char **argv)
{
    given = given_files{};
    const char *files[3];
    int count = 0, options = 1;
    for (int i = 1; i < argc; i++) {
        const char *word = argv[i];
        if (options && std::strcmp(word, "--") == 0) {
            options = 0;
        } else if (options && (std::strcmp(word, "-h") == 0 || std::strcmp(word, "--help") == 0)) {
            std::fputs(usage, stdout);
            return command_outcome::answered;
        } else if (options && std::strcmp(word, "--version") == 0) {
            std::printf("patcher %s\n", PATCHER_VERSION);
            return command_outcome::answered;
        } else if (options && (std::strcmp(word, "-f") == 0 || std::strcmp(word, "--force") == 0)) {
            given.force = 1;
        } else if (options && word[0] == '-' && word[1] != '\0') {
            return usage_error("unknown option ", word);
        } else if (count == 3) {
            return usage_error("too many arguments from ", word);
        } else {
            files[count++] = word;
        }
    }
    given.output = count == 3 ? files[2] : nullptr;
    // The patch is the file that starts with "PATCH"; one that cannot be read is the other's
    // counterpart, and its load then fails with the box a failed load gets.
    file_kind first = count > 0 ? kind_of_file(files[0]) : file_kind::other;
    file_kind second = count > 1 ? kind_of_file(files[1]) : file_kind::other;
    if (count > 1 && first != file_kind::unreadable && first == second)
        return usage_error(first == file_kind::patch ? "two patches: " : "two images: ", files[1]);
    int32_t first_is_patch =
        first == file_kind::patch ||
        (first == file_kind::unreadable && second == file_kind::other && count > 1);
    if (count > 0)
        (first_is_patch ? given.patch : given.image) = files[0];
    if (count > 1)
        (first_is_patch ? given.image : given.patch) = files[1];
    return command_outcome::run;
}
