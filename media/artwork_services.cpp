// The plug-in's image classes through their C++ entry points, and the last rendered background.
#include "media/artwork_services.h"

#include "entry/state.h"
#include "media/ColorExtractor.h"
#include "media/ImageLoader.h"
#include "media/imageBlurrer.h"

namespace {

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
    ImageLoader::loadImageFromData(data, std::move(completion));
}

Ref<NSArray> dominantColors(UIImage* image, NSInteger sortBy) {
    return ColorExtractor::extractDominantColors(image, sortBy);
}

Ref<UIImage> artworkBackground(UIImage* image, NSInteger radius, NSInteger effect) {
    KeptBackground& last = kept();
    if (last.valid && last.source.get() == image && last.radius == radius &&
        last.effect == effect && last.tinted == backgroundBlurEffect)
        return last.result;
    Ref<UIImage> result = imageBlurrer::applyCustomBlur(image, double(radius), effect);
    last = {image, radius, effect, backgroundBlurEffect, result, true};
    return result;
}

void forgetArtworkBackground() {
    kept() = {};
}
