// The plug-in's image classes as the now-playing update and the styles use them: decoding
// (ImageLoader), dominant colours (ColorExtractor) and the blurred background (imageBlurrer).
#pragma once

#include "platform/foundation/foundation.h"

#include <functional>

class UIImage;

// Decodes artwork bytes: nil (also for nil data) reaches `completion` at once, an image
// through the main queue.
void loadArtwork(NSData* data, std::function<void(UIImage* image)> completion);

// The dominant colours of an artwork (two whites for nil).
Ref<NSArray> dominantColors(UIImage* image, NSInteger sortBy);

// The background rendered from an artwork. The result for the last (image, radius, effect,
// backgroundBlurEffect) is kept, so restyling the same artwork does not render it again.
Ref<UIImage> artworkBackground(UIImage* image, NSInteger radius, NSInteger effect);
// Forgets the kept background (tests, benchmarks).
void forgetArtworkBackground();
