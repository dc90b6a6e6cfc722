#include "platform/uikit/stackview.h"

#include <algorithm>

VEY_CLASS_IMPL(UIStackView, UIView::cls(), [](Class) {})

void UIStackView::addArrangedSubview(UIView* view) {
    insertArrangedSubview(view, arranged_.size());
}

void UIStackView::insertArrangedSubview(UIView* view, std::size_t index) {
    if (!view || view == this) return;
    Ref<UIView> keep = view;
    std::erase(arranged_, keep);
    arranged_.insert(arranged_.begin() + std::ptrdiff_t(std::min(index, arranged_.size())), keep);
    if (view->superview() != this) addSubview(view);
    setNeedsLayout();
}

void UIStackView::removeArrangedSubview(UIView* view) {
    if (std::erase(arranged_, Ref<UIView>(view))) setNeedsLayout();
}

void UIStackView::willRemoveSubview(UIView* view) {
    removeArrangedSubview(view);
}

void UIStackView::setAxis(UILayoutConstraintAxis axis) {
    axis_ = axis;
    setNeedsLayout();
}

void UIStackView::setSpacing(double spacing) {
    spacing_ = spacing;
    setNeedsLayout();
}

void UIStackView::layoutSubviews() {
    UIView::layoutSubviews();
    bool vertical = axis_ == UILayoutConstraintAxisVertical;
    double offset = 0;
    CGRect b = bounds();
    std::vector<Ref<UIView>> views = arranged_;
    for (auto& v : views) {
        if (v->isHidden()) continue;
        CGRect f = v->frame();
        CGRect placed =
            vertical ? CGRectMake(b.origin.x, b.origin.y + offset, b.size.width, f.size.height)
                     : CGRectMake(b.origin.x + offset, b.origin.y, f.size.width, b.size.height);
        if (placed != f) v->setFrame(placed);
        offset += (vertical ? f.size.height : f.size.width) + spacing_;
    }
}
