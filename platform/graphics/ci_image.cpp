#include "platform/graphics/blur.h"
#include "platform/graphics/filters.h"
#include "platform/graphics/image.h"

#include <cmath>
#include <cstring>

VEY_CLASS_IMPL(CIImage, NSObject::cls(), [](Class) {})

PixelRect pixelRectForExtent(CGRect r) {
    auto round = [](double v) { return std::floor(v + 0.5); };
    double x0 = round(CGRectGetMinX(r)), x1 = round(CGRectGetMaxX(r));
    double y0 = round(CGRectGetMinY(r)), y1 = round(CGRectGetMaxY(r));
    constexpr double kLimit = 1 << 28;
    if (!(x1 > x0 && y1 > y0) || std::fabs(x0) > kLimit || std::fabs(x1) > kLimit ||
        std::fabs(y0) > kLimit || std::fabs(y1) > kLimit)
        return {};
    return {int(x0), int(-y1), int(x1 - x0), int(y1 - y0)};
}

Ref<CIImage> CIImage::initWithImage(const UIImage* image) {
    return image ? imageWithCGImage(image->CGImage()) : nullptr;
}

Ref<CIImage> CIImage::imageWithCGImage(CGImageRef image) {
    if (!image) return nullptr;
    auto ci = alloc<CIImage>();
    ci->extent_ = {{0, 0}, {CGFloat(image->width), CGFloat(image->height)}};
    ci->bitmap_ = std::move(image);
    return ci;
}

Ref<CIImage> CIImage::imageByCroppingToRect(CGRect rect) const {
    auto ci = alloc<CIImage>();
    ci->op_ = Op::Crop;
    ci->input_ = const_cast<CIImage*>(this);
    double x0 = std::fmax(CGRectGetMinX(rect), CGRectGetMinX(extent_));
    double y0 = std::fmax(CGRectGetMinY(rect), CGRectGetMinY(extent_));
    double x1 = std::fmin(CGRectGetMaxX(rect), CGRectGetMaxX(extent_));
    double y1 = std::fmin(CGRectGetMaxY(rect), CGRectGetMaxY(extent_));
    ci->extent_ = x1 > x0 && y1 > y0 ? CGRectMake(x0, y0, x1 - x0, y1 - y0) : CGRectZero;
    return ci;
}

Ref<CIImage> CIImage::gaussianBlurred(double radius) const {
    auto ci = alloc<CIImage>();
    ci->op_ = Op::Gaussian;
    ci->input_ = const_cast<CIImage*>(this);
    ci->radius_ = radius > 0 ? radius : 0;
    double grow = 3 * ci->radius_;
    ci->extent_ = {{extent_.origin.x - grow, extent_.origin.y - grow},
                   {extent_.size.width + 2 * grow, extent_.size.height + 2 * grow}};
    return ci;
}

Ref<CIImage> CIImage::motionBlurred(double radius, double angle) const {
    auto ci = alloc<CIImage>();
    ci->op_ = Op::Motion;
    ci->input_ = const_cast<CIImage*>(this);
    ci->radius_ = radius > 0 ? radius : 0;
    ci->angle_ = std::isfinite(angle) ? angle : 0;
    double gx = ci->radius_ * std::fabs(std::cos(ci->angle_));
    double gy = ci->radius_ * std::fabs(std::sin(ci->angle_));
    ci->extent_ = {{extent_.origin.x - gx, extent_.origin.y - gy},
                   {extent_.size.width + 2 * gx, extent_.size.height + 2 * gy}};
    return ci;
}

PixelView CIImage::render(PixelRect rect) const {
    switch (op_) {
    case Op::Bitmap: {
        const CGImage& b = *bitmap_;
        PixelView all{{0, -b.height, b.width, b.height},
                      b.pixels(),
                      std::size_t(b.width),
                      std::shared_ptr<const void>(bitmap_)};
        return pixelsOver(all, rect);
    }
    case Op::Crop: {
        PixelRect keep = pixelRectForExtent(extent_).intersect(rect);
        if (keep == rect) return input_->render(rect);
        PixelView inner = keep.empty() ? PixelView{} : input_->render(keep);
        return pixelsOver(inner, rect);
    }
    case Op::Gaussian: {
        int s = gaussianSpread(radius_);
        PixelView in = input_->render(rect.inset(-s, -s));
        if (s == 0 || !in.data) return in;
        PixelBuffer out = PixelBuffer::make(rect);
        return gaussianBlur(in, radius_, out) ? out.view() : PixelView{};
    }
    case Op::Motion: {
        MotionKernel k = motionKernel(radius_, angle_);
        PixelRect middle = rect.inset(-k.spreadX, -k.spreadY);
        // After a Gaussian the two run together, without the Gaussian's result in full.
        if (k.n > 0 && input_->op_ == Op::Gaussian && gaussianSpread(input_->radius_) > 0) {
            int s = gaussianSpread(input_->radius_);
            PixelView in = input_->input_->render(middle.inset(-s, -s));
            PixelBuffer out = PixelBuffer::make(rect);
            if (!in.data || !out.data) return {};
            return gaussianThenMotionBlur(in, input_->radius_, k, out) ? out.view() : PixelView{};
        }
        PixelView in = input_->render(middle);
        if (k.n == 0 || !in.data) return in;
        PixelBuffer out = PixelBuffer::make(rect);
        return motionBlur(in, k, out) ? out.view() : PixelView{};
    }
    }
    return {};
}
