#include "sim/image_match.h"

#include "platform/graphics/codec.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace sim {

namespace {

constexpr std::uintmax_t kMaxGoldenBytes = 64u << 20;
constexpr std::uint32_t kHighlight = 0xFFFF00FF; // opaque magenta

int channelDifference(std::uint32_t a, std::uint32_t b) {
    int largest = 0;
    for (int shift = 0; shift < 32; shift += 8)
        largest = std::max(largest, std::abs(int((a >> shift) & 0xff) - int((b >> shift) & 0xff)));
    return largest;
}

} // namespace

ImageDifference compareImages(const CGImage& actual, const CGImage& golden, int perPixel) {
    ImageDifference result;
    result.pixels = long(actual.pixelCount());
    auto diff = CGImageAllocate(actual.width, actual.height);
    for (std::size_t i = 0; i < actual.pixelCount(); i++) {
        std::uint32_t a = actual.pixels()[i];
        int difference = channelDifference(a, golden.pixels()[i]);
        result.largest = std::max(result.largest, difference);
        bool differs = difference > perPixel;
        result.differing += differs;
        // Premultiplied, so a quarter of each channel is the pixel dimmed over black.
        if (diff)
            diff->data[i] =
                differs ? kHighlight
                        : packPixel(255, pixelRed(a) / 4, pixelGreen(a) / 4, pixelBlue(a) / 4);
    }
    if (diff) diff->opaque = true;
    result.diff = diff;
    return result;
}

CGImageRef readGolden(const std::string& path, std::string* problem, bool* missing) {
    std::error_code error;
    *missing = false;
    auto status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        *missing = true;
        *problem = "there is no such file";
        return nullptr;
    }
    if (status.type() != fs::file_type::regular) {
        *problem = "it is not a regular file";
        return nullptr;
    }
    auto size = fs::file_size(path, error);
    if (error || size > kMaxGoldenBytes) {
        *problem = error ? "it cannot be read: " + error.message() : "it is over 64 MiB";
        return nullptr;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(size);
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
    if (!in) {
        *problem = "it cannot be read";
        return nullptr;
    }
    static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    CGImageRef image;
    if (bytes.size() >= 8 && std::equal(kSignature, kSignature + 8, bytes.begin()))
        image = CGImageCreateWithEncodedData(bytes.data(), bytes.size());
    if (!image) *problem = "it is not a PNG image that decodes";
    return image;
}

} // namespace sim
