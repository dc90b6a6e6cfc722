#include "media/imageBlurrer.h"

#include "entry/state.h"
#include "media/class_methods.h"
#include "media/image_steps.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDarkOpacity = 0.45;
constexpr double kLightOpacity = 0.15;
// The padded canvas's budget: 16384 pixels a side, as bitmaps allow, and 36 megapixels, since a
// background peaks at about 16 bytes per canvas pixel (near 0.6 GB here). A larger canvas is made
// at a reduced pixel scale with the same size in points; the blur hides the difference.
constexpr double kMaxCanvasSide = 16384;
constexpr double kMaxCanvasPixels = 36e6;

struct Kept {
    Ref<UIImage> dark, light, grain;
};

Kept& kept() {
    static Kept k = [] {
        Kept made;
        CGSize screen = mainScreenMetrics().bounds.size;
        made.dark = imageBlurrer::generateOverlayImage(UIColor::blackColor(), screen);
        made.light = imageBlurrer::generateOverlayImage(UIColor::whiteColor(), screen);
        return made;
    }();
    return k;
}

Class self() {
    return imageBlurrer::cls();
}

// What the image's scale is multiplied by to keep its padded canvas within the budget.
double canvasReduction(UIImage* image) {
    double w = 1.5 * image->size().width * image->scale();
    double h = 1.5 * image->size().height * image->scale();
    return std::min(
        {1.0, kMaxCanvasSide / w, kMaxCanvasSide / h, std::sqrt(kMaxCanvasPixels / (w * h))});
}

// The padded canvas: copies above and below the centre copy give the blur content there.
Ref<UIImage> paddedCanvas(UIImage* image, CGFloat scale) {
    CGSize size = image->size();
    double w = size.width, h = size.height;
    return drawnImage({1.5 * w, 1.5 * h}, NO, scale, [&](CGContextRef) {
        image->drawAtPoint({0.25 * w, 0.25 * h - h});
        image->drawAtPoint({0.25 * w, 0.25 * h + h});
        image->drawAtPoint({0.25 * w, 0.25 * h});
    });
}

// The blurred canvas cropped to the centre copy's place, rendered by a context of its own at the
// canvas's scale. The crop is in whole pixels, at least one each way.
Ref<UIImage> blurredCentre(UIImage* canvas, double radius, CGSize size) {
    Ref<CIImage> moved = gaussianThenMotionBlur(CIImage::initWithImage(canvas), radius);
    if (!moved) return nullptr;
    CGFloat scale = canvas->scale();
    double w = std::max(1.0, std::round(size.width * scale));
    double h = std::max(1.0, std::round(size.height * scale));
    double x = std::floor((canvas->CGImage()->width - w) * 0.5 + 0.5);
    double y = std::floor((canvas->CGImage()->height - h) * 0.5 + 0.5);
    return renderedImage(CIContext::contextWithOptions(nullptr),
                         moved->imageByCroppingToRect(CGRectMake(x, y, w, h)), scale);
}

Ref<UIImage> onBlack(UIImage* image) {
    CGSize size = image->size();
    return drawnImage(size, NO, image->scale(), [&](CGContextRef) {
        UIColor::blackColor()->setFill();
        UIRectFill({{0, 0}, size});
        image->drawInRect({{0, 0}, size});
    });
}

// The overlay stretched to `size`, kept for the last overlay and size: the grain is stretched
// the same way onto every later artwork of one size, so the resampling is done once.
UIImage* stretched(UIImage* overlay, CGSize size, CGFloat scale) {
    static struct {
        Ref<UIImage> source, result;
        CGSize size;
        CGFloat scale = 0;
    } last;
    if (!overlay || (overlay->size() == size && overlay->scale() == scale)) return overlay;
    if (!overlay->CGImage() || overlay->CGImage()->solid) return overlay; // drawn as a fill
    if (last.source.get() != overlay || last.size != size || last.scale != scale) {
        last = {overlay,
                drawnImage(size, NO, scale,
                           [&](CGContextRef) {
                               overlay->drawInRect({{0, 0}, size});
                           }),
                size, scale};
    }
    return last.result ? last.result.get() : overlay;
}

Ref<UIImage> blend(UIImage* base, UIImage* overlay, CGBlendMode mode, double opacity) {
    if (!base) return nullptr;
    CGSize size = base->size();
    overlay = stretched(overlay, size, base->scale());
    return drawnImage(size, NO, base->scale(), [&](CGContextRef) {
        base->drawInRect({{0, 0}, size});
        if (overlay) overlay->drawInRect({{0, 0}, size}, mode, opacity);
    });
}

void initializeIMP(id receiver, SEL) {
    if (receiver == static_cast<id>(imageBlurrer::cls())) kept();
}

} // namespace

