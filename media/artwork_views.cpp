// The artwork and its background in their views: the same-image test, the small reductions it
// compares, and the cross-dissolves that put new images in.
#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "media/artwork_services.h"
#include "platform/graphics/graphics.h"
#include "platform/uikit/uikit.h"

namespace {

constexpr UIViewAnimationOptions kCrossDissolve = UIViewAnimationOptionTransitionCrossDissolve;
// Details finer than this reduction do not make artwork new.
constexpr double kComparisonSide = 10;

Ref<NSData> reducedPNG(id self, UIImage* image) {
    id reduced =
        send<id>(self, "scaleImage:toSize:", image, CGSizeMake(kComparisonSide, kComparisonSide));
    return UIImagePNGRepresentation(cast<UIImage>(reduced));
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
    UIGraphicsBeginImageContextWithOptions(size, YES, 1.0);
    if (auto* source = cast<UIImage>(image))
        source->drawInRect(CGRectMake(0, 0, size.width, size.height));
    Ref<UIImage> scaled = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return autorelease(scaled);
}

// The flag only tells whether the image may be new; the kept background makes a restyle of
// the same artwork cheap either way.
void CSCoverSheetView_setImagesShouldGenerate(id self, SEL, id image, bool) {
    blurredImage = artworkBackground(cast<UIImage>(image), NSStringIntValue(blurRadius),
                                     NSStringIntValue(blurModeValue));
    if (auto* background = attached(self, prop::veyBackgroundArtwork)) {
        Ref<UIImageView> keep = background;
        UIView::transitionWithView(background, 0.5, kCrossDissolve,
                                   [keep] { keep->setImage(blurredImage); });
    }
    Ref<NSObject> cover = self;
    Ref<UIImage> artwork = cast<UIImage>(image);
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, 100 * NSEC_PER_MSEC), dispatch_get_main_queue(),
                   [cover, artwork] {
                       auto* view = attached(cover, prop::artworkImageView);
                       if (!view) return;
                       Ref<UIImageView> keep = view;
                       UIView::transitionWithView(view, 0.2, kCrossDissolve,
                                                  [keep, artwork] { keep->setImage(artwork); });
                   });
}
