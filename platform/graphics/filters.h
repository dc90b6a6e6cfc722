// Core Image stand-ins: CIImage is a lazy recipe (a bitmap, blurs, crops) that CIContext renders
// only over the rectangle asked for. Coordinates are the platform's: origin at the bottom left,
// y up, one unit per pixel. Filters: "CIGaussianBlur" (inputRadius = standard deviation, extent
// grows by 3 x radius) and "CIMotionBlur" (a box of ± inputRadius along inputAngle, extent grows
// by radius x |cos| and radius x |sin|). Edges read transparent pixels.
#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/geometry.h"
#include "platform/graphics/pixels.h"
#include "platform/runtime/runtime.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

class UIImage;
class NSDictionary;

inline constexpr std::string_view kCIInputImageKey = "inputImage";
inline constexpr std::string_view kCIInputRadiusKey = "inputRadius";
inline constexpr std::string_view kCIInputAngleKey = "inputAngle";
inline constexpr std::string_view kCIOutputImageKey = "outputImage";

class CIImage : public NSObject {
    VEY_CLASS(CIImage)
  public:
    // Nil for a nil image or one without a bitmap.
    static Ref<CIImage> initWithImage(const UIImage* image);
    static Ref<CIImage> imageWithCGImage(CGImageRef image);
    CGRect extent() const { return extent_; }
    Ref<CIImage> imageByCroppingToRect(CGRect rect) const;
    Ref<CIImage> gaussianBlurred(double radius) const;
    Ref<CIImage> motionBlurred(double radius, double angle) const;

    // The pixels of `rect` (y down: the row of platform y is -y - 1), transparent outside the
    // extent. An empty view when the memory was refused.
    PixelView render(PixelRect rect) const;

  private:
    enum class Op { Bitmap, Gaussian, Motion, Crop };
    Op op_ = Op::Bitmap;
    CGImageRef bitmap_;
    Ref<CIImage> input_;
    double radius_ = 0, angle_ = 0;
    CGRect extent_;
};

// The pixel rectangle (y down) that a platform rectangle covers, edges rounded to the nearest
// pixel so that a rectangle keeps its whole-pixel size.
PixelRect pixelRectForExtent(CGRect rect);

class CIFilter : public NSObject {
    VEY_CLASS(CIFilter)
  public:
    // Nil for a filter this platform does not have.
    static Ref<CIFilter> filterWithName(std::string_view name);
    const std::string& name() const { return name_; }
    void setValue(id value, std::string_view key);
    // The inputs as set, or kCIOutputImageKey for the output.
    Ref<NSObject> valueForKey(std::string_view key) const;
    // Nil without an input image.
    Ref<CIImage> outputImage() const;

  private:
    std::string name_;
    std::vector<std::pair<std::string, Ref<NSObject>>> values_;
    double number(std::string_view key, double fallback) const;
};

class CIContext : public NSObject {
    VEY_CLASS(CIContext)
  public:
    static Ref<CIContext> contextWithOptions(const NSDictionary* options);
    // Renders `rect` of the image into a new bitmap (nil for nil, empty or too large).
    CGImageRef createCGImage(const CIImage* image, CGRect rect) const;
};
