// ImageLoader: decodes artwork bytes on the calling thread and hands the image to the main
// queue. Registered with the runtime under its own name, with a C++ entry point.
#pragma once

#include "platform/foundation/foundation.h"
#include "platform/graphics/graphics.h"

#include <functional>

// A completion block passed through the runtime (loadImageFromData:completion:).
class ImageLoaderCompletion : public NSObject {
    VEY_CLASS(ImageLoaderCompletion)
  public:
    static Ref<ImageLoaderCompletion> make(std::function<void(UIImage*)> block);
    void operator()(UIImage* image) const {
        if (block_) block_(image);
    }

  private:
    std::function<void(UIImage*)> block_;
};

class ImageLoader : public NSObject {
    VEY_CLASS(ImageLoader)
  public:
    // Nil or undecodable data: `completion(nil)` before returning. An image: `completion`
    // through the main queue. Called exactly once either way.
    static void loadImageFromData(NSData* data, std::function<void(UIImage*)> completion);
};
