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

// PNG bytes of the bitmap: 8 bits per channel, un-premultiplied, RGB when every pixel is opaque
// and RGBA otherwise, fixed filters and compression settings and no time or text chunks, so
// equal pixels always give equal bytes. Nil for a nil or symbol image.
Ref<NSData> UIImagePNGRepresentation(const UIImage* image);
// Fast: one filter for every row and run-length compression, several times quicker than
// Smallest, which picks a filter per row and compresses hardest (files about a fifth smaller).
enum class PNGCompression { Fast, Smallest };
std::vector<std::uint8_t> CGImageEncodePNG(const CGImage& image,
                                           PNGCompression compression = PNGCompression::Fast);
