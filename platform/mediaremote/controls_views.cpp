// The media controls' header: artwork view, labels and routing button.
#include "platform/mediaremote/context.h"
#include "platform/mediaremote/mediaremote.h"

namespace {

NSInteger contextOf(id self) {
    if (auto* view = dynamic_cast<MRUContextView*>(self)) return view->context();
    if (auto* control = cast<MediaControlsTimeControl>(self)) return control->context();
    return 0;
}

Ref<UILabel> makeLabel(double size, UIFontWeight weight, double alpha) {
    Ref<UILabel> label = UIView::make<UILabel>();
    label->setFont(UIFont::systemFontOfSize(size, weight));
    label->setTextColor(UIColor::whiteColor());
    label->setAlpha(alpha);
    return label;
}

} // namespace

void MRUAddContextAccessors(Class cls) {
    rt_addMethod(
        cls, "_context", +[](id self, SEL) -> NSInteger { return contextOf(self); });
    class_addIvar(cls, "_context", [](id self) -> id {
        return autorelease(NSNumber::withInteger(contextOf(self)));
    });
}

// ---------------------------------------------------------------------------------------------

VEY_CLASS_IMPL(MRUArtworkView, UIView::cls(), [](Class k) {
    rt_addMethod(
        k, "setArtworkImage:", +[](id self, SEL, id image) {
            if (auto* view = cast<MRUArtworkView>(self))
                view->setArtworkImage(cast<UIImage>(image));
        });
    rt_addMethod(
        k, "artworkImage", +[](id self, SEL) -> id {
            auto* view = cast<MRUArtworkView>(self);
            return view ? view->artworkImage() : nullptr;
        });
    MRUAddContextAccessors(k);
})

UIView* MRUArtworkView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    for (auto& imageView : imageViews_) {
        imageView = UIView::make<UIImageView>();
        addSubview(imageView);
    }
    imageViews_[0]->setContentMode(UIViewContentModeScaleAspectFill);
    imageViews_[0]->layer()->setCornerRadius(8);
    imageViews_[0]->layer()->setMasksToBounds(true);
    imageViews_[1]->setImage(UIImage::systemImageNamed("music.note"));
    imageViews_[1]->setTintColor(UIColor::colorWithWhite(1, 0.5));
    imageViews_[1]->setContentMode(UIViewContentModeCenter);
    return this;
}

void MRUArtworkView::layoutSubviews() {
    UIView::layoutSubviews();
    CGRect b = bounds();
    imageViews_[0]->setFrame(b);
    imageViews_[1]->setFrame(b);
    double icon = b.size.width * 0.4;
    imageViews_[2]->setFrame(
        CGRectMake(b.size.width - icon * 0.75, b.size.height - icon * 0.75, icon, icon));
}

void MRUArtworkView::setArtworkImage(UIImage* image) {
    artwork_ = image;
    imageViews_[0]->setImage(image);
    // The placeholder shows only while there is no artwork.
    imageViews_[1]->setHidden(image != nullptr);
}

// ---------------------------------------------------------------------------------------------

VEY_CLASS_IMPL(MRUNowPlayingRoutingButton, UIButton::cls(), [](Class k) {
    rt_addMethod(
        k, "_presentOutputPicker", +[](id self, SEL) {
            if (auto* button = cast<MRUNowPlayingRoutingButton>(self))
                button->presentOutputPicker();
        });
})

UIView* MRUNowPlayingRoutingButton::initWithFrame(CGRect frame) {
    UIButton::initWithFrame(frame);
    setImage(UIImage::systemImageNamed("airplayaudio")
                 ->imageWithRenderingMode(UIImageRenderingModeAlwaysTemplate),
             UIControlStateNormal);
    addTarget(this, "_presentOutputPicker", UIControlEventTouchUpInside);
    return this;
}

VEY_CLASS_IMPL(MRUTransportButton, UIButton::cls(), [](Class) {})

// ---------------------------------------------------------------------------------------------

VEY_CLASS_IMPL(MRUNowPlayingHeaderView, UIView::cls(), [](Class k) {
    rt_addMethod(
        k, "layoutSubviews", +[](id self, SEL) {
            if (auto* view = cast<MRUNowPlayingHeaderView>(self)) view->layoutSubviews();
        });
    MRUAddContextAccessors(k);
})

UIView* MRUNowPlayingHeaderView::initWithFrame(CGRect frame) {
    UIView::initWithFrame(frame);
    artwork_ = UIView::make<MRUArtworkView>();
    title_ = makeLabel(15, UIFontWeightSemibold, 1);
    subtitle_ = makeLabel(15, UIFontWeightRegular, 0.6);
    routing_ = UIView::make<MRUNowPlayingRoutingButton>();
    for (UIView* v : {(UIView*)artwork_, (UIView*)title_, (UIView*)subtitle_, (UIView*)routing_})
        addSubview(v);
    return this;
}

void MRUNowPlayingHeaderView::layoutSubviews() {
    UIView::layoutSubviews();
    double w = bounds().size.width;
    artwork_->setFrame(CGRectMake(16, 14, 52, 52));
    title_->setFrame(CGRectMake(80, 20, w - 136, 20));
    subtitle_->setFrame(CGRectMake(80, 40, w - 136, 20));
    routing_->setFrame(CGRectMake(w - 48, 24, 32, 32));
}
