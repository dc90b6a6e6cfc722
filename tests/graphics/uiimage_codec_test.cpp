// Decoding of every supported format, the refusals, damaged data and the PNG encoder.
#include "image_samples.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <png.h>
#include <random>

using samples::at;
using samples::Bytes;
using samples::decode;

namespace {

void quadrants(int x, int y, std::uint8_t* rgb) {
    static const std::uint8_t colours[4][3] = {
        {230, 40, 30}, {20, 200, 60}, {30, 60, 220}, {240, 240, 240}};
    const std::uint8_t* c = colours[(x >= 32) + 2 * (y >= 32)];
    rgb[0] = c[0], rgb[1] = c[1], rgb[2] = c[2];
}

} // namespace

TEST(UIImageDecoding, JPEGVariantsDecodeToOpaquePixelsAtScaleOne) {
    struct Case {
        const char* name;
        JPEGOptions options;
    } cases[] = {{"baseline", {}},
                 {"progressive", {.progressive = true}},
                 {"cmyk", {.cmyk = true}},
                 {"grey", {.grey = true}}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = decode(samples::jpeg(64, 64, quadrants, c.options));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->size(), CGSizeMake(64, 64));
        EXPECT_EQ(image->scale(), 1);
        EXPECT_TRUE(image->CGImage()->opaque);
        for (int x : {8, 56})
            for (int y : {8, 56}) {
                std::uint8_t rgb[3];
                quadrants(x, y, rgb);
                if (c.options.grey) rgb[1] = rgb[2] = rgb[0]; // only the first byte is written
                std::uint32_t p = at(image, x, y);
                EXPECT_EQ(pixelAlpha(p), 255u);
                EXPECT_NEAR(int(pixelRed(p)), rgb[0], 8);
                EXPECT_NEAR(int(pixelGreen(p)), rgb[1], 8);
                EXPECT_NEAR(int(pixelBlue(p)), rgb[2], 8);
            }
    }
}

TEST(UIImageDecoding, PNGColourTypesArePremultiplied) {
    constexpr std::uint32_t W = 0xffffffffu, K = 0xff000000u;
    struct Case {
        const char* name;
        Bytes bytes;
        bool opaque;
        std::vector<std::uint32_t> pixels;
    } cases[] = {
        // Palette with transparency: opaque red, half-transparent green, transparent blue.
        {"palette",
         samples::png(3, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1, 2}},
                      {255, 0, 0, 0, 255, 0, 0, 0, 255}, {255, 128, 0}),
         false,
         {packPixel(255, 255, 0, 0), packPixel(128, 0, 128, 0), 0}},
        {"grey alpha",
         samples::png(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{200, 255, 200, 51}}),
         false,
         {packPixel(255, 200, 200, 200), packPixel(51, 40, 40, 40)}},
        {"16-bit big-endian",
         samples::png(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0xff, 0xff, 0x80, 0, 0, 0}}),
         true,
         {packPixel(255, 255, 128, 0)}},
        {"1-bit interlaced",
         samples::png(8, 2, PNG_COLOR_TYPE_GRAY, 1, {{0xa5}, {0x0f}}, {}, {}, true),
         true,
         {W, K, W, K, K, W, K, W, K, K, K, K, W, W, W, W}},
    };
    for (const Case& c : cases) {
        auto image = decode(c.bytes);
        ASSERT_TRUE(image) << c.name;
        const CGImage& b = *image->CGImage();
        EXPECT_EQ(b.opaque, c.opaque) << c.name;
        EXPECT_EQ(std::vector<std::uint32_t>(b.pixels(), b.pixels() + b.pixelCount()), c.pixels)
            << c.name;
    }
}

