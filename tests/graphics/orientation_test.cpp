// JPEG artwork tagged with an EXIF orientation decodes upright, and a tag that cannot be read
// leaves the pixels as stored.
#include "image_samples.h"

#include <gtest/gtest.h>

namespace {

// 451 x 300, stored with red, green, blue and white quarters (top left, top right, bottom left,
// bottom right), with an APP1 segment after the start marker.
samples::Bytes tagged(const samples::Bytes& app1) {
    samples::Bytes file = samples::jpeg(451, 300, [](int x, int y, std::uint8_t* rgb) {
        bool right = x >= 225, bottom = y >= 150;
        rgb[0] = bottom == right ? 255 : 0;
        rgb[1] = right ? 255 : 0;
        rgb[2] = bottom ? 255 : 0;
    });
    samples::Bytes segment = {0xff, 0xe1, std::uint8_t((app1.size() + 2) >> 8),
                              std::uint8_t(app1.size() + 2)};
    segment.insert(segment.end(), app1.begin(), app1.end());
    file.insert(file.begin() + 2, segment.begin(), segment.end());
    return file;
}

// An EXIF segment whose first directory holds one entry: tag `tag`, `type`, count 1, `value`.
samples::Bytes exif(bool little, unsigned value, unsigned tag = 0x112, unsigned type = 3) {
    auto u16 = [&](unsigned v) {
        return little ? samples::Bytes{std::uint8_t(v), std::uint8_t(v >> 8)}
                      : samples::Bytes{std::uint8_t(v >> 8), std::uint8_t(v)};
    };
    samples::Bytes b = {'E', 'x', 'i', 'f', 0, 0};
    for (const samples::Bytes& part :
         {little ? samples::Bytes{'I', 'I'} : samples::Bytes{'M', 'M'}, u16(42),
          little ? samples::Bytes{8, 0, 0, 0} : samples::Bytes{0, 0, 0, 8}, u16(1), u16(tag),
          u16(type), little ? samples::Bytes{1, 0, 0, 0} : samples::Bytes{0, 0, 0, 1}, u16(value),
          samples::Bytes{0, 0, 0, 0, 0, 0}})
        b.insert(b.end(), part.begin(), part.end());
    return b;
}

// The quarter colour nearest to a pixel: R, G, B or W.
char colourAt(const CGImage& image, int x, int y) {
    std::uint32_t p = image.row(y)[x];
    bool r = pixelRed(p) > 128, g = pixelGreen(p) > 128, b = pixelBlue(p) > 128;
    return r && g && b ? 'W' : r ? 'R' : g ? 'G' : b ? 'B' : '?';
}

CGImageRef decode(const samples::Bytes& bytes) {
    return CGImageCreateWithEncodedData(bytes.data(), bytes.size());
}

} // namespace

TEST(Orientation, EachTagTurnsTheStoredPixelsUpright) {
    // Corners of the upright image: top left, top right, bottom left, bottom right.
    struct Case {
        unsigned tag;
        int width, height;
        const char* corners;
    } cases[] = {{1, 451, 300, "RGBW"}, {2, 451, 300, "GRWB"}, {3, 451, 300, "WBGR"},
                 {4, 451, 300, "BWRG"}, {5, 300, 451, "RBGW"}, {6, 300, 451, "BRWG"},
                 {7, 300, 451, "WGBR"}, {8, 300, 451, "GWRB"}};
    for (bool little : {false, true})
        for (const Case& c : cases) {
            CGImageRef image = decode(tagged(exif(little, c.tag)));
            ASSERT_TRUE(image) << c.tag;
            EXPECT_EQ(image->width, c.width) << c.tag;
            EXPECT_EQ(image->height, c.height) << c.tag;
            int x0 = image->width / 4, x1 = image->width * 3 / 4;
            int y0 = image->height / 4, y1 = image->height * 3 / 4;
            std::string corners = {colourAt(*image, x0, y0), colourAt(*image, x1, y0),
                                   colourAt(*image, x0, y1), colourAt(*image, x1, y1)};
            EXPECT_EQ(corners, c.corners) << "tag " << c.tag << (little ? " II" : " MM");
        }
}

TEST(Orientation, TagsThatCannotBeReadLeaveThePixelsAsStored) {
    samples::Bytes cut = exif(false, 6);
    cut.resize(20); // the directory's entry is missing
    samples::Bytes farOffset = exif(true, 6);
    farOffset[10] = 0xff; // the directory lies past the segment
    for (const samples::Bytes& app1 :
         {exif(false, 0), exif(false, 9), exif(false, 6, 0x113), exif(false, 6, 0x112, 4), cut,
          farOffset, samples::Bytes{'E', 'x', 'i', 'f', 0, 0, 'X', 'X', 0, 42, 0, 0, 0, 8}}) {
        CGImageRef image = decode(tagged(app1));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->width, 451);
        EXPECT_EQ(colourAt(*image, 100, 70), 'R');
    }
}
