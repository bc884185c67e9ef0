// stream_faults.h -- test builds only: makes a chosen call of the file stream layer fail on cue
//
// In the manner of a countdown: arm a kind of call with n, and the nth call of that kind from then
// on fails (and every later one too when the fault persists). The layer with these hooks replaces
// file_streams.cpp in test builds only; release builds have neither the hooks nor their cost.
#ifndef PATCHER_STREAM_FAULTS_H
#define PATCHER_STREAM_FAULTS_H

#include <cstdint>

enum stream_fault_kind {
    fault_open,        // an open or exclusive create finds no stream
    fault_seek,        // a file's end cannot be found, as a pipe's cannot: its size is unknown
    fault_read,        // a read delivers only half the bytes it got, as an I/O error would
    fault_write,       // a write writes nothing
    fault_short_write, // a write writes only half its bytes and says so
    fault_flush,       // a flush (with its sync to the disk) reports failure
    fault_name,        // the complete temporary file cannot be given its name
    fault_close,       // a close reports failure; the stream is closed all the same
    fault_rename,      // the replacement of the chosen file by the temporary one fails
    fault_sync_folder, // the folder cannot be synced after the replacement
    fault_kind_count
};

// Makes the nth call of kind (counted from 1, from now on) fail; persistent makes every later call
// of that kind fail too. Only one fault is armed at a time.
void fault_arm(stream_fault_kind kind, uint32_t n, int32_t persistent);

// Disarms the fault; every call succeeds or fails on its own again.
void fault_clear();

// How many calls have been made to fail since the fault was armed.
uint32_t fault_hits();

#endif
