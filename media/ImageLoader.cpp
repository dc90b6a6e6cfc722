#include "media/ImageLoader.h"

VEY_CLASS_IMPL(ImageLoaderCompletion, NSObject::cls(), [](Class) {})

Ref<ImageLoaderCompletion> ImageLoaderCompletion::make(std::function<void(UIImage*)> block) {
    auto c = alloc<ImageLoaderCompletion>();
    c->block_ = std::move(block);
    return c;
}

namespace {
void loadIMP(id, SEL, id data, id completion) {
    Ref<ImageLoaderCompletion> block = cast<ImageLoaderCompletion>(completion);
    ImageLoader::loadImageFromData(cast<NSData>(data), [block](UIImage* image) {
        if (block) (*block)(image);
    });
}
} // namespace

VEY_CLASS_IMPL(ImageLoader, NSObject::cls(),
               [](Class k) { rt_addMethod(k->isa, "loadImageFromData:completion:", &loadIMP); })

// The library's classes are registered when it is loaded, so they can be found by name.
[[maybe_unused]] static const Class registered = ImageLoader::cls();

void ImageLoader::loadImageFromData(NSData* data, std::function<void(UIImage*)> completion) {
    Ref<UIImage> image = data ? UIImage::imageWithData(data) : nullptr;
    if (!image) {
        if (completion) completion(nullptr);
        return;
    }
    dispatch_async(dispatch_get_main_queue(), [image, completion = std::move(completion)] {
        if (completion) completion(image);
    });
}
