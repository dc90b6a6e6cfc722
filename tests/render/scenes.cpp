#include "scenes.h"

#include "controls/InnerShadowButton.h"
#include "platform/graphics/context.h"
#include "platform/springboard/springboard.h"

#include <cmath>

namespace rendertest {

namespace {

constexpr double W = 390, H = 844, S = 250;

CGColor hsv(double h, double s, double v) {
    h = std::fmod(h, 1.0) * 6;
    int i = int(h);
    double f = h - i, p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
    case 0:
        return {v, t, p, 1};
    case 1:
        return {q, v, p, 1};
    case 2:
        return {p, v, t, 1};
    case 3:
        return {p, q, v, 1};
    case 4:
        return {t, p, v, 1};
    default:
        return {v, p, q, 1};
    }
}

void addStop(cairo_pattern_t* p, double at, CGColor c) {
    cairo_pattern_add_color_stop_rgb(p, at, c.r, c.g, c.b);
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

// A view placed by its centre and size in the cover sheet's coordinates, inside `parent`
// whose origin lies at `origin` there.
template <class T = UIView>
Ref<T> place(UIView* parent, CGPoint origin, double cx, double cy, double w, double h) {
    Ref<T> view = UIView::make<T>(CGRectMake(cx - w / 2 - origin.x, cy - h / 2 - origin.y, w, h));
    parent->addSubview(view);
    return view;
}

Ref<UIImage> templateSymbol(const char* name) {
    auto config = UIImageSymbolConfiguration::configurationWithFont(
        UIFont::preferredFontForTextStyle(UIFontTextStyleBody), UIImageSymbolScaleLarge);
    return UIImage::systemImageNamed(name, config)
        ->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate);
}

// An icon filling its button, scaled about its centre as the plug-in does.
Ref<UIImageView> icon(UIView* button, const char* symbol, double sx, double sy) {
    Ref<UIImageView> view = UIView::make<UIImageView>(button->bounds());
    view->setImage(templateSymbol(symbol));
    view->setTransform(CGAffineTransformMakeScale(sx, sy));
    button->addSubview(view);
    return view;
}

} // namespace

