// The media controls' timelines: the current one and the older control of systems below 16.
#include "platform/mediaremote/context.h"
#include "platform/mediaremote/mediaremote.h"

#include <cmath>
#include <cstdio>

namespace {

Ref<UILabel> makeTimeLabel(NSTextAlignment alignment) {
    Ref<UILabel> label = UIView::make<UILabel>();
    label->setFont(UIFont::systemFontOfSize(12, UIFontWeightMedium));
    label->setTextColor(UIColor::colorWithWhite(1, 0.6));
    label->setTextAlignment(alignment);
    return label;
}

Ref<UIView> makeTrack(double white, double alpha) {
    Ref<UIView> track = UIView::make();
    track->setBackgroundColor(UIColor::colorWithWhite(white, alpha));
    track->layer()->setCornerRadius(2);
    return track;
}

// The sign is printed with the digits: concatenating it onto the string trips a false
// -Wrestrict in GCC 12 at -O3.
std::string clock(double seconds, const char* sign = "") {
    long total =
        std::isfinite(seconds) && seconds > 0 ? long(std::floor(std::fmin(seconds, 1e7))) : 0;
    char text[32];
    std::snprintf(text, sizeof text, "%s%ld:%02ld", sign, total / 60, total % 60);
    return text;
}

} // namespace

VEY_CLASS_IMPL(MRUNowPlayingTimeControlsView, UIView::cls(), [](Class k) {
    rt_addMethod(
        k, "layoutSubviews", +[](id self, SEL) {
            if (auto* view = cast<MRUNowPlayingTimeControlsView>(self)) view->layoutSubviews();
        });
    rt_addMethod(
        k, "setFrame:", +[](id self, SEL, CGRect frame) {
            if (auto* view = cast<MRUNowPlayingTimeControlsView>(self)) view->setFrameImpl(frame);
        });
    MRUAddContextAccessors(k);
    class_addIvar(k, "_elapsedTimeLabel", [](id self) -> id {
        auto* view = cast<MRUNowPlayingTimeControlsView>(self);
        return view ? view->elapsedTimeLabel() : nullptr;
    });
    class_addIvar(k, "_remainingTimeLabel", [](id self) -> id {
        auto* view = cast<MRUNowPlayingTimeControlsView>(self);
        return view ? view->remainingTimeLabel() : nullptr;
    });
})

UIView* MRUNowPlayingTimeControlsView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    elapsedTrack_ = makeTrack(1, 0.9);
    remainingTrack_ = makeTrack(1, 0.3);
    knob_ = makeTrack(1, 1);
    elapsed_ = makeTimeLabel(NSTextAlignmentLeft);
    remaining_ = makeTimeLabel(NSTextAlignmentRight);
    for (UIView* v : {remainingTrack_.get(), elapsedTrack_.get(), knob_.get(),
                      static_cast<UIView*>(elapsed_.get()), static_cast<UIView*>(remaining_.get())})
        addSubview(v);
    setTimes(0, 0);
    return this;
}

void MRUNowPlayingTimeControlsView::setTimes(double elapsed, double duration) {
    progress_ = duration > 0 ? std::fmin(std::fmax(elapsed / duration, 0), 1) : 0;
    elapsed_->setText(clock(elapsed));
    remaining_->setText(clock(duration - elapsed, "-"));
    setNeedsLayout();
}

void MRUNowPlayingTimeControlsView::layoutSubviews() {
    UIView::layoutSubviews();
    double w = bounds().size.width;
    double split = w * progress_;
    elapsedTrack_->setFrame(CGRectMake(0, 6, split, 4));
    remainingTrack_->setFrame(CGRectMake(split, 6, w - split, 4));
    knob_->setFrame(CGRectMake(split - 2, 4, 4, 8));
    // Labels that someone removed stay where they are.
    if (elapsed_->superview() == this) elapsed_->setFrame(CGRectMake(0, 14, 60, 16));
    if (remaining_->superview() == this) remaining_->setFrame(CGRectMake(w - 60, 14, 60, 16));
}

// ---------------------------------------------------------------------------------------------

VEY_CLASS_IMPL(MediaControlsTimeControl, UIControl::cls(), [](Class k) {
    rt_addMethod(
        k, "layoutSubviews", +[](id self, SEL) {
            if (auto* control = cast<MediaControlsTimeControl>(self)) control->layoutSubviews();
        });
    MRUAddContextAccessors(k);
})

UIView* MediaControlsTimeControl::initWithFrame(CGRect frame) {
    UIControl::initWithFrame(frame);
    track_ = makeTrack(1, 0.3);
    elapsed_ = makeTimeLabel(NSTextAlignmentLeft);
    remaining_ = makeTimeLabel(NSTextAlignmentRight);
    elapsed_->setText("0:00");
    remaining_->setText("-0:00");
    for (UIView* v : {track_.get(), static_cast<UIView*>(elapsed_.get()),
                      static_cast<UIView*>(remaining_.get())})
        addSubview(v);
    return this;
}

void MediaControlsTimeControl::layoutSubviews() {
    UIControl::layoutSubviews();
    double w = bounds().size.width;
    track_->setFrame(CGRectMake(0, 6, w, 4));
    elapsed_->setFrame(CGRectMake(0, 14, 60, 16));
    remaining_->setFrame(CGRectMake(w - 60, 14, 60, 16));
}
