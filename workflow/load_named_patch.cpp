// load_named_patch.cpp -- loads the patch that a recognised title brings, by its fixed file name
#include "workflow/load_named_patch.h"

#include "host/host_services.h"
#include "workflow/command_line.h"
#include "workflow/patcher_storage.h"

uint32_t load_named_patch(const char *name)
{
    // A patch named on the command line stands in for the title's own. The title's own patch
    // that is not beside the image is no error: the user is asked for one.
    if (given.patch)
        return load_file(given.patch, patch_buffer, patch_capacity);
    return load_file_if_present(name, patch_buffer, patch_capacity);
}
