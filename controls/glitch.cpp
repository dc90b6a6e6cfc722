// The glitch effect on the title after a track change made from the player.
#include "entry/hooks.h"
#include "entry/properties.h"
#include "entry/state.h"
#include "platform/graphics/random.h"
#include "platform/uikit/uikit.h"

namespace {

constexpr std::int64_t kFrameNanos = 75 * NSEC_PER_MSEC;
constexpr std::int64_t kStopDelayNanos = 100 * NSEC_PER_MSEC;
// From this frame on every frame also schedules the stop.
constexpr int kFirstStoppingFrame = 8;

// A number below `bound`, every value equally likely (arc4random_uniform on the platform's
// source): draws from the uneven top of the range are thrown back, a few times at most so that
// a stuck source cannot hang the effect.
std::uint32_t uniformBelow(std::uint32_t bound) {
    if (bound < 2) return 0;
    constexpr std::int64_t kRange = std::int64_t(1) << 31;
    const std::int64_t limit = kRange - kRange % bound;
    std::int64_t draw = 0;
    for (int attempt = 0; attempt < 16; ++attempt) {
        draw = platformRandom() & (kRange - 1);
        if (draw < limit) break;
    }
    return std::uint32_t(draw % bound);
}

void setLabel(id sheet, AttachedProperty<UILabel> property, std::string_view text) {
    if (UILabel* label = attached(sheet, property)) label->setText(text);
}

void showRealLabels(id sheet) {
    setLabel(sheet, prop::veySongLabel, coverName);
    setLabel(sheet, prop::veyArtistLabel, artistName);
}

// As long as the title in UTF-16 units, each unit one of the glitch characters.
std::string scrambledTitle(id sheet) {
    NSArray* characters = attached(sheet, prop::glitchCharacters);
    std::string text;
    if (!characters || characters->count() == 0) return text;
    std::size_t length = NSStringUTF16Length(coverName);
    for (std::size_t i = 0; i < length; ++i) {
        NSObject* pick =
            characters->objectAtIndex(uniformBelow(std::uint32_t(characters->count())));
        if (pick) text += pick->description();
    }
    return text;
}

void schedule(id sheet, std::int64_t delay, std::function<void(id)> step) {
    Ref<NSObject> keep = sheet;
    dispatch_after(dispatch_time(DISPATCH_TIME_NOW, delay), dispatch_get_main_queue(),
                   [keep, step = std::move(step)] { step(keep.get()); });
}

void stopGlitch(id sheet) {
    showRealLabels(sheet);
    glitchNo = 0;
    shouldGlitch = NO;
}

} // namespace

void CSCoverSheetView_startGlitchEffect(id self, SEL) {
    if (!shouldGlitch || !enableGlitch) {
        showRealLabels(self);
        // Cut short by the setting, the count would stay up and no later track change could
        // start an effect again.
        if (!enableGlitch) glitchNo = 0;
        return;
    }
    int frame = glitchNo++;
    if (frame >= kFirstStoppingFrame) schedule(self, kStopDelayNanos, &stopGlitch);
    setLabel(self, prop::veyArtistLabel, "Unknown");
    setLabel(self, prop::veySongLabel, scrambledTitle(self));
    schedule(self, kFrameNanos, [](id sheet) { send(sheet, "startGlitchEffect"); });
}
