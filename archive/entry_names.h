// entry_names.h -- entry names as UTF-8 for display, and the entries that no one chose to pack
#ifndef PATCHER_ENTRY_NAMES_H
#define PATCHER_ENTRY_NAMES_H

#include <cstdint>

// How a name's bytes are to be read. Zip names without the UTF-8 flag are in the packing system's
// code page, which for the original PC and Windows' "compressed folder" on most systems is 437;
// macOS and Info-ZIP on Linux write UTF-8 without the flag, so a name that is well-formed UTF-8 with
// some byte above 0x7F is taken as UTF-8 (437 text rarely is). gzip's own names are ISO 8859-1.
enum class name_encoding : uint8_t { utf8, cp437_unless_utf8, latin1_unless_utf8 };

// Writes the name of length bytes into out (archive_name_limit + 1 bytes) as UTF-8: code points of
// 437 or 8859-1 converted, ill-formed UTF-8 bytes and control bytes each shown as '?', cut at the
// start of the first character that would not fit, and NUL-terminated.
void name_to_utf8(const uint8_t *name, uint32_t length, name_encoding encoding, char *out);

// 1 for a folder (a name ending in '/' or '\') or macOS metadata: anything under "__MACOSX/", and
// files named "._*" (resource forks) or ".DS_Store" (Finder's view settings) in any folder.
int32_t name_is_ignored(const uint8_t *name, uint32_t length);

#endif
