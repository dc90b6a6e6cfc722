// Deterministic PNG encoding: the same pixels always give the same bytes, because the colour
// type follows from the pixels alone, the filters and compression settings are fixed and no
// time or text is written. Rows are converted, filtered and compressed a strip at a time, so
// the working set stays in cache whatever the image's size; large pictures in two halves at once.
#pragma GCC optimize("O3")
#include "platform/graphics/codec.h"

#include "platform/foundation/foundation.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>
#include <system_error>
#include <thread>
#include <zlib.h>

namespace {

constexpr int kStripRows = 16;
constexpr std::uint8_t kFilterPaeth = 4;

// Straight colour of premultiplied channel c at alpha a, rounded: table[a][c].
const std::array<std::uint8_t, 256 * 256>& unpremultiplyTable() {
    static const auto table = [] {
        std::array<std::uint8_t, 256 * 256> t{};
        for (std::uint32_t a = 1; a < 256; ++a)
            for (std::uint32_t c = 0; c < 256; ++c)
                t[a * 256 + c] = std::uint8_t(std::min(255u, (c * 255 + a / 2) / a));
        return t;
    }();
    return table;
}

__attribute__((target_clones("avx2", "default"))) bool allOpaque(const CGImage& image) {
    if (image.opaque) return true;
    std::uint32_t all = 0xff000000u;
    for (int y = 0; y < image.height && all == 0xff000000u; ++y) {
        const std::uint32_t* row = image.row(y);
        for (int x = 0; x < image.width; ++x)
            all &= row[x];
        all &= 0xff000000u;
    }
    return all == 0xff000000u;
}

// One row as the PNG stores it: R, G, B (and A) bytes, straight colour.
void convertRow(const std::uint32_t* src, int width, bool alpha, std::uint8_t* out) {
    if (!alpha) {
        for (int x = 0; x < width; ++x, out += 3) {
            std::uint32_t p = src[x];
            out[0] = std::uint8_t(p >> 16), out[1] = std::uint8_t(p >> 8), out[2] = std::uint8_t(p);
        }
        return;
    }
    const std::uint8_t* table = unpremultiplyTable().data();
    for (int x = 0; x < width; ++x, out += 4) {
        std::uint32_t p = src[x], a = p >> 24;
        if (a == 255) {
            out[0] = std::uint8_t(p >> 16), out[1] = std::uint8_t(p >> 8), out[2] = std::uint8_t(p);
        } else {
            const std::uint8_t* t = table + a * 256;
            out[0] = t[(p >> 16) & 0xff], out[1] = t[(p >> 8) & 0xff], out[2] = t[p & 0xff];
        }
        out[3] = std::uint8_t(a);
    }
}

std::uint8_t paethPredictor(int a, int b, int c) {
    int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
    return std::uint8_t(pa <= pb && pa <= pc ? a : pb <= pc ? b : c);
}

// Filter `type` of a row of n bytes (bpp bytes per pixel) against the row above.
__attribute__((target_clones("avx2", "default"))) void
filterRow(int type, const std::uint8_t* __restrict cur, const std::uint8_t* __restrict prev,
          std::uint8_t* __restrict out, std::size_t n, int bpp) {
    std::size_t first = std::size_t(bpp);
    for (std::size_t i = 0; i < first; ++i) {
        int a = 0, b = prev[i];
        out[i] = std::uint8_t(cur[i] - (type == 1   ? a
                                        : type == 2 ? b
                                        : type == 3 ? (a + b) / 2
                                        : type == 4 ? paethPredictor(a, b, 0)
                                                    : 0));
    }
    switch (type) {
    case 0:
        std::memcpy(out + first, cur + first, n - first);
        break;
    case 1:
        for (std::size_t i = first; i < n; ++i)
            out[i] = std::uint8_t(cur[i] - cur[i - first]);
        break;
    case 2:
        for (std::size_t i = first; i < n; ++i)
            out[i] = std::uint8_t(cur[i] - prev[i]);
        break;
    case 3:
        for (std::size_t i = first; i < n; ++i)
            out[i] = std::uint8_t(cur[i] - ((cur[i - first] + prev[i]) >> 1));
        break;
    default:
        for (std::size_t i = first; i < n; ++i)
            out[i] =
                std::uint8_t(cur[i] - paethPredictor(cur[i - first], prev[i], prev[i - first]));
        break;
    }
}

// The filter of smallest sum of magnitudes (bytes read as signed), the usual guess at the one
// that compresses best; `out` gets the filtered row.
int bestFilter(const std::uint8_t* cur, const std::uint8_t* prev, std::uint8_t* out,
               std::uint8_t* trial, std::size_t n, int bpp) {
    int best = 0;
    std::uint64_t bestCost = ~std::uint64_t(0);
    for (int type = 0; type <= 4; ++type) {
        filterRow(type, cur, prev, trial, n, bpp);
        std::uint64_t cost = 0;
        for (std::size_t i = 0; i < n; ++i)
            cost += std::uint64_t(std::abs(int(std::int8_t(trial[i]))));
        if (cost < bestCost) bestCost = cost, best = type, std::memcpy(out, trial, n);
    }
    return best;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(v >> shift));
}

