// Bundles by identifier, their images, and the glyph bundles the host installs on the device.
#include "platform/mediaplayer/mediaplayer.h"

#include <cmath>
#include <filesystem>
#include <map>

namespace {

std::map<std::string, Ref<NSBundle>, std::less<>>& bundles() {
    static auto* all = new std::map<std::string, Ref<NSBundle>, std::less<>>();
    return *all;
}

id bundleWithIdentifierIMP(id, SEL, id identifier) {
    auto* text = cast<NSString>(identifier);
    return text ? NSBundle::bundleWithIdentifier(text->str()) : nullptr;
}
id bundlePathIMP(id self, SEL) {
    auto* bundle = cast<NSBundle>(self);
    return bundle ? autorelease(NSString::make(bundle->bundlePath())) : nullptr;
}
id imageNamedInBundleIMP(id, SEL, id name, id bundle) {
    auto* text = cast<NSString>(name);
    if (!text) return nullptr;
    return autorelease(UIImageNamedInBundle(text->str(), cast<NSBundle>(bundle)));
}

bool isFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

VEY_CLASS_IMPL(NSBundle, NSObject::cls(), [](Class k) {
    rt_addMethod(k->isa, "bundleWithIdentifier:", &bundleWithIdentifierIMP);
    rt_addMethod(k, "bundlePath", &bundlePathIMP);
})

NSBundle* NSBundle::bundleWithIdentifier(std::string_view identifier) {
    auto it = bundles().find(identifier);
    return it == bundles().end() ? nullptr : it->second.get();
}

void NSBundle::registerBundle(std::string identifier, std::string path) {
    Ref<NSBundle> bundle = alloc<NSBundle>();
    bundle->identifier_ = identifier;
    bundle->path_ = std::move(path);
    bundles()[std::move(identifier)] = bundle;
}

std::string MPGlyphBundlePath(std::string_view identifier) {
    if (NSDeviceRoot().empty()) return {};
    std::string framework = identifier == kBatteryCenterUIBundleIdentifier ? "BatteryCenterUI"
                            : identifier == kBatteryCenterBundleIdentifier ? "BatteryCenter"
                                                                           : "";
    if (framework.empty()) return {};
    return NSDeviceRoot() + "/System/Library/PrivateFrameworks/" + framework + ".framework";
}

void MPRegisterDeviceBundles() {
    for (std::string_view identifier :
         {kBatteryCenterUIBundleIdentifier, kBatteryCenterBundleIdentifier}) {
        std::string path = MPGlyphBundlePath(identifier);
        std::error_code error;
        if (!path.empty() && std::filesystem::is_directory(path, error))
            NSBundle::registerBundle(std::string(identifier), path);
    }
}

Ref<UIImage> UIImageNamedInBundle(std::string_view name, const NSBundle* bundle) {
    if (!bundle || name.empty() || name.find('/') != std::string_view::npos || name == "." ||
        name == "..")
        return nullptr;
    std::string base = bundle->bundlePath() + "/" + std::string(name);
    // The screen's own scale first, then the plain file.
    int scale = int(std::lround(UIScreen::mainScreen()->scale()));
    std::string scaled = base + "@" + std::to_string(scale) + "x.png";
    if (scale > 1 && isFile(scaled)) {
        Ref<UIImage> image = UIImage::imageWithContentsOfFile(scaled);
        if (image) return UIImage::imageWithCGImage(image->CGImage(), scale);
    }
    if (!isFile(base + ".png")) return nullptr;
    return UIImage::imageWithContentsOfFile(base + ".png");
}

void MPRegisterHostClasses() {
    for (Class c : {AVOutputDevice::cls(), AVOutputContext::cls(), MRAVOutputContext::cls(),
                    MRAVConcreteOutputDevice::cls(), MPAVRoute::cls(), MPAVOutputDeviceRoute::cls(),
                    MPRouteLabel::cls(), NSBundle::cls()})
        (void)c;
    rt_addMethod(UIImage::cls()->isa, "imageNamed:inBundle:", &imageNamedInBundleIMP);
}
