// Image codecs: JPEG (libjpeg-turbo) and PNG (libpng) decoding of untrusted bytes, and a
// deterministic PNG encoder.
#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/image.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class NSData;

// Decodes JPEG or PNG bytes into a bitmap, a JPEG turned upright as its EXIF orientation tag
// says (a 451 x 300 file tagged 6 gives 300 x 451). Nil for other formats (GIF included), for data
// over 64 MiB, images over 100 megapixels or wider or taller than 16384 pixels (refused before any
// pixel memory is allocated), and for corrupt data. A truncated JPEG gives the part that
// decoded (the rest grey, as libjpeg fills it); a truncated PNG gives nil.
CGImageRef CGImageCreateWithEncodedData(const std::uint8_t* bytes, std::size_t length);

// PNG bytes of the bitmap: RGBA, 8 bits, un-premultiplied, fixed compression settings and no
// time or text chunks, so equal pixels always give equal bytes. Nil for a nil or symbol image.
Ref<NSData> UIImagePNGRepresentation(const UIImage* image);
std::vector<std::uint8_t> CGImageEncodePNG(const CGImage& image);
