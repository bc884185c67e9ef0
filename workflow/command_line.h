// command_line.h -- the files and options given when the patcher is started
//
//   patcher [OPTIONS] [FILE [FILE [OUTPUT]]]
//
// The first two FILEs are the image and the patch, in either order (the one whose contents start
// with "PATCH" is the patch); OUTPUT is where the result goes. Each one given takes the place of
// its dialog; without any, every run is the sequence of dialogs it always was. The FILEs are read
// here, each once (given_files.h).
#ifndef PATCHER_COMMAND_LINE_H
#define PATCHER_COMMAND_LINE_H

#include <cstdint>

struct given_files {
    const char *image;  // null: "Load file to be patched" asks
    const char *patch;  // null: the title's own patch, or "Load IPS file"
    const char *output; // null: "Save patched file" asks
    int32_t force;      // replace an existing output without asking
};

extern given_files given; // what the running program was given; all null and 0 by default

enum class command_outcome : uint8_t {
    run,         // given is set: run the patcher
    answered,    // --help or --version was printed on standard output: exit 0
    usage_error, // its reason was printed on standard error: exit 2
};

// Reads the arguments (UTF-8, argv[0] the program) into given, and the FILEs they name into their
// buffers.
command_outcome read_command_line(int argc, char **argv);

// Prints "patcher: REASON WORD" and a pointer to --help on standard error, and keeps the reason
// for usage_error_text. Returns command_outcome::usage_error.
command_outcome usage_error(const char *reason, const char *word);

// The reason of the last usage error, in one line, for a desktop front end's box.
const char *usage_error_text();

#endif
