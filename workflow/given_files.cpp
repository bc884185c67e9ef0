// given_files.cpp -- the image and the patch named on the command line, each opened and read once
//
// A pipe, a FIFO or a process substitution can be read only once, so the file's own bytes decide
// what it is. The target buffer is the larger, so a file of unknown kind is read there and a patch
// is then moved over to the patch buffer. The warning of a cut file waits for the file's stage, so
// the boxes come in the order they come for chosen files.
#include "workflow/given_files.h"

#include "host/host_services.h"
#include "workflow/patcher_storage.h"

#include <cstring>

namespace {

const uint8_t patch_mark[] = {'P', 'A', 'T', 'C', 'H'}; // how every IPS patch starts

struct loaded_file {
    int32_t given;   // 1: named on the command line
    uint32_t length; // its bytes in its buffer; 0 when it could not be read
    int32_t cut;     // 1: it held more than its buffer, and the user is yet to be warned
};

loaded_file image, patch;

int32_t starts_as_patch(const uint8_t *bytes, uint32_t length)
{
    return length >= sizeof patch_mark && std::memcmp(bytes, patch_mark, sizeof patch_mark) == 0;
}

void set(loaded_file *file, uint32_t length, int32_t cut)
{
    *file = {1, length, cut};
}

// Moves the patch that was read into target_buffer over to patch_buffer, cut to its capacity.
void move_patch_over(uint32_t length, int32_t cut)
{
    const uint32_t kept = length < patch_capacity ? length : patch_capacity;
    std::memcpy(patch_buffer, target_buffer, kept);
    set(&patch, kept, cut || length > patch_capacity);
}

int32_t take(loaded_file *file, uint32_t *length)
{
    if (!file->given)
        return 0;
    if (file->cut)
        warn_file_cut();
    file->cut = 0;
    *length = file->length;
    return 1;
}

} // namespace

command_outcome load_given_files(const char *const *files, uint32_t count)
{
    image = patch = loaded_file{};
    given.image = given.patch = nullptr;
    if (count == 0)
        return command_outcome::run;
    int32_t cut;
    uint32_t length = read_file(files[0], target_buffer, target_capacity, &cut);
    const int32_t first_is_patch = starts_as_patch(target_buffer, length);
    const int32_t first_read = length > 0;
    if (first_is_patch)
        move_patch_over(length, cut);
    else
        set(&image, length, cut);
    (first_is_patch ? given.patch : given.image) = files[0];
    if (count == 1)
        return command_outcome::run;

    if (first_read && !first_is_patch) {
        // The image stays where it is; the second file can only be the patch.
        length = read_file(files[1], patch_buffer, patch_capacity, &cut);
        if (length > 0 && !starts_as_patch(patch_buffer, length))
            return usage_error("two images: ", files[1]);
        set(&patch, length, cut);
        given.patch = files[1];
        return command_outcome::run;
    }
    length = read_file(files[1], target_buffer, target_capacity, &cut);
    if (starts_as_patch(target_buffer, length)) {
        if (first_is_patch)
            return usage_error("two patches: ", files[1]);
        move_patch_over(length, cut); // the first, unread, stays the image
        given.patch = files[1];
        return command_outcome::run;
    }
    if (!first_is_patch) {
        // The first could not be read: the second is no patch, so the first must have been one.
        set(&patch, 0, 0);
        given.patch = files[0];
    }
    set(&image, length, cut);
    given.image = files[1];
    return command_outcome::run;
}

int32_t take_given_image(uint32_t *length)
{
    return take(&image, length);
}

int32_t take_given_patch(uint32_t *length)
{
    return take(&patch, length);
}
