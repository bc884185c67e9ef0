// platform_terminal.h -- the back end for machines without a display: standard error and input
#ifndef PATCHER_PLATFORM_TERMINAL_H
#define PATCHER_PLATFORM_TERMINAL_H

#include "host/platform.h"

extern const platform_ops terminal_platform;

#endif
