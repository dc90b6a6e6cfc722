#include "platform/graphics/graphics.h"
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>

// Image contexts at scale 0 take the main screen's scale, whatever device the host set up.
TEST(Screen, ImageContextsFollowTheDevicesScreen) {
    UIScreen::mainScreen()->setSize(CGSizeMake(428, 926));
    UIScreen::mainScreen()->setScale(2);
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(10, 5), NO, 0);
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 2);
    EXPECT_EQ(mainScreenMetrics().bounds.size.width, 428);
}
