// fault_points.cpp -- the fault countdown and the record of syncs, compiled into test builds only
#include "host/files/fault_points.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

// Syncs remembered for fault_was_synced: a save makes two (its file and its folder), so this holds
// several saves; older ones are written over.
const uint32_t sync_record_capacity = 16;

struct file_identity {
    uint64_t device;
    uint64_t inode;
};

fault_kind armed_kind;
uint32_t countdown; // 0 when no fault is armed
int32_t persists;
uint32_t hits;
void (*observe)(fault_kind);
file_identity synced[sync_record_capacity];
uint32_t sync_count;

} // namespace

int32_t fault_due(fault_kind kind)
{
    if (observe)
        observe(kind);
    if (kind != armed_kind || countdown == 0)
        return 0;
    if (--countdown > 0)
        return 0;
    if (persists)
        countdown = 1; // the next call of this kind is due again
    hits++;
    errno = EIO;
    return 1;
}

void fault_note_sync(int descriptor)
{
    struct stat info;
    if (fstat(descriptor, &info) != 0)
        return;
    synced[sync_count++ % sync_record_capacity] = {uint64_t(info.st_dev), uint64_t(info.st_ino)};
}

void fault_arm(fault_kind kind, uint32_t n, int32_t persistent)
{
    armed_kind = kind;
    countdown = n;
    persists = persistent;
    hits = 0;
}

void fault_clear()
{
    countdown = 0;
    sync_count = 0;
}

uint32_t fault_hits()
{
    return hits;
}

int32_t fault_was_synced(uint64_t device, uint64_t inode)
{
    uint32_t kept = sync_count < sync_record_capacity ? sync_count : sync_record_capacity;
    for (uint32_t i = 0; i < kept; i++)
        if (synced[i].device == device && synced[i].inode == inode)
            return 1;
    return 0;
}

void fault_observe(void (*observer)(fault_kind kind))
{
    observe = observer;
}
