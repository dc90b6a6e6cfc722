#include "media/imageBlurrer.h"

#include "entry/state.h"
#include "media/class_methods.h"
#include "media/image_steps.h"
#include "platform/graphics/blur.h"
#include "platform/graphics/context.h"

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

// The padded canvas: 1.5 w x 1.5 h, copies above and below the centre copy giving the blur
// content there. Only the part within `margin` pixels of the centre copy is made, since the
// blurs read no further: `left` and `top` say where that part lies in the whole canvas (whole
// pixels, so every copy lands on the same fraction of a pixel as in the whole canvas).
struct Canvas {
    Ref<UIImage> image;
    int width = 0, height = 0; // of the whole canvas, in pixels
    int left = 0, top = 0;
};

Canvas paddedCanvas(UIImage* image, CGFloat scale, int margin) {
    CGSize size = image->size();
    double w = size.width, h = size.height;
    auto pixels = [scale](double points) { return int(std::ceil(points * scale - 1e-6)); };
    Canvas c{nullptr, pixels(1.5 * w), pixels(1.5 * h)};
    double x0 = 0.25 * w * scale, y0 = 0.25 * h * scale;
    c.left = std::max(0, int(std::floor(x0)) - margin);
    c.top = std::max(0, int(std::floor(y0)) - margin);
    int right = std::min(c.width, int(std::ceil(x0 + w * scale)) + margin);
    int bottom = std::min(c.height, int(std::ceil(y0 + h * scale)) + margin);
    CGPoint shift{c.left / scale, c.top / scale};
    c.image = drawnImage({(right - c.left) / scale, (bottom - c.top) / scale}, NO, scale,
                         [&](CGContextRef context) {
                             if (!context || context->pixelWidth != right - c.left ||
                                 context->pixelHeight != bottom - c.top)
                                 return;
                             image->drawAtPoint({0.25 * w - shift.x, 0.25 * h - h - shift.y});
                             image->drawAtPoint({0.25 * w - shift.x, 0.25 * h + h - shift.y});
                             image->drawAtPoint({0.25 * w - shift.x, 0.25 * h - shift.y});
                         });
    const CGImageRef& made = c.image ? c.image->CGImage() : nullptr;
    if (!made || made->width != right - c.left || made->height != bottom - c.top) c.image = nullptr;
    return c;
}

// How far the two blurs of `radius` read beyond what they make, in pixels (with room to spare).
// The blurs read a negative radius as none, so it reaches no further.
int blurReach(double radius) {
    return gaussianSpread(radius) + int(std::ceil(std::clamp(radius, 0.0, 512.0))) + 2;
}

// The blurred canvas cropped to the centre copy's place, rendered by a context of its own at the
// canvas's scale. The crop is in whole pixels, at least one each way, placed in the whole canvas
// (y up, as the filters measure).
Ref<UIImage> blurredCentre(const Canvas& canvas, double radius, CGSize size) {
    Ref<CIImage> moved = gaussianThenMotionBlur(CIImage::initWithImage(canvas.image), radius);
    if (!moved) return nullptr;
    CGFloat scale = canvas.image->scale();
    double w = std::max(1.0, std::round(size.width * scale));
    double h = std::max(1.0, std::round(size.height * scale));
    double x = std::floor((canvas.width - w) * 0.5 + 0.5);
    double y = std::floor((canvas.height - h) * 0.5 + 0.5);
    // The part made starts `left` pixels in and ends `bottom` pixels above the canvas's bottom.
    double bottom = canvas.height - canvas.top - canvas.image->CGImage()->height;
    return renderedImage(
        CIContext::contextWithOptions(nullptr),
        moved->imageByCroppingToRect(CGRectMake(x - canvas.left, y - bottom, w, h)), scale);
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
    // A reduced background starts from the artwork drawn once at its reduced scale, so that the
    // copies are not each resampled.
    Ref<UIImage> source = image;
    if (reduction < 1)
        source = drawnImage(image->size(), NO, image->scale() * reduction, [&](CGContextRef) {
            image->drawInRect({{0, 0}, image->size()});
        });
    if (!source) return nullptr;
    Canvas canvas = paddedCanvas(source, source->scale(), blurReach(radius * reduction));
    source = nullptr;
    if (canvas.image) rendered = blurredCentre(canvas, radius * reduction, image->size());
    canvas.image = nullptr;
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
    if (!k.grain && image) {
        // One grain pixel per pixel of the image: the size in points for the usual scale 1, and
        // for a background made at a reduced scale the same fewer pixels, so that the grain is
        // neither larger than the image nor stretched onto it.
        CGFloat scale = image->scale();
        CGSize pixels{image->size().width * scale, image->size().height * scale};
        Ref<UIImage> grain = send<UIImage*>(self(), "generateGrainImageWithSize:", pixels);
        k.grain = scale == 1 || !grain ? grain : UIImage::imageWithCGImage(grain->CGImage(), scale);
    }
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
        if (!pixels) return; // no bitmap for this size: nothing to fill
        std::size_t columns = std::size_t(context->pixelWidth),
                    rows = std::size_t(context->pixelHeight);
        auto channel = [](double v) {
            return std::uint32_t(std::uint16_t(v * 65535.0 + 0.5) >> 8);
        };
        auto points = [](double side) { return side > 0 ? std::size_t(std::ceil(side)) : 0; };
        std::size_t pointColumns = points(size.width), pointRows = points(size.height);
        for (std::size_t y = 0; y < pointRows; ++y) {
            std::uint32_t* row = y < rows ? pixels + y * columns : nullptr;
            for (std::size_t x = 0; x < pointColumns; ++x) {
                double v = double(platformRandom()) / 2147483647.0;
                if (!row || x >= columns) continue;
                double alpha = v * 0.02;
                std::uint32_t c = channel(v * alpha);
                row[x] = packPixel(channel(alpha), c, c, c);
            }
        }
    });
}
