#include "media/image_steps.h"

#include <cmath>

namespace {
constexpr double kMotionAngle = 0.5235987755982988; // pi / 6
} // namespace

Ref<UIImage> drawnImage(CGSize size, bool opaque, CGFloat scale,
                        const std::function<void(CGContextRef context)>& draw) {
    UIGraphicsBeginImageContextWithOptions(size, opaque, scale);
    draw(UIGraphicsGetCurrentContext());
    Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
    UIGraphicsEndImageContext();
    return image;
}

Ref<CIImage> gaussianThenMotionBlur(CIImage* input, double radius) {
    if (!input) return nullptr;
    Ref<CIFilter> gaussian = CIFilter::filterWithName("CIGaussianBlur");
    gaussian->setValue(input, kCIInputImageKey);
    gaussian->setValue(NSNumber::withDouble(radius), kCIInputRadiusKey);
    Ref<CIFilter> motion = CIFilter::filterWithName("CIMotionBlur");
    motion->setValue(gaussian->outputImage(), kCIInputImageKey);
    motion->setValue(NSNumber::withDouble(radius), kCIInputRadiusKey);
    motion->setValue(NSNumber::withDouble(kMotionAngle), kCIInputAngleKey);
    return motion->outputImage();
}

Ref<UIImage> renderedImage(CIContext* context, CIImage* image, CGFloat scale) {
    if (!context || !image) return nullptr;
    return UIImage::imageWithCGImage(context->createCGImage(image, image->extent()), scale);
}

void afterDelay(double seconds, std::function<void()> work) {
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, std::llround(seconds * NSEC_PER_SEC)),
                   dispatch_get_main_queue(), std::move(work));
}
