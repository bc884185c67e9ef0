// place_file.cpp -- puts a file read whole, or the entry its archive holds, in the buffer of its kind
#include "workflow/place_file.h"

#include "host/host_services.h"
#include "workflow/patcher_storage.h"

#include <cstring>

namespace {

char chosen_message[archive_message_size]; // the box of a chosen file, shown as soon as it is read

placed_file from_archive(unpack_outcome unpacked, uint32_t length, int32_t cut)
{
    switch (unpacked.result) {
    case unpack_result::plain:
        return {load_result::loaded, length, cut};
    case unpack_result::unpacked:
        return {load_result::loaded, unpacked.length, unpacked.cut};
    case unpack_result::choose_again:
        return {load_result::choose_again, 0, 0};
    default:
        return {load_result::refused, 0, 0};
    }
}

} // namespace

placed_file place_image(uint32_t length, int32_t cut, char *message)
{
    if (!looks_like_archive(target_buffer, length))
        return {load_result::loaded, length, cut};
    std::memcpy(archive_buffer, target_buffer, length); // the target buffer is the entry's room
    return from_archive(unpack_archive(archive_buffer, length, archive_want::image, target_buffer,
                                       target_capacity, message),
                        length, cut);
}

placed_file place_patch(uint32_t length, int32_t cut, char *message)
{
    unpack_outcome unpacked =
        unpack_archive(archive_buffer, length, archive_want::patch, patch_buffer, patch_capacity, message);
    if (unpacked.result != unpack_result::plain)
        return from_archive(unpacked, length, cut);
    const uint32_t kept = length < patch_capacity ? length : patch_capacity;
    std::memcpy(patch_buffer, archive_buffer, kept);
    return {load_result::loaded, kept, cut || length > patch_capacity};
}

load_result tell_placed(const placed_file *file, const char *message)
{
    if (file->result != load_result::loaded)
        show_message(message, "Error");
    else if (file->cut)
        warn_file_cut();
    return file->result;
}

load_result load_placed(const char *path, int32_t patch, uint32_t *length)
{
    int32_t cut;
    const uint32_t read = patch ? read_file(path, archive_buffer, archive_capacity, &cut)
                                : read_file(path, target_buffer, target_capacity, &cut);
    placed_file file = patch ? place_patch(read, cut, chosen_message) : place_image(read, cut, chosen_message);
    *length = file.length;
    return tell_placed(&file, chosen_message);
}
