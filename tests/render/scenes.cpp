#include "scenes.h"

#include "controls/InnerShadowButton.h"
#include "platform/graphics/context.h"
#include "platform/springboard/springboard.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace rendertest {

namespace {

constexpr double W = 390, H = 844, S = 250;

CGColor hsv(double h, double s, double v) {
    auto channel = [&](double n) {
        double k = std::fmod(n + std::fmod(h, 1.0) * 6, 6);
        return v - v * s * std::clamp(std::min(k, 4 - k), 0.0, 1.0);
    };
    return {channel(5), channel(3), channel(1), 1};
}

// Paints a linear gradient from the origin to (x, y).
void wash(cairo_t* cr, double x, double y,
          std::initializer_list<std::pair<double, CGColor>> stops) {
    cairo_pattern_t* pattern = cairo_pattern_create_linear(0, 0, x, y);
    for (auto [at, c] : stops)
        cairo_pattern_add_color_stop_rgb(pattern, at, c.r, c.g, c.b);
    cairo_set_source(cr, pattern);
    cairo_paint(cr);
    cairo_pattern_destroy(pattern);
}

Ref<UIImage> paint(int w, int h, const std::function<void(cairo_t*)>& draw) {
    UIGraphicsBeginImageContextWithOptions(CGSizeMake(w, h), true, 1);
    draw(UIGraphicsGetCurrentContext()->drawTarget());
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

Ref<UIColor> color(CGColor c, double alpha = 1) {
    return UIColor::colorWithRed(c.r, c.g, c.b, alpha);
}

template <class T = UIView> Ref<T> add(UIView* parent, CGRect frame) {
    Ref<T> view = UIView::make<T>(frame);
    parent->addSubview(view);
    return view;
}

template <class T = UILabel>
Ref<T> addLabel(UIView* parent, CGRect frame, UIFont* font, UIColor* colour, const char* text,
                NSTextAlignment alignment = NSTextAlignmentLeft) {
    Ref<T> label = add<T>(parent, frame);
    label->setFont(font);
    label->setTextColor(colour);
    label->setTextAlignment(alignment);
    label->setText(text);
    return label;
}

Ref<UIImage> templateSymbol(const char* name) {
    auto config = UIImageSymbolConfiguration::configurationWithFont(
        UIFont::preferredFontForTextStyle(UIFontTextStyleBody), UIImageSymbolScaleLarge);
    return UIImage::systemImageNamed(name, config)
        ->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate);
}

// An icon filling its button, scaled about its centre as the plug-in does.
Ref<UIImageView> icon(UIView* button, const char* symbol, double sx, double sy) {
    auto view = add<UIImageView>(button, button->bounds());
    view->setImage(templateSymbol(symbol));
    view->setTransform(CGAffineTransformMakeScale(sx, sy));
    return view;
}

} // namespace

Ref<UIImage> makeArtwork(int pixels, double hue) {
    return paint(pixels, pixels, [&](cairo_t* cr) {
        double n = pixels;
        wash(cr, 0, n,
             {{0, hsv(hue, 0.55, 0.35)},
              {0.62, hsv(hue + 0.08, 0.7, 0.85)},
              {0.62, hsv(hue + 0.5, 0.6, 0.3)},
              {1, hsv(hue + 0.55, 0.7, 0.15)}});
        CGColor sun = hsv(hue + 0.13, 0.75, 1);
        cairo_set_source_rgb(cr, sun.r, sun.g, sun.b);
        cairo_arc(cr, n * 0.5, n * 0.62, n * 0.22, M_PI, 2 * M_PI);
        cairo_fill(cr);
        for (int i = 0; i < 5; ++i) {
            cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
            cairo_rectangle(cr, n * 0.28, n * (0.66 + i * 0.06), n * 0.44, n * 0.015);
            cairo_fill(cr);
        }
    });
}

Ref<UIView> makeStockScene() {
    Ref<CSCoverSheetView> sheet = UIView::make<CSCoverSheetView>(CGRectMake(0, 0, W, H));
    add<SBFLockScreenDateView>(sheet, CGRectMake(0, 60, W, 130));

    auto platter = add<PLPlatterView>(sheet, CGRectMake(16, 230, W - 32, 150));
    platter->setBackgroundColor(UIColor::colorWithWhite(0.2, 0.6));
    platter->layer()->setCornerRadius(24);
    platter->layer()->setCornerCurve(kCACornerCurveContinuous);
    platter->setTintColor(UIColor::whiteColor());
    // The platter lays its one content view out over itself.
    Ref<UIView> content = add(platter, platter->bounds());
    auto art = add<UIImageView>(content, CGRectMake(16, 16, 52, 52));
    art->setImage(makeArtwork(156, 0.58));
    art->setContentMode(UIViewContentModeScaleAspectFill);
    art->layer()->setCornerRadius(8);
    art->setClipsToBounds(true);
    addLabel(content, CGRectMake(80, 22, W - 168, 20),
             UIFont::systemFontOfSize(15, UIFontWeightSemibold), UIColor::whiteColor(),
             "Night Drive");
    addLabel(content, CGRectMake(80, 42, W - 168, 20), UIFont::systemFontOfSize(15),
             UIColor::colorWithWhite(1, 0.6), "The Example Band");
    const char* symbols[] = {"backward.fill", "pause.fill", "forward.fill", "airplayaudio"};
    for (int i = 0; i < 4; ++i) {
        Ref<UIButton> button = UIButton::buttonWithType<UIButton>(UIButtonTypeCustom);
        button->setFrame(i < 3 ? CGRectMake((W - 32) / 2 - 22 + (i - 1) * 80, 90, 44, 44)
                               : CGRectMake(W - 80, 24, 32, 32));
        button->setImage(templateSymbol(symbols[i]), UIControlStateNormal);
        content->addSubview(button);
    }

    auto list = add<NCNotificationListView>(sheet, CGRectMake(16, 396, W - 32, 240));
    list->addSubview(NCNotificationListCell::make("Messages", "Dinner at eight?"));
    list->addSubview(NCNotificationListCell::make("Calendar", "Stand-up in 10 minutes"));
    list->addSubview(NCNotificationListCell::make("Weather", "Rain expected this afternoon"));
    addLabel<SBUICallToActionLabel>(sheet, CGRectMake(0, H - 84, W, 40),
                                    UIFont::systemFontOfSize(17), UIColor::colorWithWhite(1, 0.8),
                                    "Swipe up to open", NSTextAlignmentCenter);
    sheet->layoutIfNeeded();
    return sheet;
}

