// fault_points.h -- the points where a file call can be made to fail on cue, in test builds only
//
// Each file call that can fail first asks fault_due whether it is to fail this time; if so it fails
// as the system's own call would on a bad disk, with errno set to EIO. In the manner of a countdown:
// arm a kind of call with n, and the nth call of that kind from then on fails (and every later one
// too when the fault persists). Builds without PATCHER_FAULT_INJECTION, such as every release, see
// only the inline answers at the bottom, which the compiler removes together with the calls.
#ifndef PATCHER_FAULT_POINTS_H
#define PATCHER_FAULT_POINTS_H

#include <cstdint>

enum class fault_kind : uint8_t {
    open,         // an open or exclusive create finds no stream
    seek,         // a file's end cannot be found, as a pipe's cannot: its size is unknown
    read,         // a read delivers only half the bytes it got, as an I/O error would
    write,        // a write writes nothing
    short_write,  // a write writes only half its bytes and says so
    flush,        // a flush (with its sync to the disk) reports failure
    link,         // the unnamed temporary file cannot be given its name
    close,        // a close reports failure; the stream is closed all the same
    rename,       // the replacement of the chosen file by the temporary one fails
    folder_sync,  // the folder's sync after the replacement fails
    temp_unnamed, // no unnamed temporary file: the save falls back to a named one
    folder_open,  // the folder cannot be opened for its sync after the replacement
};
constexpr uint8_t fault_kind_count = uint8_t(fault_kind::folder_open) + 1; // the last kind's, plus 1

#ifdef PATCHER_FAULT_INJECTION

// 1 when this call of kind is to fail, with errno set to EIO. Calls the observer first, if any.
int32_t fault_due(fault_kind kind);

// Notes the file or folder behind a descriptor that is about to be synced to the disk.
void fault_note_sync(int descriptor);

// Makes the nth call of kind (counted from 1, from now on) fail; persistent makes every later call
// of that kind fail too. Only one fault is armed at a time.
void fault_arm(fault_kind kind, uint32_t n, int32_t persistent);

// Disarms the fault and forgets the syncs noted; every call succeeds or fails on its own again.
void fault_clear();

// How many calls have been made to fail since the fault was armed.
uint32_t fault_hits();

// 1 when the file or folder with this device and inode was synced since the last fault_clear.
int32_t fault_was_synced(uint64_t device, uint64_t inode);

// Has observer called with the kind of every fault point reached from now on; null for none.
void fault_observe(void (*observer)(fault_kind kind));

#else

inline int32_t fault_due(fault_kind)
{
    return 0;
}

inline void fault_note_sync(int) {}

#endif

#endif
