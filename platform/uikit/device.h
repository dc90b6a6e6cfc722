// The device and its screen, as the host's device settings describe them. The host sets them
// once at start; defaults describe a 390 x 844 point phone at scale 3 running 16.4.
#pragma once

#include "platform/foundation/foundation.h"
#include "platform/graphics/geometry.h"

#include <string_view>

class UIDevice : public NSObject {
    VEY_CLASS(UIDevice)
  public:
    static UIDevice* currentDevice();
    NSString* systemVersion() const { return version_; }
    NSString* name() const { return name_; }
    // Host settings.
    void setSystemVersion(std::string_view version);
    void setName(std::string_view name);

  private:
    Ref<NSString> version_ = NSString::make("16.4");
    Ref<NSString> name_ = NSString::make("iPhone");
};

class UIScreen : public NSObject {
    VEY_CLASS(UIScreen)
  public:
    static UIScreen* mainScreen();
    CGRect bounds() const { return bounds_; }
    double scale() const { return scale_; }
    // Host settings. Sizes that are not positive and finite, and scales outside 1...4, are
    // ignored.
    void setSize(CGSize size);
    void setScale(double scale);

  private:
    CGRect bounds_ = CGRectMake(0, 0, 390, 844);
    double scale_ = 3;
};
