// The notification list and its cells.
#include "platform/springboard/springboard.h"

VEY_CLASS_IMPL(NCNotificationListCell, UIView::cls(), [](Class) {})

Ref<NCNotificationListCell> NCNotificationListCell::make(std::string_view app,
                                                         std::string_view message) {
    Ref<NCNotificationListCell> cell = UIView::make<NCNotificationListCell>();
    cell->setBackgroundColor(UIColor::colorWithWhite(1, 0.55));
    cell->layer()->setCornerRadius(20);
    cell->layer()->setCornerCurve(kCACornerCurveContinuous);
    cell->title_ = UIView::make<UILabel>();
    cell->title_->setFont(UIFont::systemFontOfSize(15, UIFontWeightSemibold));
    cell->title_->setText(app);
    cell->message_ = UIView::make<UILabel>();
    cell->message_->setFont(UIFont::systemFontOfSize(15, UIFontWeightRegular));
    cell->message_->setText(message);
    cell->addSubview(cell->title_);
    cell->addSubview(cell->message_);
    return cell;
}

void NCNotificationListCell::layoutSubviews() {
    UIView::layoutSubviews();
    double w = bounds().size.width;
    title_->setFrame(CGRectMake(16, 14, w - 32, 20));
    message_->setFrame(CGRectMake(16, 38, w - 32, 20));
}

VEY_CLASS_IMPL(NCNotificationListView, UIView::cls(), [](Class) {})

namespace {
constexpr double kCellSpacing = 8;
}

void NCNotificationListView::layoutSubviews() {
    UIView::layoutSubviews();
    double w = bounds().size.width;
    double y = 0;
    for (auto& sub : subviews()) {
        if (!cast<NCNotificationListCell>(sub)) continue;
        sub->setFrame(CGRectMake(0, y, w, NCNotificationListCell::kHeight));
        y += NCNotificationListCell::kHeight + kCellSpacing;
    }
}

double NCNotificationListView::contentHeight() const {
    int cells = 0;
    for (auto& sub : subviews())
        if (cast<NCNotificationListCell>(sub)) cells++;
    return cells ? cells * NCNotificationListCell::kHeight + (cells - 1) * kCellSpacing : 0;
}
