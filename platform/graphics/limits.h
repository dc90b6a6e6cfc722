// Hard limits on untrusted images, checked before anything is allocated.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr std::size_t kMaxImageDataBytes = 64u << 20; // 64 MiB of encoded bytes
constexpr std::int64_t kMaxImagePixels = 100'000'000; // 100 megapixels
constexpr int kMaxImageSide = 16384;

inline bool imageSizeAllowed(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxImageSide && height <= kMaxImageSide &&
           width * height <= kMaxImagePixels;
}
