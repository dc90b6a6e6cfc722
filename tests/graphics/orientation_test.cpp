// JPEG artwork tagged with an EXIF orientation decodes upright, and a tag that cannot be read
// leaves the pixels as stored.
#include "image_samples.h"

#include <gtest/gtest.h>

using samples::Bytes;

namespace {

// 451 x 300, stored with red, green, blue and white quarters (top left, top right, bottom left,
// bottom right), with an APP1 segment after the start marker.
Ref<UIImage> tagged(const Bytes& app1) {
    Bytes file = samples::jpeg(451, 300, [](int x, int y, std::uint8_t* rgb) {
        bool right = x >= 225, bottom = y >= 150;
        rgb[0] = bottom == right ? 255 : 0, rgb[1] = right ? 255 : 0, rgb[2] = bottom ? 255 : 0;
    });
    Bytes segment = {0xff, 0xe1, std::uint8_t((app1.size() + 2) >> 8),
                     std::uint8_t(app1.size() + 2)};
    segment.insert(segment.end(), app1.begin(), app1.end());
    file.insert(file.begin() + 2, segment.begin(), segment.end());
    return samples::decode(file);
}

// An EXIF segment whose first directory holds one entry: tag `tag`, `type`, count 1, `value`.
Bytes exif(bool little, unsigned value, unsigned tag = 0x112, unsigned type = 3) {
    Bytes b = {'E', 'x', 'i', 'f', 0, 0};
    auto put = [&](unsigned v, int n) {
        for (int i = 0; i < n; ++i)
            b.push_back(std::uint8_t(v >> 8 * (little ? i : n - 1 - i)));
    };
    put(little ? 0x4949 : 0x4d4d, 2), put(42, 2), put(8, 4), put(1, 2);
    put(tag, 2), put(type, 2), put(1, 4), put(value, 2), put(0, 2), put(0, 4);
    return b;
}

// The quarter colour nearest to a pixel: R, G, B or W.
char colourAt(const UIImage* image, int x, int y) {
    std::uint32_t p = samples::at(image, x, y);
    bool r = pixelRed(p) > 128, g = pixelGreen(p) > 128, b = pixelBlue(p) > 128;
    return r && g && b ? 'W' : r ? 'R' : g ? 'G' : b ? 'B' : '?';
}

} // namespace

TEST(Orientation, EachTagTurnsTheStoredPixelsUpright) {
    // Corners of the upright image: top left, top right, bottom left, bottom right.
    const char* corners[] = {"RGBW", "GRWB", "WBGR", "BWRG", "RBGW", "BRWG", "WGBR", "GWRB"};
    for (bool little : {false, true})
        for (unsigned tag = 1; tag <= 8; ++tag) {
            SCOPED_TRACE(testing::Message() << "tag " << tag << (little ? " II" : " MM"));
            Ref<UIImage> image = tagged(exif(little, tag));
            ASSERT_TRUE(image);
            int w = int(image->size().width), h = int(image->size().height);
            EXPECT_EQ(w, tag < 5 ? 451 : 300);
            EXPECT_EQ(h, tag < 5 ? 300 : 451);
            std::string seen = {colourAt(image, w / 4, h / 4), colourAt(image, w * 3 / 4, h / 4),
                                colourAt(image, w / 4, h * 3 / 4),
                                colourAt(image, w * 3 / 4, h * 3 / 4)};
            EXPECT_EQ(seen, corners[tag - 1]);
        }
}

TEST(Orientation, TagsThatCannotBeReadLeaveThePixelsAsStored) {
    Bytes cut = exif(false, 6);
    cut.resize(20); // the directory's entry is missing
    Bytes farOffset = exif(true, 6);
    farOffset[10] = 0xff; // the directory lies past the segment
    for (const Bytes& app1 :
         {exif(false, 0), exif(false, 9), exif(false, 6, 0x113), exif(false, 6, 0x112, 4), cut,
          farOffset, Bytes{'E', 'x', 'i', 'f', 0, 0, 'X', 'X', 0, 42, 0, 0, 0, 8}}) {
        Ref<UIImage> image = tagged(app1);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->size().width, 451);
        EXPECT_EQ(colourAt(image, 100, 70), 'R');
    }
}