Ref<UIImage> makeArtwork(int pixels, double hue) {
    return paint(pixels, pixels, [&](cairo_t* cr) {
        double n = pixels;
        cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, n);
        addStop(sky, 0, hsv(hue, 0.55, 0.35));
        addStop(sky, 0.62, hsv(hue + 0.08, 0.7, 0.85));
        addStop(sky, 0.62, hsv(hue + 0.5, 0.6, 0.3));
        addStop(sky, 1, hsv(hue + 0.55, 0.7, 0.15));
        cairo_set_source(cr, sky);
        cairo_paint(cr);
        cairo_pattern_destroy(sky);
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

Ref<UIImage> makeBackdrop(int width, int height, double hue) {
    return paint(width, height, [&](cairo_t* cr) {
        cairo_pattern_t* wash = cairo_pattern_create_linear(0, 0, width * 0.3, height);
        addStop(wash, 0, hsv(hue, 0.55, 0.3));
        addStop(wash, 0.55, hsv(hue + 0.08, 0.6, 0.62));
        addStop(wash, 1, hsv(hue + 0.52, 0.55, 0.22));
        cairo_set_source(cr, wash);
        cairo_paint(cr);
        cairo_pattern_destroy(wash);
    });
}

Ref<UIView> makeStockScene() {
    Ref<CSCoverSheetView> sheet = UIView::make<CSCoverSheetView>(CGRectMake(0, 0, W, H));
    Ref<SBFLockScreenDateView> date =
        UIView::make<SBFLockScreenDateView>(CGRectMake(0, 60, W, 130));
    sheet->addSubview(date);

    Ref<PLPlatterView> platter = UIView::make<PLPlatterView>(CGRectMake(16, 230, W - 32, 150));
    platter->setBackgroundColor(UIColor::colorWithWhite(0.2, 0.6));
    platter->layer()->setCornerRadius(24);
    platter->layer()->setCornerCurve(kCACornerCurveContinuous);
    platter->setTintColor(UIColor::whiteColor());
    sheet->addSubview(platter);
    // The platter lays its one content view out over itself.
    Ref<UIView> content = UIView::make(platter->bounds());
    platter->addSubview(content);
    Ref<UIImageView> art = UIView::make<UIImageView>(CGRectMake(16, 16, 52, 52));
    art->setImage(makeArtwork(156, 0.58));
    art->setContentMode(UIViewContentModeScaleAspectFill);
    art->layer()->setCornerRadius(8);
    art->setClipsToBounds(true);
    content->addSubview(art);
    const char* texts[] = {"Night Drive", "The Example Band"};
    for (int i = 0; i < 2; ++i) {
        Ref<UILabel> label = UIView::make<UILabel>(CGRectMake(80, 22 + i * 20, W - 32 - 136, 20));
        label->setFont(
            UIFont::systemFontOfSize(15, i ? UIFontWeightRegular : UIFontWeightSemibold));
        label->setTextColor(UIColor::colorWithWhite(1, i ? 0.6 : 1));
        label->setText(texts[i]);
        content->addSubview(label);
    }
    Ref<UIButton> route = UIButton::buttonWithType<UIButton>(UIButtonTypeCustom);
    route->setFrame(CGRectMake(W - 32 - 48, 24, 32, 32));
    route->setImage(templateSymbol("airplayaudio"), UIControlStateNormal);
    content->addSubview(route);
    const char* transport[] = {"backward.fill", "pause.fill", "forward.fill"};
    for (int i = 0; i < 3; ++i) {
        Ref<UIButton> button = UIButton::buttonWithType<UIButton>(UIButtonTypeCustom);
        button->setFrame(CGRectMake((W - 32) / 2 - 22 + (i - 1) * 80, 90, 44, 44));
        button->setImage(templateSymbol(transport[i]), UIControlStateNormal);
        content->addSubview(button);
    }

    Ref<NCNotificationListView> list =
        UIView::make<NCNotificationListView>(CGRectMake(16, 396, W - 32, 240));
    list->addSubview(NCNotificationListCell::make("Messages", "Dinner at eight?"));
    list->addSubview(NCNotificationListCell::make("Calendar", "Stand-up in 10 minutes"));
    list->addSubview(NCNotificationListCell::make("Weather", "Rain expected this afternoon"));
    sheet->addSubview(list);

    Ref<SBUICallToActionLabel> hint =
        UIView::make<SBUICallToActionLabel>(CGRectMake(0, H - 84, W, 40));
    hint->setFont(UIFont::systemFontOfSize(17));
    hint->setTextColor(UIColor::colorWithWhite(1, 0.8));
    hint->setTextAlignment(NSTextAlignmentCenter);
    hint->setText("Swipe up to open");
    sheet->addSubview(hint);
    sheet->layoutIfNeeded();
    return sheet;
}

PlayerScene makePlayerScene(PlayerStyle style) {
    PlayerScene scene;
    CGColor main{0, 0, 0, 1}, second{0, 0, 0, 1};
    UIBlurEffectStyle material = UIBlurEffectStyleLight;
    if (style == PlayerStyle::ColorFlow) {
        main = hsv(0.62, 0.75, 0.35);
        second = hsv(0.07, 0.7, 0.95);
    } else if (style == PlayerStyle::Light) {
        main = second = {1, 1, 1, 1};
        material = UIBlurEffectStyleDark;
    }

    scene.coverSheet = UIView::make<CSCoverSheetView>(CGRectMake(0, 0, W, H));
    Ref<UIImageView> background = UIView::make<UIImageView>(CGRectMake(0, 0, W, H));
    background->setContentMode(UIViewContentModeScaleAspectFill);
    background->setImage(makeBackdrop(195, 422, 0.62));
    scene.coverSheet->addSubview(background);
    scene.background = background;

    // The maxi layout: the player's frame and everything in cover-sheet coordinates.
    CGPoint origin{0, H - 0.54 * W - S - W * 0.25};
    Ref<UIView> player = UIView::make(CGRectMake(0, origin.y, W, 0.45 * W + S));
    player->setTintColor(color(main));
    scene.coverSheet->addSubview(player);
    scene.player = player;

    double sourceTop = H - 0.057 * W - 0.057 * W / 2;
    double rowY = sourceTop - 0.12 * W - W * 0.25;
    double artistY = rowY - 0.05 * W - 0.114 * W;
    double songY = artistY - 0.036 * W - 0.048 * W;
    double artY = songY - 0.054 * W - 0.006 * W - S / 2;

    auto panel =
        place<InnerShadowButton>(player, origin, W / 2, artistY + 0.055 * W, 0.95 * W, 0.4465 * W);
    panel->setOutlineWidth(13);
    panel->setOutlineColor(color(second));
    panel->layer()->setCornerRadius(24);
    panel->layer()->setCornerCurve(kCACornerCurveContinuous);
    panel->layer()->setMasksToBounds(true);
    panel->layer()->setBorderWidth(0.95 * W / 250);
    panel->layer()->setBorderColor(color(second)->CGColor());
    Ref<UIVisualEffectView> blur =
        UIVisualEffectView::makeWithEffect(UIBlurEffect::effectWithStyle(material));
    blur->setFrame(panel->bounds());
    panel->addSubview(blur);
    scene.panel = panel;

    auto pause = place<UIButton>(player, origin, W / 2, rowY, 0.1 * W, 0.1 * W);
    scene.playIcon = icon(pause, "pause.fill", 1, 1);
    auto rewind =
        place<UIButton>(player, origin, W / 2 - 0.05 * W - 0.12 * W, rowY, 0.125 * W, 0.125 * W);
    icon(rewind, "backward.fill", 0.75, 0.55);
    auto skip =
        place<UIButton>(player, origin, W / 2 + 0.05 * W + 0.12 * W, rowY, 0.125 * W, 0.125 * W);
    icon(skip, "forward.fill", 0.75, 0.55);
    auto route = place<UIButton>(player, origin, W / 2 + 0.17 * W + 0.0625 * W + 0.1 * W, rowY,
                                 0.125 * W, 0.125 * W);
    icon(route, "airplayaudio", 0.575, 0.55)->setAlpha(0.7);

    auto artist = place<UILabel>(player, origin, W / 2, artistY, W - 0.144 * W, 0.072 * W);
    artist->setFont(UIFont::systemFontOfSize(0.043 * W, UIFontWeightMedium));
    artist->setTextAlignment(NSTextAlignmentCenter);
    artist->setTextColor(color(second));
    artist->setAlpha(0.7);
    artist->setText("The Example Band");
    scene.artist = artist;
    auto song = place<UILabel>(player, origin, W / 2, songY, W - 0.144 * W, 0.108 * W);
    song->setFont(UIFont::systemFontOfSize(0.0772 * W, UIFontWeightBold));
    song->setTextAlignment(NSTextAlignmentCenter);
    song->setTextColor(color(main));
    song->setText("Night Drive");
    scene.song = song;

    auto art = place<UIImageView>(player, origin, W / 2, artY, S, S);
    art->setImage(makeArtwork(600, 0.62));
    art->setContentMode(UIViewContentModeScaleAspectFill);
    art->layer()->setCornerRadius(20);
    art->layer()->setCornerCurve(kCACornerCurveContinuous);
    art->layer()->setMasksToBounds(true);
    art->layer()->setBorderWidth(S / 100);
    art->layer()->setBorderColor(color(second, 0.7)->CGColor());
    scene.artwork = art;
    auto app = place<UIImageView>(player, origin, W / 2 + S / 2 - S / 10, artY + S / 2 - S / 10,
                                  S / 10, S / 10);
    app->setImage(makeArtwork(75, 0.05));
    app->layer()->setCornerRadius(5);
    app->layer()->setMasksToBounds(true);
    return scene;
}

} // namespace rendertest
