// JPEG decoding with libjpeg-turbo: baseline, progressive, greyscale and CMYK (Adobe's inverted
// form included), turned upright as the EXIF orientation says. libjpeg reports errors by longjmp,
// so everything that must survive one lives in a struct owned by the caller's frame.
#include "platform/graphics/decoders.h"
#include "platform/graphics/limits.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jerror.h>
#include <jpeglib.h>

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "JCS_EXT_BGRA matches ARGB32 here");

namespace {

// A hostile progressive file can carry thousands of tiny scans; this bounds the work.
constexpr int kMaxScans = 1000;
// Progressive decoding keeps every coefficient; 100 megapixels at 4:4:4 need about 600 MB.
constexpr long kMaxDecoderMemory = 768L << 20;

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

struct Decode {
    jpeg_decompress_struct info{};
    ErrorManager error{};
    jpeg_progress_mgr progress{};
    std::shared_ptr<CGImage> image;
    JSAMPLE* cmykRow = nullptr;
    int orientation = 1;
};

[[noreturn]] void onError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void onMessage(j_common_ptr, int) {}

void onProgress(j_common_ptr common) {
    auto* info = reinterpret_cast<j_decompress_ptr>(common);
    if (info->input_scan_number > kMaxScans) {
        common->err->msg_code = JERR_NOTIMPL;
        common->err->error_exit(common);
    }
}

void convertCMYK(const JSAMPLE* src, std::uint32_t* dst, int width, bool inverted) {
    for (int x = 0; x < width; ++x, src += 4) {
        unsigned c = src[0], m = src[1], y = src[2], k = src[3];
        if (!inverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        // Inverted CMYK: each channel already holds 255 - ink.
        dst[x] = packPixel(255, (c * k + 127) / 255, (m * k + 127) / 255, (y * k + 127) / 255);
    }
}

// The orientation tag (1 to 8) of the first EXIF segment; 1 when there is none or it cannot be
// read. Every offset is checked against the segment's length.
int exifOrientation(jpeg_saved_marker_ptr marker) {
    for (; marker; marker = marker->next)
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length >= 14 &&
            std::memcmp(marker->data, "Exif\0\0", 6) == 0)
            break;
    if (!marker) return 1;
    const JOCTET* t = marker->data + 6;
    std::size_t n = marker->data_length - 6;
    bool little = t[0] == 'I' && t[1] == 'I';
    if (!little && !(t[0] == 'M' && t[1] == 'M')) return 1;
    auto u16 = [&](std::size_t at) {
        return little ? unsigned(t[at] | t[at + 1] << 8) : unsigned(t[at] << 8 | t[at + 1]);
    };
    std::size_t ifd =
        little ? std::size_t(u16(6)) << 16 | u16(4) : std::size_t(u16(4)) << 16 | u16(6);
    if (u16(2) != 42 || ifd > n - 2) return 1;
    for (std::size_t i = 0, count = u16(ifd); i < count; ++i) {
        std::size_t entry = ifd + 2 + 12 * i;
        if (entry + 12 > n) return 1;
        // Tag 0x112, one SHORT.
        if (u16(entry) == 0x112 && u16(entry + 2) == 3) {
            unsigned value = u16(entry + 8);
            return value >= 1 && value <= 8 ? int(value) : 1;
        }
    }
    return 1;
}

// The stored pixels turned upright: orientations 2 to 4 mirror or turn half way, 5 to 8 swap
// the sides (6 is a quarter turn clockwise, 8 one anticlockwise, 5 and 7 those mirrored).
std::shared_ptr<CGImage> upright(std::shared_ptr<CGImage> stored, int orientation) {
    if (!stored || orientation <= 1) return stored;
    std::ptrdiff_t w = stored->width, h = stored->height, last = (h - 1) * w;
    // Where the output's first pixel comes from, and the steps to its right and below it.
    struct Walk {
        std::ptrdiff_t start, right, down;
    } walks[] = {{w - 1, -1, w}, {last + w - 1, -1, -w}, {last, 1, -w}, {0, w, 1},
                 {last, -w, 1},  {last + w - 1, -w, -1}, {w - 1, w, -1}};
    const Walk& walk = walks[orientation - 2];
    bool swap = orientation >= 5;
    auto out = CGImageAllocate(int(swap ? h : w), int(swap ? w : h));
    if (!out) return nullptr;
    out->opaque = stored->opaque;
    const std::uint32_t* from = stored->pixels();
    std::uint32_t* to = out->data.get();
    for (int y = 0; y < out->height; ++y)
        for (std::ptrdiff_t x = 0, i = walk.start + y * walk.down; x < out->width;
             ++x, i += walk.right)
            *to++ = from[i];
    return out;
}

// Returns false when libjpeg gave up; `d.image` then holds nothing usable.
bool run(Decode& d, const std::uint8_t* bytes, std::size_t length) {
    auto& info = d.info;
    if (setjmp(d.error.jump)) return false;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    info.progress = &d.progress;
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xffff);
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
    d.orientation = exifOrientation(info.marker_list);
    if (!imageSizeAllowed(info.image_width, info.image_height)) return false;

    bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    d.image = CGImageAllocate(int(info.output_width), int(info.output_height));
    if (!d.image) return false;
    d.image->opaque = true;
    if (cmyk) {
        d.cmykRow = static_cast<JSAMPLE*>((*info.mem->alloc_small)(
            reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE, info.output_width * 4));
    }
    std::uint32_t* out = d.image->data.get();
    while (info.output_scanline < info.output_height) {
        std::uint32_t* row = out + std::size_t(info.output_scanline) * info.output_width;
        JSAMPROW target = cmyk ? d.cmykRow : reinterpret_cast<JSAMPROW>(row);
        if (jpeg_read_scanlines(&info, &target, 1) != 1) return false;
        if (cmyk) convertCMYK(d.cmykRow, row, int(info.output_width), info.saw_Adobe_marker);
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

CGImageRef decodeJPEG(const std::uint8_t* bytes, std::size_t length) {
    Decode d;
    d.info.err = jpeg_std_error(&d.error.base);
    d.error.base.error_exit = onError;
    d.error.base.emit_message = onMessage;
    d.progress.progress_monitor = onProgress;
    bool ok = run(d, bytes, length);
    jpeg_destroy_decompress(&d.info);
    if (!ok) return nullptr;
    return upright(std::move(d.image), d.orientation);
}
