#include "platform/uikit/device.h"

#include "platform/graphics/screen_metrics.h"

#include <cmath>

VEY_CLASS_IMPL(UIDevice, NSObject::cls(), [](Class k) {
    rt_addMethod(
        k->isa, "currentDevice", +[](id, SEL) -> id { return UIDevice::currentDevice(); });
    rt_addMethod(
        k, "systemVersion", +[](id self, SEL) -> id {
            auto* d = cast<UIDevice>(self);
            return d ? d->systemVersion() : nullptr;
        });
    rt_addMethod(
        k, "name", +[](id self, SEL) -> id {
            auto* d = cast<UIDevice>(self);
            return d ? d->name() : nullptr;
        });
})

VEY_CLASS_IMPL(UIScreen, NSObject::cls(), [](Class k) {
    rt_addMethod(
        k->isa, "mainScreen", +[](id, SEL) -> id { return UIScreen::mainScreen(); });
})

UIDevice* UIDevice::currentDevice() {
    static Ref<UIDevice> device = alloc<UIDevice>();
    return device;
}

void UIDevice::setSystemVersion(std::string_view version) {
    version_ = NSString::make(version);
}

void UIDevice::setName(std::string_view name) {
    name_ = NSString::make(name);
}

UIScreen* UIScreen::mainScreen() {
    static Ref<UIScreen> screen = alloc<UIScreen>();
    return screen;
}

void UIScreen::setSize(CGSize size) {
    auto ok = [](double v) { return std::isfinite(v) && v > 0 && v < 100000; };
    if (ok(size.width) && ok(size.height)) bounds_ = {{0, 0}, size};
    setMainScreenMetrics({bounds_, scale_}); // image contexts at scale 0 follow the screen
}

void UIScreen::setScale(double scale) {
    if (std::isfinite(scale) && scale >= 1 && scale <= 4) scale_ = scale;
    setMainScreenMetrics({bounds_, scale_});
}
