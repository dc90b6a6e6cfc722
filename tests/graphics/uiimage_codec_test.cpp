// Decoding of every supported format, the refusals, damaged data and the PNG encoder.
#include "image_samples.h"

#include "platform/foundation/foundation.h"

#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <new>
#include <png.h>
#include <random>

namespace {

// The largest single request made through the nothrow array form (how bitmaps are allocated).
std::atomic<std::size_t> largestRequest{0};

Ref<UIImage> decode(const samples::Bytes& bytes) {
    return UIImage::imageWithData(NSData::make(bytes));
}

std::uint32_t at(const UIImage* image, int x, int y) {
    const CGImage& b = *image->CGImage();
    return b.row(y)[x];
}

void expectNear(std::uint32_t p, int a, int r, int g, int b, int tolerance) {
    EXPECT_EQ(int(pixelAlpha(p)), a);
    EXPECT_NEAR(int(pixelRed(p)), r, tolerance);
    EXPECT_NEAR(int(pixelGreen(p)), g, tolerance);
    EXPECT_NEAR(int(pixelBlue(p)), b, tolerance);
}

void quadrants(int x, int y, std::uint8_t* rgb) {
    static const std::uint8_t colours[4][3] = {
        {230, 40, 30}, {20, 200, 60}, {30, 60, 220}, {240, 240, 240}};
    const std::uint8_t* c = colours[(x >= 32) + 2 * (y >= 32)];
    rgb[0] = c[0], rgb[1] = c[1], rgb[2] = c[2];
}

// The PNG chunk checksum (CRC-32, reflected, polynomial 0xedb88320).
std::uint32_t crc32(const std::uint8_t* p, std::size_t n) {
    std::uint32_t c = 0xffffffffu;
    for (std::size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xedb88320u & (0u - (c & 1)));
    }
    return ~c;
}

} // namespace

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    std::size_t seen = largestRequest.load();
    while (size > seen && !largestRequest.compare_exchange_weak(seen, size)) {
    }
    return std::malloc(size ? size : 1);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

TEST(UIImageDecoding, JPEGVariantsDecodeToOpaquePixelsAtScaleOne) {
    struct Case {
        const char* name;
        samples::JPEGOptions options;
    } cases[] = {
        {"baseline", {}}, {"progressive", {.progressive = true}}, {"cmyk", {.cmyk = true}}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = decode(samples::jpeg(64, 64, quadrants, c.options));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->size(), CGSizeMake(64, 64));
        EXPECT_EQ(image->scale(), 1);
        EXPECT_TRUE(image->CGImage()->opaque);
        expectNear(at(image, 8, 8), 255, 230, 40, 30, 8);
        expectNear(at(image, 56, 8), 255, 20, 200, 60, 8);
        expectNear(at(image, 8, 56), 255, 30, 60, 220, 8);
        expectNear(at(image, 56, 56), 255, 240, 240, 240, 8);
    }
}

TEST(UIImageDecoding, GreyJPEGHasEqualChannels) {
    auto image = decode(
        samples::jpeg(40, 20, [](int x, int, std::uint8_t* rgb) { rgb[0] = std::uint8_t(x * 6); },
                      {.grey = true}));
    ASSERT_TRUE(image);
    std::uint32_t p = at(image, 30, 10);
    EXPECT_EQ(pixelRed(p), pixelGreen(p));
    EXPECT_EQ(pixelGreen(p), pixelBlue(p));
    EXPECT_NEAR(int(pixelRed(p)), 180, 6);
}

TEST(UIImageDecoding, PNGColourTypesArePremultiplied) {
    // Palette with transparency: opaque red, half-transparent green, fully transparent blue.
    samples::Bytes palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    auto paletted =
        decode(samples::png(3, 1, PNG_COLOR_TYPE_PALETTE, 8, {{0, 1, 2}}, palette, {255, 128, 0}));
    ASSERT_TRUE(paletted);
    EXPECT_FALSE(paletted->CGImage()->opaque);
    EXPECT_EQ(at(paletted, 0, 0), packPixel(255, 255, 0, 0));
    EXPECT_EQ(at(paletted, 1, 0), packPixel(128, 0, 128, 0));
    EXPECT_EQ(at(paletted, 2, 0), 0u);

    auto greyAlpha =
        decode(samples::png(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {{200, 255, 200, 51}}));
    ASSERT_TRUE(greyAlpha);
    EXPECT_EQ(at(greyAlpha, 0, 0), packPixel(255, 200, 200, 200));
    EXPECT_EQ(at(greyAlpha, 1, 0), packPixel(51, 40, 40, 40));

    // 16-bit RGB, big-endian samples: scaled to 8 bits.
    auto deep =
        decode(samples::png(1, 1, PNG_COLOR_TYPE_RGB, 16, {{0xff, 0xff, 0x80, 0x00, 0, 0}}));
    ASSERT_TRUE(deep);
    EXPECT_TRUE(deep->CGImage()->opaque);
    EXPECT_EQ(at(deep, 0, 0), packPixel(255, 255, 128, 0));

    // Interlaced greyscale at 1 bit per pixel.
    auto bits = decode(samples::png(8, 2, PNG_COLOR_TYPE_GRAY, 1, {{0xa5}, {0x0f}}, {}, {}, true));
    ASSERT_TRUE(bits);
    EXPECT_EQ(at(bits, 0, 0), 0xffffffffu);
    EXPECT_EQ(at(bits, 1, 0), 0xff000000u);
    EXPECT_EQ(at(bits, 7, 1), 0xffffffffu);
}

