// The content digest hashes what the PNG encoder writes (size, then un-premultiplied pixels),
// without the encoding: opaque pixels are hashed as they are, others are converted in chunks.
#include "platform/graphics/bitmap.h"

#include <algorithm>

namespace {

Digest256 compute(const CGImage& image) {
    Sha256Tree h;
    std::uint32_t size[2] = {std::uint32_t(image.width), std::uint32_t(image.height)};
    h.update(size, sizeof size);
    const std::uint32_t* p = image.pixels();
    std::size_t n = image.pixelCount();
    if (image.opaque) {
        h.update(p, n * 4);
        return h.finish();
    }
    constexpr std::size_t kChunk = 1024;
    std::uint32_t chunk[kChunk];
    for (std::size_t i = 0; i < n; i += kChunk) {
        std::size_t m = std::min(kChunk, n - i);
        std::uint32_t all = 0xffffffffu;
        for (std::size_t j = 0; j < m; ++j)
            all &= p[i + j];
        if ((all >> 24) == 0xff) {
            h.update(p + i, m * 4);
            continue;
        }
        for (std::size_t j = 0; j < m; ++j)
            chunk[j] = unpremultiplyPixel(p[i + j]);
        h.update(chunk, m * 4);
    }
    return h.finish();
}

} // namespace

const Digest256& CGImageContentDigest(const CGImage& image) {
    std::call_once(image.digestOnce, [&] { image.digest = compute(image); });
    return image.digest;
}
