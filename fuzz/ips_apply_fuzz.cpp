// ips_apply_fuzz.cpp -- ips_apply on any image and any patch: it writes only inside the image,
// answers 0 or 1, and succeeds only where an "EOF" end marker lies inside the patch
//
// Input: a 2-byte little-endian number that splits the rest into the image and the patch. The
// image sits between guard bytes that must come through untouched; the patch is the tail of the
// fuzzer's own buffer, so AddressSanitizer sees any read past its end.
#include "harness.h"
#include "ips/ips_apply.h"

const std::string guard(64, '\xA5'); // on each side of the image: no record may reach it

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string_view in(reinterpret_cast<const char *>(data), size);
    // The split is taken modulo one more than the bytes after it (size - 1 once there are two).
    const std::string bytes(in.substr(0, take(in, 2) % (std::max<size_t>(size, 2) - 1)));
    const std::string_view patch = in.substr(bytes.size());
    std::string image = guard + bytes + guard;
    const int32_t result = ips_apply(reinterpret_cast<uint8_t *>(&image[guard.size()]),
                                     data + size - patch.size(), bytes.size(), patch.size());
    check((result == 0 || result == 1) && image.erase(guard.size(), bytes.size()) == guard + guard &&
          (result == 0 || patch.find("EOF", 5) != patch.npos));
    return 0;
}
