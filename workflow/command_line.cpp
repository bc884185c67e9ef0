// command_line.cpp -- the files and options given when the patcher is started
#include "workflow/command_line.h"

#include "workflow/given_files.h"

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

const uint32_t reason_capacity = 256; // a reason and the word it names, cut if that is longer
char reason_text[reason_capacity];

} // namespace

command_outcome usage_error(const char *reason, const char *word)
{
    std::snprintf(reason_text, sizeof reason_text, "%s%s", reason, word);
    std::fprintf(stderr, "patcher: %s%s\nTry 'patcher --help' for more information.\n", reason, word);
    return command_outcome::usage_error;
}

const char *usage_error_text()
{
    return reason_text;
}

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
        } else if (word[0] == '\0') {
            return usage_error("empty file name", "");
        } else {
            files[count++] = word;
        }
    }
    given.output = count == 3 ? files[2] : nullptr;
    return load_given_files(files, count < 2 ? count : 2);
}
