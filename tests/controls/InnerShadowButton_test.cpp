// InnerShadowButton: the outline of a 100 x 50 panel, no outline without a colour or without
// room for it, and the class as the runtime sees it.
#include "controls/InnerShadowButton.h"
#include "platform/graphics/graphics.h"

#include <gtest/gtest.h>

namespace {
Ref<UIImage> drawButton(InnerShadowButton* button) {
    UIGraphicsBeginImageContextWithOptions(button->bounds().size, false, 1);
    send(button, "drawRect:", button->bounds());
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}
std::uint32_t at(UIImage* image, int x, int y) {
    return image->CGImage()->row(y)[x];
}
} // namespace

TEST(InnerShadowButton, StrokesTheInsetRoundedRectangle) {
    auto button = UIButton::buttonWithType<InnerShadowButton>(UIButtonTypeCustom);
    button->setFrame(CGRectMake(0, 0, 100, 50));
    button->layer()->setCornerRadius(20);
    button->setOutlineWidth(13);
    button->setOutlineColor(UIColor::whiteColor());

    Ref<UIBezierPath> path = button->outlinePath();
    EXPECT_EQ(path->bounds(), CGRectMake(6.5, 6.5, 87, 37));
    EXPECT_EQ(path->cornerRadius(), 20);

    Ref<UIImage> drawn = drawButton(button);
    EXPECT_EQ(at(drawn, 50, 0), 0xffffffffu);       // the outer edge touches the bounds
    EXPECT_GT(pixelAlpha(at(drawn, 99, 25)), 230u); // the half-circle end reaches the side
    EXPECT_EQ(at(drawn, 50, 12), 0xffffffffu);      // 13 points wide
    EXPECT_EQ(at(drawn, 50, 14), 0u);
    EXPECT_EQ(at(drawn, 50, 25), 0u); // nothing filled
    EXPECT_EQ(at(drawn, 0, 0), 0u);   // the corner follows the radius

    // The radius is read when drawing.
    button->layer()->setCornerRadius(0);
    EXPECT_EQ(at(drawButton(button), 0, 0), 0xffffffffu);
}

TEST(InnerShadowButton, DrawsNothingWithoutAColourOrWithoutRoom) {
    struct Case {
        CGSize size;
        double width;
        bool coloured;
    } cases[] = {{{40, 20}, 4, false}, {{100, 50}, 60, true}, {{10, 100}, 12, true}};
    for (const Case& c : cases) {
        auto button = UIButton::buttonWithType<InnerShadowButton>(UIButtonTypeCustom);
        button->setFrame({{0, 0}, c.size});
        button->setOutlineWidth(c.width);
        if (c.coloured) button->setOutlineColor(UIColor::whiteColor());
        // Wider than the panel: the inset is the null rectangle and there is no path.
        EXPECT_EQ(!button->outlinePath(), c.coloured) << c.width;
        Ref<UIImage> drawn = drawButton(button);
        for (std::size_t i = 0; i < drawn->CGImage()->pixelCount(); ++i)
            ASSERT_EQ(drawn->CGImage()->pixels()[i], 0u) << c.width;
    }
}

TEST(InnerShadowButton, IsARuntimeClassWithItsAccessors) {
    Class cls = objc_getClass("InnerShadowButton");
    ASSERT_TRUE(cls);
    EXPECT_EQ(class_getSuperclass(cls), UIButton::cls());
    auto methods = class_methodListing(cls);
    std::vector<std::string> expected = {"drawRect:", "outlineColor",
                                         "setOutlineColor:", "outlineWidth", "setOutlineWidth:"};
    ASSERT_GE(methods.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), methods.begin(),
                           [](const std::string& want, const std::string& got) {
                               return got.find(want) != std::string::npos;
                           }));
    auto button = UIButton::buttonWithType<InnerShadowButton>(UIButtonTypeCustom);
    Ref<UIColor> red = UIColor::colorWithRed(1, 0, 0, 1);
    send(button.get(), "setOutlineColor:", red.get());
    send(button.get(), "setOutlineWidth:", 2.5);
    EXPECT_EQ(send<id>(button.get(), "outlineColor"), static_cast<id>(red.get()));
    EXPECT_EQ(send<double>(button.get(), "outlineWidth"), 2.5);
    // The button holds its colour.
    UIColor* held = red.get();
    red = nullptr;
    EXPECT_EQ(button->outlineColor(), held);
    EXPECT_EQ(held->retainCount(), 1);
}
