// The artwork and its background in their views: the same-image test, the small reductions it
// compares, the background kept for its artwork, and the cross-dissolves that put images in.
#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "media/imageBlurrer.h"
#include "media/image_steps.h"

namespace {

// Details finer than this reduction do not make artwork new.
constexpr double kComparisonSide = 10;

Ref<NSData> reducedPNG(id self, UIImage* image) {
    id reduced =
        send<id>(self, "scaleImage:toSize:", image, CGSizeMake(kComparisonSide, kComparisonSide));
    return UIImagePNGRepresentation(cast<UIImage>(reduced));
}

// The background rendered last and what from: restyling the same artwork does not render again.
Ref<UIImage> artworkBackground(UIImage* image, NSInteger radius, NSInteger effect) {
    static struct {
        Ref<UIImage> source, result;
        NSInteger radius = 0, effect = 0;
        bool tinted = false, valid = false;
    } last;
    if (last.valid && last.source.get() == image && last.radius == radius &&
        last.effect == effect && last.tinted == backgroundBlurEffect)
        return last.result;
    Ref<UIImage> result = imageBlurrer::applyCustomBlur(image, double(radius), effect);
    last = {image, result, radius, effect, backgroundBlurEffect, true};
    return result;
}

} // namespace

bool CSCoverSheetView_isSameImageAsImageInView(id self, SEL, id image, id imageView) {
    auto* candidate = cast<UIImage>(image);
    auto* view = cast<UIImageView>(imageView);
    UIImage* shown = view ? view->image() : nullptr;
    if (!candidate || !shown) return NO;
    const CGImageRef& a = candidate->CGImage();
    const CGImageRef& b = shown->CGImage();
    if (!a || !b) return NO;
    if (a->width != b->width || a->height != b->height) return NO;
    Ref<NSData> first = reducedPNG(self, candidate);
    Ref<NSData> second = reducedPNG(self, shown);
    return first && second && first->bytes() == second->bytes();
}

id CSCoverSheetView_scaleImageToSize(id, SEL, id image, CGSize size) {
    auto* source = cast<UIImage>(image);
    return autorelease(drawnImage(size, YES, 1.0, [&](CGContextRef) {
        if (source) source->drawInRect(CGRectMake(0, 0, size.width, size.height));
    }));
}

// The flag only tells whether the image may be new; the kept background makes a restyle of
// the same artwork cheap either way.
void CSCoverSheetView_setImagesShouldGenerate(id self, SEL, id image, bool) {
    blurredImage = artworkBackground(cast<UIImage>(image), NSStringIntValue(blurRadius),
                                     NSStringIntValue(blurModeValue));
    if (auto* background = attached(self, prop::veyBackgroundArtwork))
        crossDissolve(background, 0.5, [](UIImageView* view) { view->setImage(blurredImage); });
    Ref<NSObject> cover = self;
    Ref<UIImage> artwork = cast<UIImage>(image);
    afterDelay(0.1, [cover, artwork] {
        if (auto* view = attached(cover, prop::artworkImageView))
            crossDissolve(view, 0.2, [artwork](UIImageView* v) { v->setImage(artwork); });
    });
}
