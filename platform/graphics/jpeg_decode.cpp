// JPEG decoding with libjpeg-turbo: baseline, progressive, greyscale and CMYK (Adobe's inverted
// form included). libjpeg reports errors by longjmp, so everything that must survive one lives in
// a struct owned by the caller's frame.
#include "platform/graphics/decoders.h"
#include "platform/graphics/limits.h"

#include <csetjmp>
#include <cstdio>
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

// Returns false when libjpeg gave up; `d.image` then holds nothing usable.
bool run(Decode& d, const std::uint8_t* bytes, std::size_t length) {
    auto& info = d.info;
    if (setjmp(d.error.jump)) return false;
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    info.progress = &d.progress;
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(length));
    if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) return false;
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
    return d.image;
}
