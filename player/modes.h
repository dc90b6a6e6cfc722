// What switching layouts, collapsing and rebuilding share: the motions they are made of and
// the dismiss button's chevron.
#pragma once

#include "platform/uikit/uikit.h"

#include <string_view>

namespace player {

// Builds the player on `sheet` again, in the layout other than the one `minimized` names.
void rebuildPlayer(UIView* sheet);

// Moved by (tx, ty) and scaled about the centre by (sx, sy).
inline CGAffineTransform translatedScaled(double tx, double ty, double sx, double sy) {
    return CGAffineTransformScale(CGAffineTransformMakeTranslation(tx, ty), sx, sy);
}

// The two motions: ease-in-out, and a spring damped so much that it cannot overshoot.
inline void animate(double duration, double delay, UIView::Block changes,
                    UIView::Completion completion = {}) {
    UIView::animateWithDuration(duration, delay, 0, std::move(changes), std::move(completion));
}
inline void spring(double duration, double delay, UIView::Block changes) {
    UIView::animateWithSpring(duration, delay, 1000.0, 0, UIViewAnimationOptionCurveEaseOut,
                              std::move(changes));
}

// A chevron symbol as a template image, so that it takes the style's tint.
Ref<UIImage> chevron(std::string_view name);

// The dismiss chevron slides away by `away`, takes the symbol `becomes` (empty: keeps its
// image), comes back from the opposite side and settles at half size, `rest` below its centre.
void turnChevron(UIView* sheet, double away, std::string_view becomes, double rest);

} // namespace player