// Other formats, nothing, too much declared or given, cut short or damaged: nil or an image,
// never a crash. A cut JPEG still shows what it holds.
TEST(UIImageDecoding, HostileBytesGiveNilOrAnImage) {
    auto jpegBytes = samples::jpeg(256, 192, samples::photo);
    auto pngBytes =
        samples::png(16, 16, PNG_COLOR_TYPE_RGB, 8, std::vector<Bytes>(16, Bytes(48, 77)));
    const char gif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01"
                       "\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;";
    EXPECT_FALSE(decode(Bytes(gif, gif + sizeof gif - 1)));
    EXPECT_FALSE(UIImage::imageWithData(NSData::make("not an image", 12)));
    EXPECT_FALSE(decode({}));
    EXPECT_FALSE(UIImage::imageWithData(nullptr));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/nonexistent/artwork.png"));
    // JPEG headers that declare too much: the data after them never matters.
    auto declaring = [&](int w, int h) {
        auto bytes = jpegBytes;
        for (std::size_t i = 0; i + 8 < bytes.size(); ++i)
            if (bytes[i] == 0xff && bytes[i + 1] == 0xc0) { // start of frame: height, width
                bytes[i + 5] = std::uint8_t(h >> 8), bytes[i + 6] = std::uint8_t(h);
                bytes[i + 7] = std::uint8_t(w >> 8), bytes[i + 8] = std::uint8_t(w);
                break;
            }
        return bytes;
    };
    EXPECT_FALSE(decode(declaring(16385, 8)));
    EXPECT_FALSE(decode(declaring(12000, 9000))); // 108 megapixels
    EXPECT_FALSE(decode(samples::png(16385, 1, PNG_COLOR_TYPE_GRAY, 1, {Bytes(2049)})));
    EXPECT_FALSE(decode(samples::png(10001, 10000, PNG_COLOR_TYPE_GRAY, 1,
                                     std::vector<Bytes>(10000, Bytes(1251)))));
    Bytes huge((64u << 20) + 1, 0);
    std::copy(jpegBytes.begin(), jpegBytes.end(), huge.begin());
    EXPECT_FALSE(decode(huge));

    EXPECT_FALSE(decode(Bytes(pngBytes.begin(), pngBytes.end() - 20)));
    EXPECT_FALSE(decode(Bytes(jpegBytes.begin(), jpegBytes.begin() + 20)));
    auto cutJPEG = decode(Bytes(jpegBytes.begin(), jpegBytes.begin() + jpegBytes.size() / 2));
    ASSERT_TRUE(cutJPEG);
    EXPECT_EQ(cutJPEG->size(), CGSizeMake(256, 192));
    std::mt19937 random(7);
    for (auto* original : {&jpegBytes, &pngBytes})
        for (int round = 0; round < 300; ++round) {
            auto bytes = *original;
            for (int i = 0, flips = 1 + int(random() % 8); i < flips; ++i)
                bytes[3 + random() % (bytes.size() - 3)] = std::uint8_t(random());
            if (auto image = decode(bytes)) {
                EXPECT_GT(image->size().width, 0);
            }
        }
}

// Opaque pixels are stored as RGB, others as RGBA (IHDR's colour type); fast and smallest
// compression both give back exactly the pixels, smallest in fewer bytes. The scale and the
// rendering mode change nothing.
TEST(UIImageEncoding, PNGFollowsThePixelsAndRoundTrips) {
    for (bool opaque : {true, false}) {
        SCOPED_TRACE(opaque);
        auto pixel = [&](int x, int y) {
            std::uint32_t a = opaque ? 255 : std::uint32_t(x * 4);
            std::uint32_t noise = std::uint32_t((x * 7 + y * 13) % 5);
            return packPixel(a, a * std::uint32_t(x) / 64, a * noise / 8,
                             a * std::uint32_t(y) / 40);
        };
        CGImageRef image = samples::bitmap(64, 40, pixel);
        std::vector<std::uint8_t> fast = CGImageEncodePNG(*image);
        std::vector<std::uint8_t> small = CGImageEncodePNG(*image, PNGCompression::Smallest);
        ASSERT_GT(fast.size(), 25u);
        EXPECT_EQ(fast[25], opaque ? 2 : 6);
        EXPECT_LT(small.size(), fast.size());
        for (auto* bytes : {&fast, &small}) {
            auto back = CGImageCreateWithEncodedData(bytes->data(), bytes->size());
            ASSERT_TRUE(back);
            auto plain = [](const CGImage* b) {
                return [b](int x, int y) { return unpremultiplyPixel(b->row(y)[x]); };
            };
            EXPECT_EQ(samples::maxDifference(plain(image.get()), plain(back.get()), {0, 0, 64, 40}),
                      0);
        }
        auto retina = UIImage::imageWithCGImage(image, 2)->imageWithRenderingMode(
            UIImageRenderingModeAlwaysTemplate);
        EXPECT_EQ(retina->CGImage().get(), image.get()) << "the template copy shares the bitmap";
        EXPECT_EQ(retina->size(), CGSizeMake(32, 20));
        auto data = UIImagePNGRepresentation(retina);
        ASSERT_TRUE(data);
        EXPECT_TRUE(data->isEqual(NSData::make(fast)));
    }
    // A large picture is compressed in two halves at once, joined into one stream.
    CGImageRef large = samples::bitmap(1030, 1030, [](int x, int y) {
        return packPixel(255, x * 7 % 256, y * 3 % 256, std::uint32_t(x ^ y) & 255);
    });
    std::vector<std::uint8_t> bytes = CGImageEncodePNG(*large);
    auto back = CGImageCreateWithEncodedData(bytes.data(), bytes.size());
    ASSERT_TRUE(back);
    EXPECT_EQ(samples::maxDifference([&](int x, int y) { return large->row(y)[x]; },
                                     [&](int x, int y) { return back->row(y)[x]; },
                                     {0, 0, 1030, 1030}),
              0);
    EXPECT_FALSE(UIImagePNGRepresentation(nullptr));
    EXPECT_FALSE(UIImagePNGRepresentation(UIImage::systemImageNamed("play.fill")));
}
