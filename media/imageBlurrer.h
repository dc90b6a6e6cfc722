// imageBlurrer: the full-screen background made from an artwork: padded with copies of itself,
// blurred twice, cropped back, laid on black, grained and optionally tinted. Class methods only;
// registered with the runtime under its own name, with C++ entry points.
#pragma once

#include "platform/foundation/foundation.h"
#include "platform/graphics/graphics.h"
#include "platform/uikit/color.h"

class imageBlurrer : public NSObject {
    VEY_CLASS(imageBlurrer)
  public:
    // Radius 0 returns `image` itself; a nil image gives nil. The result has the image's size.
    static Ref<UIImage> applyCustomBlur(UIImage* image, double radius, NSInteger effect);
    static Ref<UIImage> generateOverlayImage(UIColor* color, CGSize size);
    // Screen-blends the grain (made at this image's size on the first call) over the image.
    static Ref<UIImage> addGrainEffect(UIImage* image);
    static Ref<UIImage> blendImage(UIImage* base, UIImage* overlay, double opacity);
    static Ref<UIImage> generateGrainImage(CGSize size);
    static Ref<UIImage> screenBlendImage(UIImage* base, UIImage* overlay);

    // The kept images: the two overlays (made on first use, at the main screen's size) and the
    // grain (nil until the first background).
    static UIImage* darkOverlay();
    static UIImage* lightOverlay();
    static UIImage* grainImage();
};
