#include "controls/press.h"

namespace {

constexpr double kPressDuration = 0.15;
constexpr double kPressDamping = 1000.0;
constexpr double kPressScale = 1.2;
constexpr double kPressShift = 0.055; // of the player's width

void pressSpring(UIView::Block animations, UIView::Completion completion = {}) {
    UIView::animateWithSpring(kPressDuration, 0, kPressDamping, 0,
                              UIViewAnimationOptionCurveEaseOut, std::move(animations),
                              std::move(completion));
}

void setButtonTransform(UIView* sheet, AttachedProperty<UIButton> name, CGAffineTransform t) {
    if (UIButton* button = attached(sheet, name)) button->setTransform(t);
}

} // namespace

void animatePress(id self, AttachedProperty<UIButton> name, int direction) {
    Ref<UIView> sheet = cast<UIView>(self);
    if (!sheet) return;
    pressSpring(
        [sheet, name, direction] {
            UIView* player = attached(sheet.get(), prop::veyView);
            double w = player ? player->bounds().size.width : 0;
            CGAffineTransform moved =
                CGAffineTransformMakeTranslation(direction * kPressShift * w, 0);
            setButtonTransform(sheet, name,
                               CGAffineTransformScale(moved, kPressScale, kPressScale));
        },
        [sheet, name](bool) {
            pressSpring(
                [sheet, name] { setButtonTransform(sheet, name, CGAffineTransformIdentity); });
        });
}
