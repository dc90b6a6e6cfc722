#include "platform/graphics/codec.h"

#include "platform/foundation/foundation.h"
#include "platform/graphics/limits.h"

#include <fstream>
#include <iterator>

CGImageRef CGImageCreateWithEncodedData(const std::uint8_t*, std::size_t) {
    return nullptr;
}

Ref<UIImage> UIImage::imageWithData(const NSData* data) {
    if (!data) return nullptr;
    return imageWithCGImage(CGImageCreateWithEncodedData(data->bytes().data(), data->length()));
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
