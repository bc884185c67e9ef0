// platform_web.h -- the browser edition's back end: the page's dialogs and the browser's clipboard
#ifndef PATCHER_PLATFORM_WEB_H
#define PATCHER_PLATFORM_WEB_H

#include "host/platform.h"

extern const platform_ops web_platform;

// Ends the run on the page: hands the file just saved in the working folder to the browser's own
// save (when saved is nonzero) and offers to start again.
void finish_web_run(int32_t saved);

#endif
