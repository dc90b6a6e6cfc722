// Format detection and the UIImage entry points that decode.
#include "platform/graphics/codec.h"

#include "platform/foundation/foundation.h"
#include "platform/graphics/decoders.h"
#include "platform/graphics/limits.h"
#include "platform/uikit/weak.h"

#include <cstring>
#include <fstream>
#include <mutex>

CGImageRef CGImageCreateWithEncodedData(const std::uint8_t* bytes, std::size_t length) {
    if (!bytes || length > kMaxImageDataBytes) return nullptr;
    static constexpr std::uint8_t kPNG[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    if (length >= sizeof kPNG && std::memcmp(bytes, kPNG, sizeof kPNG) == 0)
        return decodePNG(bytes, length);
    if (length >= 3 && bytes[0] == 0xff && bytes[1] == 0xd8 && bytes[2] == 0xff)
        return decodeJPEG(bytes, length);
    return nullptr;
}

Ref<UIImage> UIImage::imageWithData(const NSData* data) {
    if (!data) return nullptr;
    // The host and the plug-in decode the same artwork data several times in one track change.
    // Data and bitmaps never change, so a new image shares the bitmap of the last data decoded
    // while anyone still holds it: one decode and one copy of the pixels instead of several.
    static std::mutex mutex;
    static Weak<NSData> lastData;
    static std::weak_ptr<const ::CGImage> lastBitmap;
    std::lock_guard lock(mutex);
    if (lastData.get() == data)
        if (CGImageRef kept = lastBitmap.lock()) return imageWithCGImage(std::move(kept));
    CGImageRef bitmap = CGImageCreateWithEncodedData(data->bytes().data(), data->length());
    lastData = const_cast<NSData*>(data);
    lastBitmap = bitmap;
    return imageWithCGImage(std::move(bitmap));
}

Ref<UIImage> UIImage::imageWithContentsOfFile(std::string_view path) {
    std::ifstream in{std::string(path), std::ios::binary | std::ios::ate};
    if (!in) return nullptr;
    auto size = in.tellg();
    if (size <= 0 || std::size_t(size) > kMaxImageDataBytes) return nullptr;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    in.seekg(0);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) return nullptr;
    return imageWithCGImage(CGImageCreateWithEncodedData(bytes.data(), bytes.size()));
}
