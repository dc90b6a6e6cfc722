// UIImage: a size in points, a scale, and either a bitmap or a system symbol drawn as a vector
// shape by the renderer. Decoding and encoding live in codec.h.
#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/geometry.h"
#include "platform/runtime/runtime.h"

#include <string>
#include <string_view>

class NSData;
enum CGBlendMode : int;

enum UIImageRenderingMode : NSInteger {
    UIImageRenderingModeAutomatic = 0,
    UIImageRenderingModeAlwaysOriginal = 1,
    UIImageRenderingModeAlwaysTemplate = 2,
};

class UIImage : public NSObject {
    VEY_CLASS(UIImage)
  public:
    // A bitmap image; its size in points is the pixel size divided by the scale. Nil for a nil
    // bitmap or a scale that is not positive.
    static Ref<UIImage> imageWithCGImage(CGImageRef image, CGFloat scale = 1);
    // Decodes JPEG or PNG bytes (codec.h); nil for anything else or for refused data.
    static Ref<UIImage> imageWithData(const NSData* data);
    // Reads and decodes a file; nil when it cannot be read or decoded.
    static Ref<UIImage> imageWithContentsOfFile(std::string_view path);
    // A system symbol by name, with an optional configuration object (kept as it is given).
    // Symbols have no bitmap; their size is kSymbolPointSize square.
    static Ref<UIImage> systemImageNamed(std::string_view name, id configuration = nullptr);
    static constexpr CGFloat kSymbolPointSize = 20;

    // A new image sharing this one's bitmap (or symbol) with another rendering mode.
    Ref<UIImage> imageWithRenderingMode(UIImageRenderingMode mode) const;

    CGSize size() const { return size_; }
    CGFloat scale() const { return scale_; }
    // Nil for a symbol.
    const CGImageRef& CGImage() const { return bitmap_; }
    UIImageRenderingMode renderingMode() const { return mode_; }
    bool isTemplate() const { return mode_ == UIImageRenderingModeAlwaysTemplate; }
    bool isSymbolImage() const { return !symbolName_.empty(); }
    const std::string& symbolName() const { return symbolName_; }
    NSObject* symbolConfiguration() const { return configuration_; }

    // Draw into the current context (context.h); nothing without one or without a bitmap.
    void drawAtPoint(CGPoint point) const;
    void drawInRect(CGRect rect) const;
    void drawInRect(CGRect rect, CGBlendMode mode, CGFloat alpha) const;

    std::string description() const override;

  private:
    CGSize size_;
    CGFloat scale_ = 1;
    CGImageRef bitmap_;
    UIImageRenderingMode mode_ = UIImageRenderingModeAutomatic;
    std::string symbolName_;
    Ref<NSObject> configuration_;
};
