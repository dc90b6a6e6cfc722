// ColorExtractor: the three dominant colours of an artwork, by a fixed ten-pass k-means over
// a shrunk and softened copy, cached by the artwork's content. Class methods only; registered
// with the runtime under its own name (class methods on the metaclass), with C++ entry points.
#pragma once

#include "platform/foundation/foundation.h"
#include "platform/graphics/graphics.h"
#include "platform/uikit/color.h"

class ColorExtractor : public NSObject {
    VEY_CLASS(ColorExtractor)
  public:
    // Three colours (cluster order, or brightest first when sortBy is not 0); two whites for a
    // nil image or one with no pixels (not cached).
    static Ref<NSArray> extractDominantColors(UIImage* image, NSInteger sortBy);
    // "%f_%f_%@": point width, point height, Base64 (64-character lines) of the PNG encoding.
    static Ref<NSString> cacheKeyForImage(UIImage* image);
    static double colorDistance(UIColor* from, UIColor* to);
    // Rec. 709 luma weights.
    static double brightness(UIColor* color);
    // Stretched onto an opaque (black) context of `target` when wider or taller than it.
    static Ref<UIImage> resizeImageIfNeeded(UIImage* image, CGSize target);
    // Gaussian then 30-degree motion blur of `radius`, rendered over the whole grown extent.
    static Ref<UIImage> applyGaussianAndMotionBlur(UIImage* image, double radius);

    // The result cache (count limit 100). Its keys have the equality of cacheKeyForImage: (the
    // point size as "%f" text and a 128-bit digest of the pixels), without encoding anything.
    static NSCache* cache();
    static Ref<NSString> digestKeyForImage(UIImage* image);
};
