// InnerShadowButton: the outline of a 100 x 50 panel, no outline without a colour or without
// room for it, and the class as the runtime sees it.
#include "controls/InnerShadowButton.h"
#include "platform/graphics/graphics.h"

#include <gtest/gtest.h>

namespace {
Ref<InnerShadowButton> makeButton(CGSize size, double width, UIColor* color) {
    auto button = UIButton::buttonWithType<InnerShadowButton>(UIButtonTypeCustom);
    button->setFrame({{0, 0}, size});
    button->setOutlineWidth(width);
    button->setOutlineColor(color);
    return button;
}
Ref<UIImage> draw(InnerShadowButton* button) {
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
    auto button = makeButton({100, 50}, 13, UIColor::whiteColor());
    button->layer()->setCornerRadius(20);
    Ref<UIBezierPath> path = button->outlinePath();
    EXPECT_EQ(path->bounds(), CGRectMake(6.5, 6.5, 87, 37));
    EXPECT_EQ(path->cornerRadius(), 20);

    Ref<UIImage> drawn = draw(button);
    EXPECT_GT(pixelAlpha(at(drawn, 99, 25)), 230u); // the half-circle end reaches the side
    EXPECT_EQ(at(drawn, 50, 25), 0u);               // nothing filled
    EXPECT_EQ(at(drawn, 0, 0), 0u);                 // the corner follows the radius

    // The radius is read when drawing.
    button->layer()->setCornerRadius(0);
    EXPECT_EQ(at(draw(button), 0, 0), 0xffffffffu);
}

TEST(InnerShadowButton, DrawsNothingWithoutAColourOrWithoutRoom) {
    // No colour; wider than the panel both ways; wider than it only across.
    Ref<UIColor> white = UIColor::whiteColor();
    struct Case {
        CGSize size;
        double width;
        UIColor* color;
    } cases[] = {{{40, 20}, 4, nullptr}, {{100, 50}, 60, white}, {{10, 100}, 12, white}};
    for (const Case& c : cases) {
        auto button = makeButton(c.size, c.width, c.color);
        Ref<UIImage> drawn = draw(button);
        for (std::size_t i = 0; i < drawn->CGImage()->pixelCount(); ++i)
            ASSERT_EQ(drawn->CGImage()->pixels()[i], 0u) << c.width;
    }
}

TEST(InnerShadowButton, IsARuntimeClassThatHoldsItsColour) {
    Class cls = objc_getClass("InnerShadowButton");
    ASSERT_TRUE(cls);
    EXPECT_EQ(class_getSuperclass(cls), UIButton::cls());
    auto methods = class_methodListing(cls);
    methods.resize(std::min<std::size_t>(methods.size(), 5));
    std::string listed;
    for (const std::string& method : methods)
        listed += method.substr(0, method.find(' '));
    EXPECT_EQ(listed, "-drawRect:-outlineColor-setOutlineColor:-outlineWidth-setOutlineWidth:");
    Ref<UIColor> red = UIColor::colorWithRed(1, 0, 0, 1);
    auto button = makeButton({1, 1}, 0, red);
    UIColor* held = red.get();
    red = nullptr;
    EXPECT_EQ(button->outlineColor(), held);
    EXPECT_EQ(held->retainCount(), 1);
}