TEST(UIImageDecoding, OtherFormatsAndNothingGiveNil) {
    const char gif[] = "GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\xff\xff\x00\x00\x00!\xf9\x04\x01"
                       "\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;";
    EXPECT_FALSE(UIImage::imageWithData(NSData::make(gif, sizeof gif - 1)));
    EXPECT_FALSE(UIImage::imageWithData(NSData::make("not an image", 12)));
    EXPECT_FALSE(UIImage::imageWithData(NSData::make(std::vector<std::uint8_t>{})));
    EXPECT_FALSE(UIImage::imageWithData(nullptr));
    EXPECT_FALSE(UIImage::imageWithContentsOfFile("/nonexistent/artwork.png"));
}

TEST(UIImageDecoding, OversizedImagesAreRefusedBeforeAllocating) {
    auto tiny = [](int, int, std::uint8_t* rgb) { rgb[0] = rgb[1] = rgb[2] = 9; };
    // Headers that declare too much: the pixel data after them never matters.
    auto patchJPEG = [&](int w, int h) {
        auto bytes = samples::jpeg(8, 8, tiny);
        for (std::size_t i = 0; i + 8 < bytes.size(); ++i)
            if (bytes[i] == 0xff && bytes[i + 1] == 0xc0) { // start of frame: height, width
                bytes[i + 5] = std::uint8_t(h >> 8), bytes[i + 6] = std::uint8_t(h);
                bytes[i + 7] = std::uint8_t(w >> 8), bytes[i + 8] = std::uint8_t(w);
                break;
            }
        return bytes;
    };
    auto patchPNG = [&](std::uint32_t w, std::uint32_t h) {
        auto bytes = samples::png(1, 1, PNG_COLOR_TYPE_RGB, 8, {{1, 2, 3}});
        for (int i = 0; i < 4; ++i) {
            bytes[16 + i] = std::uint8_t(w >> (24 - 8 * i));
            bytes[20 + i] = std::uint8_t(h >> (24 - 8 * i));
        }
        // Keep the header's checksum right so only the size can cause the refusal.
        std::uint32_t crc = crc32(bytes.data() + 12, 17);
        for (int i = 0; i < 4; ++i)
            bytes[29 + i] = std::uint8_t(crc >> (24 - 8 * i));
        return bytes;
    };
    largestRequest = 0;
    EXPECT_FALSE(decode(patchJPEG(16385, 8)));
    EXPECT_FALSE(decode(patchJPEG(12000, 9000))); // 108 megapixels
    EXPECT_FALSE(decode(patchPNG(16385, 1)));
    EXPECT_FALSE(decode(patchPNG(10001, 10000)));
    EXPECT_LT(largestRequest.load(), std::size_t(1) << 20);

    // Within the limits the same header is accepted as far as its data goes.
    EXPECT_TRUE(decode(patchPNG(1, 1)));

    std::vector<std::uint8_t> huge((64u << 20) + 1, 0);
    auto head = samples::jpeg(8, 8, tiny);
    std::copy(head.begin(), head.end(), huge.begin());
    EXPECT_FALSE(UIImage::imageWithData(NSData::make(std::move(huge))));
}

TEST(UIImageDecoding, DamagedDataNeverCrashes) {
    auto jpegBytes = samples::jpeg(256, 192, samples::photo);
    auto pngBytes = samples::png(16, 16, PNG_COLOR_TYPE_RGB, 8,
                                 std::vector<samples::Bytes>(16, samples::Bytes(48, 77)));
    // A truncated JPEG keeps its size, with what decoded; a truncated PNG is nil.
    auto cutJPEG =
        decode(samples::Bytes(jpegBytes.begin(), jpegBytes.begin() + jpegBytes.size() / 2));
    ASSERT_TRUE(cutJPEG);
    EXPECT_EQ(cutJPEG->size(), CGSizeMake(256, 192));
    EXPECT_FALSE(decode(samples::Bytes(pngBytes.begin(), pngBytes.end() - 20)));
    EXPECT_FALSE(decode(samples::Bytes(jpegBytes.begin(), jpegBytes.begin() + 20)));

    std::mt19937 random(7);
    for (auto* original : {&jpegBytes, &pngBytes})
        for (int round = 0; round < 300; ++round) {
            auto bytes = *original;
            int flips = 1 + int(random() % 8);
            for (int i = 0; i < flips; ++i)
                bytes[3 + random() % (bytes.size() - 3)] = std::uint8_t(random());
            auto image = decode(bytes);
            if (image) {
                EXPECT_GT(image->size().width, 0);
            }
        }
}