PlayerScene makePlayerScene(PlayerStyle style) {
    PlayerScene scene;
    bool flow = style == PlayerStyle::ColorFlow, light = style == PlayerStyle::Light;
    double grey = light ? 1 : 0;
    CGColor main = flow ? hsv(0.62, 0.75, 0.35) : CGColor{grey, grey, grey, 1};
    CGColor second = flow ? hsv(0.07, 0.7, 0.95) : main;
    UIBlurEffectStyle material = light ? UIBlurEffectStyleDark : UIBlurEffectStyleLight;

    scene.coverSheet = UIView::make<CSCoverSheetView>(CGRectMake(0, 0, W, H));
    auto background = add<UIImageView>(scene.coverSheet, CGRectMake(0, 0, W, H));
    background->setContentMode(UIViewContentModeScaleAspectFill);
    // The artwork's blurred background as the plug-in makes it: a soft wash of its colours.
    background->setImage(paint(195, 422, [](cairo_t* cr) {
        wash(cr, 195 * 0.3, 422,
             {{0, hsv(0.62, 0.55, 0.3)},
              {0.55, hsv(0.62 + 0.08, 0.6, 0.62)},
              {1, hsv(0.62 + 0.52, 0.55, 0.22)}});
    }));

    // The maxi layout: the player's frame and everything in cover-sheet coordinates.
    CGPoint origin{0, H - 0.54 * W - S - W * 0.25};
    UIView* player = scene.player = add(scene.coverSheet, CGRectMake(0, origin.y, W, 0.45 * W + S));
    player->setTintColor(color(main));
    // A frame in the player from a centre and size in the cover sheet's coordinates.
    auto at = [&](double cx, double cy, double w, double h) {
        return CGRectMake(cx - w / 2, cy - h / 2 - origin.y, w, h);
    };

    double sourceTop = H - 0.057 * W - 0.057 * W / 2;
    double rowY = sourceTop - 0.12 * W - W * 0.25;
    double artistY = rowY - 0.05 * W - 0.114 * W;
    double songY = artistY - 0.036 * W - 0.048 * W;
    double artY = songY - 0.054 * W - 0.006 * W - S / 2;

    auto panel =
        add<InnerShadowButton>(player, at(W / 2, artistY + 0.055 * W, 0.95 * W, 0.4465 * W));
    panel->setOutlineWidth(13);
    panel->setOutlineColor(color(second));
    panel->layer()->setCornerRadius(24);
    panel->layer()->setCornerCurve(kCACornerCurveContinuous);
    panel->layer()->setMasksToBounds(true);
    panel->layer()->setBorderWidth(0.95 * W / 250);
    panel->layer()->setBorderColor(color(second)->CGColor());
    add<UIVisualEffectView>(panel, panel->bounds())
        ->setEffect(UIBlurEffect::effectWithStyle(material));

    auto button = [&](const char* symbol, double cx, double size, double sx, double sy) {
        return icon(add<UIButton>(player, at(cx, rowY, size, size)), symbol, sx, sy);
    };
    button("pause.fill", W / 2, 0.1 * W, 1, 1);
    button("backward.fill", W / 2 - 0.05 * W - 0.12 * W, 0.125 * W, 0.75, 0.55);
    button("forward.fill", W / 2 + 0.05 * W + 0.12 * W, 0.125 * W, 0.75, 0.55);
    button("airplayaudio", W / 2 + 0.17 * W + 0.0625 * W + 0.1 * W, 0.125 * W, 0.575, 0.55)
        ->setAlpha(0.7);

    auto label = [&](double cy, double height, UIFont* font, CGColor c, const char* text) {
        return addLabel(player, at(W / 2, cy, W - 0.144 * W, height), font, color(c), text,
                        NSTextAlignmentCenter);
    };
    label(artistY, 0.072 * W, UIFont::systemFontOfSize(0.043 * W, UIFontWeightMedium), second,
          "The Example Band")
        ->setAlpha(0.7);
    scene.song = label(songY, 0.108 * W, UIFont::systemFontOfSize(0.0772 * W, UIFontWeightBold),
                       main, "Night Drive");

    auto art = add<UIImageView>(player, at(W / 2, artY, S, S));
    art->setImage(makeArtwork(600, 0.62));
    art->setContentMode(UIViewContentModeScaleAspectFill);
    art->layer()->setCornerRadius(20);
    art->layer()->setCornerCurve(kCACornerCurveContinuous);
    art->layer()->setMasksToBounds(true);
    art->layer()->setBorderWidth(S / 100);
    art->layer()->setBorderColor(color(second, 0.7)->CGColor());
    scene.artwork = art;
    auto app =
        add<UIImageView>(player, at(W / 2 + S / 2 - S / 10, artY + S / 2 - S / 10, S / 10, S / 10));
    app->setImage(makeArtwork(75, 0.05));
    app->layer()->setCornerRadius(5);
    app->layer()->setMasksToBounds(true);
    return scene;
}

} // namespace rendertest
