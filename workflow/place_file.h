// place_file.h -- a file read whole, or the entry its archive holds, put in the buffer of its kind
#ifndef PATCHER_PLACE_FILE_H
#define PATCHER_PLACE_FILE_H

#include "workflow/unpack_archive.h"

#include <cstdint>

enum class load_result : uint8_t {
    loaded,       // the bytes are in their buffer (none when the file could not be read)
    choose_again, // the archive gives nothing to take: after its box, the dialog again
    refused,      // the archive is damaged: after its box, the run ends
};

struct placed_file {
    load_result result;
    uint32_t length; // bytes in target_buffer or patch_buffer
    int32_t cut;     // 1: more than the capacity, and the user is yet to be warned
};

// The image file of length bytes read into target_buffer (cut: it held more). An archive is moved
// to archive_buffer and its image inflated back into target_buffer; message (archive_message_size
// bytes) receives the text of a box that refuses it.
placed_file place_image(uint32_t length, int32_t cut, char *message);

// The patch file of length bytes read into archive_buffer: its patch, or the file itself cut to the
// patch capacity, goes to patch_buffer.
placed_file place_patch(uint32_t length, int32_t cut, char *message);

// Tells the user what a placed file needs told, in the order a chosen file's boxes come: the box
// that refuses an archive, or the warning of a cut file. Returns the file's result.
load_result tell_placed(const placed_file *file, const char *message);

// Reads the file at path, once, and places it as the image (or the patch, when patch is 1), then
// tells the user what needs telling; *length receives the bytes placed.
load_result load_placed(const char *path, int32_t patch, uint32_t *length);

#endif
