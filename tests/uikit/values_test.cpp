// Values the player reads from the host: colours, fonts, symbol configurations, device, screen.
#include "platform/graphics/graphics.h"
#include "platform/uikit/uikit.h"

#include <gtest/gtest.h>

TEST(Values, ColoursFontsAndConfigurations) {
    double r, g, b, a;
    UIColor::colorWithWhite(0.5, 0.6)->getRed(&r, &g, &b, &a);
    EXPECT_DOUBLE_EQ(r, 0.5);
    EXPECT_DOUBLE_EQ(a, 0.6);
    EXPECT_EQ(UIColor::colorWithRed(0, 0, 0, 0.6)->CGColor()->a, 0.6);

    auto body = UIFont::preferredFontForTextStyle(UIFontTextStyleBody);
    EXPECT_EQ(body->pointSize(), 17);
    EXPECT_EQ(UIFont::preferredFontForTextStyle("no such style")->pointSize(), 17);
    EXPECT_EQ(UIFont::systemFontOfSize(-4)->pointSize(), 0); // nonsense sizes read as 0

    auto config = UIImageSymbolConfiguration::configurationWithFont(body, UIImageSymbolScaleLarge);
    EXPECT_EQ(config->pointSize(), 17);
    auto image = UIImage::systemImageNamed("play.fill", config)
                     ->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate);
    EXPECT_EQ(image->symbolConfiguration(), config.get());
    EXPECT_TRUE(image->isTemplate());
}

TEST(Values, DeviceAndScreenFollowTheHostSettings) {
    EXPECT_EQ(UIDevice::currentDevice()->systemVersion()->str(), "16.4");
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), CGRectMake(0, 0, 390, 844));
    EXPECT_EQ(UIScreen::mainScreen()->scale(), 3);

    UIDevice::currentDevice()->setName("Kitchen");
    UIDevice::currentDevice()->setSystemVersion("15.7");
    UIScreen::mainScreen()->setSize(CGSizeMake(430, 932));
    UIScreen::mainScreen()->setScale(2);
    UIScreen::mainScreen()->setScale(0); // refused
    UIScreen::mainScreen()->setSize(CGSizeMake(-1, 5));
    auto* device = send<id>(static_cast<id>(UIDevice::cls()), "currentDevice");
    EXPECT_EQ(send<id>(device, "name")->description(), "Kitchen");
    EXPECT_EQ(UIDevice::currentDevice()->systemVersion()->intValue(), 15);
    EXPECT_EQ(UIScreen::mainScreen()->bounds(), CGRectMake(0, 0, 430, 932));
    EXPECT_EQ(mainScreenMetrics().bounds.size.width, 430);
    // Image contexts at scale 0 take the main screen's scale.
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(10, 5), NO, 0);
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 2);
}