void putChunk(std::vector<std::uint8_t>& out, const char* type, const std::uint8_t* data,
              std::size_t length) {
    put32(out, std::uint32_t(length));
    std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    if (length) out.insert(out.end(), data, data + length);
    put32(out, std::uint32_t(crc32(0, out.data() + start, uInt(length + 4))));
}

// Raw deflate data: the zlib wrapper is written around the parts by hand.
struct Deflater {
    z_stream z{};
    bool ok = false;
    Deflater(PNGCompression compression) {
        bool small = compression == PNGCompression::Smallest;
        ok = deflateInit2(&z, small ? 9 : 1, Z_DEFLATED, -15, small ? 9 : 8,
                          small ? Z_DEFAULT_STRATEGY : Z_RLE) == Z_OK;
    }
    ~Deflater() {
        if (ok) deflateEnd(&z);
    }
    // Compresses `n` bytes onto the end of `out`; `flush` as deflate takes it.
    bool add(const std::uint8_t* data, std::size_t n, int flush, std::vector<std::uint8_t>& out) {
        std::uint8_t buffer[1 << 16];
        z.next_in = const_cast<Bytef*>(data);
        z.avail_in = uInt(n);
        for (;;) {
            z.next_out = buffer;
            z.avail_out = sizeof buffer;
            int status = deflate(&z, flush);
            out.insert(out.end(), buffer, buffer + (sizeof buffer - z.avail_out));
            if (status == Z_STREAM_END) return true;
            if (status != Z_OK && status != Z_BUF_ERROR) return false;
            if (flush != Z_FINISH && z.avail_in == 0 && z.avail_out > 0) return true;
        }
    }
};

// Rows [y0, y1) converted, filtered and compressed a strip at a time. A part that is not the
// last ends on a byte boundary (a sync flush), so parts made apart join into one stream.
struct Part {
    std::vector<std::uint8_t> bytes;
    uLong adler = adler32(0, nullptr, 0); // of the filtered bytes
    std::size_t length = 0;
    bool ok = false;
};

Part compressRowsOrThrow(const CGImage& image, bool alpha, int y0, int y1, bool last,
                         PNGCompression compression) {
    Part part;
    int bpp = alpha ? 4 : 3;
    std::size_t rowBytes = std::size_t(image.width) * bpp;
    Deflater deflater(compression);
    if (!deflater.ok) return part;
    std::vector<std::uint8_t> rows[2] = {std::vector<std::uint8_t>(rowBytes),
                                         std::vector<std::uint8_t>(rowBytes, 0)};
    // Zeros above the first row; a later part filters against the row before it.
    if (y0 > 0) convertRow(image.row(y0 - 1), image.width, alpha, rows[(y0 + 1) % 2].data());
    std::vector<std::uint8_t> strip(kStripRows * (rowBytes + 1)), trial(rowBytes);
    for (int s0 = y0; s0 < y1; s0 += kStripRows) {
        int count = std::min(kStripRows, y1 - s0);
        for (int i = 0; i < count; ++i) {
            int y = s0 + i;
            std::uint8_t* cur = rows[y % 2].data();
            const std::uint8_t* prev = rows[(y + 1) % 2].data();
            convertRow(image.row(y), image.width, alpha, cur);
            std::uint8_t* line = &strip[std::size_t(i) * (rowBytes + 1)];
            if (compression == PNGCompression::Smallest) {
                line[0] =
                    std::uint8_t(bestFilter(cur, prev, line + 1, trial.data(), rowBytes, bpp));
            } else {
                line[0] = kFilterPaeth;
                filterRow(kFilterPaeth, cur, prev, line + 1, rowBytes, bpp);
            }
        }
        std::size_t n = std::size_t(count) * (rowBytes + 1);
        part.adler = adler32_z(part.adler, strip.data(), n);
        part.length += n;
        int flush = s0 + count < y1 ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
        if (!deflater.add(strip.data(), n, flush, part.bytes)) return part;
    }
    part.ok = true;
    return part;
}

