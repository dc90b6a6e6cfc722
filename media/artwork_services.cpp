// Reaches the plug-in's image classes by selector, as the rest of the player does, and keeps
// the last rendered background.
#include "media/artwork_services.h"

#include "entry/state.h"
#include "platform/graphics/image.h"

namespace {

// Remembered once found: the plug-in's own classes are registered when first used.
Class pluginClass(Class& cached, const char* name) {
    if (!cached) cached = objc_getClass(name);
    return cached;
}

Class colorExtractor() {
    static Class cls = nullptr;
    return pluginClass(cls, "ColorExtractor");
}

Class blurrer() {
    static Class cls = nullptr;
    return pluginClass(cls, "imageBlurrer");
}

// The last background and what it was rendered from.
struct KeptBackground {
    Ref<UIImage> source;
    NSInteger radius = 0;
    NSInteger effect = 0;
    bool tinted = false;
    Ref<UIImage> result;
    bool valid = false;
};

KeptBackground& kept() {
    static KeptBackground background;
    return background;
}

} // namespace

void loadArtwork(NSData* data, std::function<void(UIImage* image)> completion) {
    Ref<UIImage> image = data ? UIImage::imageWithData(data) : nullptr;
    if (!image) {
        completion(nullptr);
        return;
    }
    dispatch_async(dispatch_get_main_queue(), [image, completion] { completion(image); });
}

Ref<NSArray> dominantColors(UIImage* image, NSInteger sortBy) {
    return cast<NSArray>(send<id>(colorExtractor(), "extractDominantColorsFromImage:sortBy:",
                                  static_cast<id>(image), sortBy));
}

Ref<UIImage> artworkBackground(UIImage* image, NSInteger radius, NSInteger effect) {
    KeptBackground& last = kept();
    if (last.valid && last.source.get() == image && last.radius == radius &&
        last.effect == effect && last.tinted == backgroundBlurEffect)
        return last.result;
    Ref<UIImage> result = cast<UIImage>(
        send<id>(blurrer(), "applyCustomBlurToImage:withBlurRadius:effect:", static_cast<id>(image),
                 double(radius), effect));
    last = {image, radius, effect, backgroundBlurEffect, result, true};
    return result;
}

void forgetArtworkBackground() {
    kept() = {};
}