VEY_CLASS_IMPL(imageBlurrer, NSObject::cls(), [](Class k) {
    rt_addMethod(k->isa, "initialize", &initializeIMP);
    addClassMethod<&imageBlurrer::applyCustomBlur>(k,
                                                   "applyCustomBlurToImage:withBlurRadius:effect:");
    addClassMethod<&imageBlurrer::generateOverlayImage>(k, "generateOverlayImageWithColor:size:");
    addClassMethod<&imageBlurrer::addGrainEffect>(k, "addGrainEffectToImage:");
    addClassMethod<&imageBlurrer::blendImage>(k, "blendImage:withImage:opacity:");
    addClassMethod<&imageBlurrer::generateGrainImage>(k, "generateGrainImageWithSize:");
    addClassMethod<&imageBlurrer::screenBlendImage>(k, "blendImage:withImage:");
})

// The library's classes are registered when it is loaded, so they can be found by name.
[[maybe_unused]] static const Class registered = imageBlurrer::cls();

UIImage* imageBlurrer::darkOverlay() {
    return kept().dark;
}

UIImage* imageBlurrer::lightOverlay() {
    return kept().light;
}

UIImage* imageBlurrer::grainImage() {
    return kept().grain;
}

Ref<UIImage> imageBlurrer::applyCustomBlur(UIImage* image, double radius, NSInteger effect) {
    if (radius == 0) return image;
    if (!image) return nullptr;
    Kept& k = kept();
    double reduction = canvasReduction(image);
    // Each full-size step is let go as soon as the next one has it, so that at most two are
    // alive at once besides the artwork and the grain.
    Ref<UIImage> rendered;
    if (Ref<UIImage> canvas = paddedCanvas(image, image->scale() * reduction))
        rendered = blurredCentre(canvas, radius * reduction, image->size());
    if (!rendered) return nullptr;
    Ref<UIImage> backed = onBlack(rendered);
    rendered = nullptr;
    Ref<UIImage> grained = send<UIImage*>(self(), "addGrainEffectToImage:", backed.get());
    backed = nullptr;
    if (backgroundBlurEffect && effect == kBlurModeLight)
        return send<UIImage*>(self(), "blendImage:withImage:opacity:", grained.get(), k.dark.get(),
                              kDarkOpacity);
    if (backgroundBlurEffect && effect == kBlurModeDark)
        return send<UIImage*>(self(), "blendImage:withImage:opacity:", grained.get(), k.light.get(),
                              kLightOpacity);
    return grained;
}

Ref<UIImage> imageBlurrer::generateOverlayImage(UIColor* color, CGSize size) {
    return drawnImage(size, NO, 0, [&](CGContextRef context) {
        CGContextSetFillColorWithColor(context, color ? color->CGColor() : nullptr);
        CGContextFillRect(context, {{0, 0}, size});
    });
}

Ref<UIImage> imageBlurrer::addGrainEffect(UIImage* image) {
    Kept& k = kept();
    if (!k.grain && image)
        k.grain = send<UIImage*>(self(), "generateGrainImageWithSize:", image->size());
    return send<UIImage*>(self(), "blendImage:withImage:", image, k.grain.get());
}

Ref<UIImage> imageBlurrer::blendImage(UIImage* base, UIImage* overlay, double opacity) {
    return blend(base, overlay, kCGBlendModeNormal, opacity);
}

Ref<UIImage> imageBlurrer::screenBlendImage(UIImage* base, UIImage* overlay) {
    return blend(base, overlay, kCGBlendModeScreen, 1.0);
}

Ref<UIImage> imageBlurrer::generateGrainImage(CGSize size) {
    return drawnImage(size, NO, 1.0, [&](CGContextRef context) {
        platformSeedRandom(std::uint32_t(platformWallClockSeconds()));
        // One 1 x 1 fill of white level v and alpha 0.02 v per point, row by row; a fractional
        // side gets one more column or row. The fills land on whole pixels of a fresh transparent
        // context, so each is written as the pixel it makes (as Cairo converts the colour). The
        // bitmap may have fewer pixels than the loop has points (10.0000001 makes 10): what
        // falls off it is clipped, as a fill would be.
        std::uint32_t* pixels = CGBitmapContextGetData(context);
        double columns = context ? context->pixelWidth : 0,
               rows = context ? context->pixelHeight : 0;
        auto channel = [](double v) {
            return std::uint32_t(std::uint16_t(v * 65535.0 + 0.5) >> 8);
        };
        for (double y = 0; y < size.height; ++y)
            for (double x = 0; x < size.width; ++x) {
                double v = double(platformRandom()) / 2147483647.0;
                if (!pixels || x >= columns || y >= rows) continue;
                double alpha = v * 0.02;
                std::uint32_t c = channel(v * alpha);
                pixels[std::size_t(y * columns + x)] = packPixel(channel(alpha), c, c, c);
            }
    });
}
