// The format decoders behind CGImageCreateWithEncodedData (internal to graphics).
#pragma once

#include "platform/graphics/bitmap.h"

#include <cstddef>
#include <cstdint>

// Upright as the EXIF orientation says.
CGImageRef decodeJPEG(const std::uint8_t* bytes, std::size_t length);
CGImageRef decodePNG(const std::uint8_t* bytes, std::size_t length);