TEST(UIImageEncoding, PNGBytesDependOnlyOnPixelsAndRoundTrip) {
    auto pixel = [](int x, int y) {
        std::uint32_t a = std::uint32_t((x * 37 + y * 11) % 256);
        return packPixel(a, a * (x % 5) / 4, a / 2, a * (y % 3) / 2);
    };
    auto first = UIImage::imageWithCGImage(samples::bitmap(33, 17, pixel));
    auto second = UIImage::imageWithCGImage(samples::bitmap(33, 17, pixel), 2);
    auto a = UIImagePNGRepresentation(first), b = UIImagePNGRepresentation(second);
    ASSERT_TRUE(a);
    EXPECT_TRUE(a->isEqual(b));

    auto back = UIImage::imageWithData(a);
    ASSERT_TRUE(back);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 33; ++x) {
            std::uint32_t p = pixel(x, y), q = at(back, x, y);
            EXPECT_EQ(pixelAlpha(p), pixelAlpha(q));
            EXPECT_NEAR(int(pixelRed(p)), int(pixelRed(q)), 1);
            EXPECT_NEAR(int(pixelBlue(p)), int(pixelBlue(q)), 1);
        }

    auto changed = samples::bitmap(33, 17, [&](int x, int y) {
        return x == 5 && y == 5 ? packPixel(255, 1, 2, 3) : pixel(x, y);
    });
    EXPECT_FALSE(a->isEqual(UIImagePNGRepresentation(UIImage::imageWithCGImage(changed))));
    EXPECT_FALSE(UIImagePNGRepresentation(nullptr));
    EXPECT_FALSE(UIImagePNGRepresentation(UIImage::systemImageNamed("play.fill")));
}

// Opaque pixels are stored as RGB, others as RGBA (IHDR's colour type); fast and smallest
// compression both give back exactly the pixels, smallest in fewer bytes.
TEST(UIImageEncoding, ColourTypeFollowsThePixelsAndBothCompressionsRoundTrip) {
    for (bool opaque : {true, false}) {
        auto image = samples::bitmap(64, 40, [&](int x, int y) {
            std::uint32_t a = opaque ? 255 : std::uint32_t(x * 4);
            std::uint32_t noise = std::uint32_t((x * 7 + y * 13) % 5);
            return packPixel(a, a * std::uint32_t(x) / 64, a * noise / 8,
                             a * std::uint32_t(y) / 40);
        });
        std::vector<std::uint8_t> fast = CGImageEncodePNG(*image);
        std::vector<std::uint8_t> small = CGImageEncodePNG(*image, PNGCompression::Smallest);
        ASSERT_GT(fast.size(), 25u);
        EXPECT_EQ(fast[25], opaque ? 2 : 6) << opaque;
        EXPECT_LT(small.size(), fast.size()) << opaque;
        for (auto* bytes : {&fast, &small}) {
            auto back = CGImageCreateWithEncodedData(bytes->data(), bytes->size());
            ASSERT_TRUE(back);
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 64; ++x)
                    ASSERT_EQ(unpremultiplyPixel(image->row(y)[x]),
                              unpremultiplyPixel(back->row(y)[x]))
                        << x << "," << y;
        }
    }
}

TEST(UIImageSymbols, RenderingModeSharesTheBitmap) {
    auto symbol = UIImage::systemImageNamed("play.fill");
    auto templated = symbol->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate);
    EXPECT_NE(symbol.get(), templated.get());
    EXPECT_TRUE(templated->isTemplate());
    EXPECT_FALSE(symbol->isTemplate());
    EXPECT_EQ(templated->symbolName(), "play.fill");
    EXPECT_FALSE(templated->CGImage());

    auto image = UIImage::imageWithCGImage(samples::bitmap(4, 4, [](int, int) { return 0u; }), 2);
    auto copy = image->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate);
    EXPECT_EQ(copy->CGImage().get(), image->CGImage().get());
    EXPECT_EQ(copy->size(), CGSizeMake(2, 2));
    EXPECT_EQ(copy->scale(), 2);
}
