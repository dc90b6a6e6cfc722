// ImageLoader: nothing to decode answers at once; an image arrives through the main queue, once.
#include "media/ImageLoader.h"

#include <gtest/gtest.h>

namespace {
Ref<NSData> pngBytes() {
    auto bitmap = CGImageAllocate(3, 2);
    for (std::size_t i = 0; i < bitmap->pixelCount(); ++i)
        bitmap->data[i] = 0xff336699u;
    return UIImagePNGRepresentation(UIImage::imageWithCGImage(bitmap));
}
} // namespace

TEST(ImageLoader, NilAndUndecodableDataAnswerBeforeReturning) {
    for (Ref<NSData> data : {Ref<NSData>(), NSData::make("GIF89a....", 10)}) {
        int calls = 0;
        bool gotNil = false;
        ImageLoader::loadImageFromData(data, [&](UIImage* image) {
            ++calls;
            gotNil = image == nullptr;
        });
        EXPECT_EQ(calls, 1);
        EXPECT_TRUE(gotNil);
        MainQueue::shared().runPending();
        EXPECT_EQ(calls, 1);
    }
}

TEST(ImageLoader, AnImageArrivesThroughTheMainQueueOnce) {
    int calls = 0;
    CGSize size{};
    ImageLoader::loadImageFromData(pngBytes(), [&](UIImage* image) {
        ++calls;
        if (image) size = image->size();
    });
    EXPECT_EQ(calls, 0);
    MainQueue::shared().runPending();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(size, CGSizeMake(3, 2));
    MainQueue::shared().runFor(1);
    EXPECT_EQ(calls, 1);
}

TEST(ImageLoader, TheClassMethodTakesACompletionObject) {
    Class cls = objc_getClass("ImageLoader");
    ASSERT_TRUE(cls);
    int calls = 0;
    auto completion = ImageLoaderCompletion::make([&](UIImage* image) { calls += image ? 10 : 1; });
    send(cls, "loadImageFromData:completion:", static_cast<id>(nullptr), completion.get());
    EXPECT_EQ(calls, 1);
    send(cls, "loadImageFromData:completion:", pngBytes().get(), completion.get());
    MainQueue::shared().runPending();
    EXPECT_EQ(calls, 11);
}
