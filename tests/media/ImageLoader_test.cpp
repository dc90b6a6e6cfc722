// ImageLoader: nothing to decode answers at once; an image arrives through the main queue, once,
// through the C++ entry point and the class method alike.
#include "graphics/image_samples.h"
#include "media/ImageLoader.h"

#include <gtest/gtest.h>

TEST(ImageLoader, NothingToDecodeAnswersAtOnceAnImageThroughTheMainQueue) {
    Ref<NSData> png =
        UIImagePNGRepresentation(samples::image(3, 2, [](int, int) { return 0xff336699u; }));
    struct Case {
        Ref<NSData> data;
        bool decodes;
    } cases[] = {{nullptr, false}, {NSData::make("GIF89a....", 10), false}, {png, true}};
    for (const Case& c : cases) {
        int calls = 0;
        CGSize size{};
        ImageLoader::loadImageFromData(c.data, [&](UIImage* image) {
            ++calls;
            size = image ? image->size() : CGSize{};
        });
        EXPECT_EQ(calls, c.decodes ? 0 : 1);
        MainQueue::shared().runFor(1);
        EXPECT_EQ(calls, 1);
        EXPECT_EQ(size, c.decodes ? CGSizeMake(3, 2) : CGSize{});
    }
    int calls = 0;
    auto completion = ImageLoaderCompletion::make([&](UIImage* image) { calls += image ? 10 : 1; });
    Class cls = objc_getClass("ImageLoader");
    send(cls, "loadImageFromData:completion:", static_cast<id>(nullptr), completion.get());
    EXPECT_EQ(calls, 1);
    send(cls, "loadImageFromData:completion:", png.get(), completion.get());
    MainQueue::shared().runPending();
    EXPECT_EQ(calls, 11);
}