// Out of memory is a failed encoding, on either thread.
Part compressRows(const CGImage& image, bool alpha, int y0, int y1, bool last,
                  PNGCompression compression) noexcept {
    try {
        return compressRowsOrThrow(image, alpha, y0, y1, last, compression);
    } catch (const std::exception&) {
        return {};
    }
}

// Large pictures are compressed in two halves at once. The halves are fixed by the size alone,
// so the bytes are the same however the threads run.
constexpr std::size_t kSplitPixels = std::size_t(1) << 20;

} // namespace

std::vector<std::uint8_t> CGImageEncodePNG(const CGImage& image, PNGCompression compression) {
    if (image.width <= 0 || image.height <= 0 || !image.data) return {};
    bool alpha = !allOpaque(image);

    std::vector<std::uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::uint8_t header[13] = {};
    for (int i = 0; i < 4; ++i) {
        header[i] = std::uint8_t(std::uint32_t(image.width) >> (24 - 8 * i));
        header[4 + i] = std::uint8_t(std::uint32_t(image.height) >> (24 - 8 * i));
    }
    header[8] = 8;             // bits per channel
    header[9] = alpha ? 6 : 2; // RGBA or RGB
    putChunk(out, "IHDR", header, sizeof header);

    int middle = image.height;
    if (compression == PNGCompression::Fast && image.pixelCount() >= kSplitPixels &&
        image.height >= 4 * kStripRows)
        middle = image.height / 2 / kStripRows * kStripRows;
    Part second;
    std::thread worker;
    auto compressSecond = [&] {
        second = compressRows(image, alpha, middle, image.height, true, compression);
    };
    if (middle < image.height) {
        try {
            worker = std::thread(compressSecond);
        } catch (const std::system_error&) { // no thread to be had: the same bytes, in turn
            compressSecond();
        }
    }
    Part first = compressRows(image, alpha, 0, middle, middle == image.height, compression);
    if (worker.joinable()) worker.join();
    uLong adler = first.adler;
    std::size_t length = 2 + first.bytes.size() + 4;
    if (middle < image.height) {
        adler = adler32_combine(first.adler, second.adler, z_off_t(second.length));
        length += second.bytes.size();
    }
    if (!first.ok || (middle < image.height && !second.ok) || length > 0x7fffffffu) return {};

    // One IDAT: the zlib header (deflate, 32 KiB window, the level's flag), the parts, the
    // checksum.
    std::size_t idat = out.size();
    put32(out, std::uint32_t(length));
    out.insert(out.end(), {'I', 'D', 'A', 'T', 0x78});
    out.push_back(compression == PNGCompression::Smallest ? 0xda : 0x01);
    out.insert(out.end(), first.bytes.begin(), first.bytes.end());
    out.insert(out.end(), second.bytes.begin(), second.bytes.end());
    put32(out, std::uint32_t(adler));
    put32(out, std::uint32_t(crc32(0, out.data() + idat + 4, uInt(length + 4))));
    putChunk(out, "IEND", nullptr, 0);
    return out;
}

Ref<NSData> UIImagePNGRepresentation(const UIImage* image) {
    if (!image || !image->CGImage()) return nullptr;
    auto bytes = CGImageEncodePNG(*image->CGImage());
    if (bytes.empty()) return nullptr;
    return NSData::make(std::move(bytes));
}
