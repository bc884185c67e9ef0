// given_files.cpp -- the image and the patch named on the command line, each opened and read once
//
// A pipe, a FIFO or a process substitution can be read only once, so the file's own bytes decide
// what it is. The target buffer is the larger, so a file of unknown kind is read there and a patch
// is then moved over to the archive buffer, where a patch file is placed from. A zip or gzip file is
// the patch when it holds a patch and no image, else it is taken as the image, as any file that does
// not start with "PATCH" is; a second file after an image is the patch, archive or not. The boxes of
// a file (its archive's refusal, the warning of a cut) wait for the file's stage, so they come in the
// order they come for chosen files.
#include "workflow/given_files.h"

#include "host/host_services.h"
#include "workflow/patcher_storage.h"
#include "workflow/place_file.h"

#include <cstring>

namespace {

const uint8_t patch_mark[] = {'P', 'A', 'T', 'C', 'H'}; // how every IPS patch starts

struct loaded_file {
    int32_t given;                       // 1: named on the command line, and not to be chosen instead
    placed_file placed;                  // its bytes in its buffer, or why its archive was refused
    char message[archive_message_size];  // the text of that refusal
};

loaded_file image, patch;

int32_t starts_as_patch(const uint8_t *bytes, uint32_t length)
{
    return length >= sizeof patch_mark && std::memcmp(bytes, patch_mark, sizeof patch_mark) == 0;
}

// Whether the file read into target_buffer is a patch, or an archive holding one and no image.
int32_t holds_patch(uint32_t length)
{
    return starts_as_patch(target_buffer, length) || archive_holds_patch(target_buffer, length);
}

void set_unread(loaded_file *file)
{
    file->given = 1;
    file->placed = {load_result::loaded, 0, 0};
}

void place_image_read(uint32_t length, int32_t cut)
{
    image.given = 1;
    image.placed = place_image(length, cut, image.message);
}

// Places the patch that was read into archive_buffer.
void place_patch_read(uint32_t length, int32_t cut)
{
    patch.given = 1;
    patch.placed = place_patch(length, cut, patch.message);
}

// Places the patch that was read into target_buffer.
void move_patch_over(uint32_t length, int32_t cut)
{
    std::memcpy(archive_buffer, target_buffer, length);
    place_patch_read(length, cut);
}

int32_t take(loaded_file *file, uint32_t *length)
{
    if (!file->given)
        return 0;
    load_result told = tell_placed(&file->placed, file->message);
    file->placed.cut = 0;
    if (told == load_result::choose_again) {
        file->given = 0; // the dialog takes its place
        return 0;
    }
    *length = file->placed.length;
    return told == load_result::refused ? -1 : 1;
}

} // namespace

command_outcome load_given_files(const char *const *files, uint32_t count)
{
    image.given = patch.given = 0;
    given.image = given.patch = nullptr;
    if (count == 0)
        return command_outcome::run;
    int32_t cut;
    uint32_t length = read_file(files[0], target_buffer, target_capacity, &cut);
    const int32_t first_is_patch = holds_patch(length);
    const int32_t first_read = length > 0;
    if (first_is_patch)
        move_patch_over(length, cut);
    else
        place_image_read(length, cut);
    (first_is_patch ? given.patch : given.image) = files[0];
    if (count == 1)
        return command_outcome::run;

    if (first_read && !first_is_patch) {
        // The image stays where it is; the second file can only be the patch.
        length = read_file(files[1], archive_buffer, archive_capacity, &cut);
        if (length > 0 && !starts_as_patch(archive_buffer, length) && !looks_like_archive(archive_buffer, length))
            return usage_error("two images: ", files[1]);
        place_patch_read(length, cut);
        given.patch = files[1];
        return command_outcome::run;
    }
    length = read_file(files[1], target_buffer, target_capacity, &cut);
    if (holds_patch(length)) {
        if (first_is_patch)
            return usage_error("two patches: ", files[1]);
        move_patch_over(length, cut); // the first, unread, stays the image
        given.patch = files[1];
        return command_outcome::run;
    }
    if (!first_is_patch) {
        // The first could not be read: the second is no patch, so the first must have been one.
        set_unread(&patch);
        given.patch = files[0];
    }
    place_image_read(length, cut);
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
