// ips_apply_fuzz.cpp -- ips_apply on any image and any patch: it writes only inside the image,
// answers 0 or 1, and succeeds only where an "EOF" end marker lies inside the patch
//
// Input: a 2-byte little-endian number that splits the rest into the image and the patch. The
// image sits between guard bytes that must come through untouched; the patch is the tail of the
// fuzzer's own buffer, so AddressSanitizer sees any read past its end.
#include "fuzz/harness.h"
#include "ips/ips_apply.h"

const std::string guard(64, '\xA5'); // on each side of the image: no record may reach it

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string_view in(reinterpret_cast<const char *>(data), size);
    const uint32_t split = take(in, 2);
    const std::string bytes(in.substr(0, split % (in.size() + 1)));
    const std::string_view patch = in.substr(bytes.size());
    std::string image = guard + bytes + guard;
    const int32_t result = ips_apply(reinterpret_cast<uint8_t *>(&image[guard.size()]),
                                     data + size - patch.size(), bytes.size(), patch.size());
    if ((result != 0 && result != 1) || image.erase(guard.size(), bytes.size()) != guard + guard ||
        (result == 1 && patch.find("EOF", 5) == patch.npos))
        std::abort();
    return 0;
}
