// Recording the presentation tree: each visible view's geometry and alpha at one moment, its
// layer, what its kind of view shows (images placed by content mode, text with its style,
// buttons' image and title, the host's own backgrounds) and a running cross-dissolve.
#include "platform/springboard/springboard.h"
#include "sim/render/canvas.h"
#include "sim/render/display_list.h"
#include "sim/render/fonts.h"
#include "sim/render/symbols.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

// Below this a view cannot change a pixel by more than half a step.
constexpr double kInvisible = 1.0 / 512;

CGSize naturalSize(const UIImage* image) {
    return image->isSymbolImage() ? symbolNaturalSize(image) : image->size();
}

// Where the content of `size` goes in `bounds` for the view's content mode.
CGRect placeContent(CGSize size, CGRect bounds, UIViewContentMode mode) {
    double bw = bounds.size.width, bh = bounds.size.height;
    double cw = size.width, ch = size.height;
    if (!(cw > 0) || !(ch > 0)) return bounds;
    double x0 = bounds.origin.x, y0 = bounds.origin.y;
    auto centred = [&](double w, double h) {
        return CGRectMake(x0 + (bw - w) / 2, y0 + (bh - h) / 2, w, h);
    };
    switch (mode) {
    case UIViewContentModeScaleAspectFit: {
        double s = std::min(bw / cw, bh / ch);
        return centred(cw * s, ch * s);
    }
    case UIViewContentModeScaleAspectFill: {
        double s = std::max(bw / cw, bh / ch);
        return centred(cw * s, ch * s);
    }
    case UIViewContentModeCenter:
        return centred(cw, ch);
    case 5: // top
        return CGRectMake(x0 + (bw - cw) / 2, y0, cw, ch);
    case 6: // bottom
        return CGRectMake(x0 + (bw - cw) / 2, y0 + bh - ch, cw, ch);
    case 7: // left
        return CGRectMake(x0, y0 + (bh - ch) / 2, cw, ch);
    case 8: // right
        return CGRectMake(x0 + bw - cw, y0 + (bh - ch) / 2, cw, ch);
    case 9: // top left
        return CGRectMake(x0, y0, cw, ch);
    case 10: // top right
        return CGRectMake(x0 + bw - cw, y0, cw, ch);
    case 11: // bottom left
        return CGRectMake(x0, y0 + bh - ch, cw, ch);
    case 12: // bottom right
        return CGRectMake(x0 + bw - cw, y0 + bh - ch, cw, ch);
    default: // scale to fill, redraw
        return bounds;
    }
}

TextStyle labelStyle(const UILabel* label) {
    TextStyle style;
    if (UIFont* font = label->font()) {
        style.size = std::isfinite(font->pointSize()) ? std::min(font->pointSize(), 2000.0) : 0;
        style.weight = font->weight();
    }
    if (UIColor* color = label->textColor()) style.color = color->rgba();
    return style;
}

TextStyle buttonStyle(UIButton* button) {
    TextStyle style;
    style.size = 15;
    style.weight = UIFontWeightMedium;
    if (UIColor* color = button->titleColorForState(button->state()))
        style.color = color->rgba();
    else if (button->buttonType() == UIButtonTypeSystem)
        style.color = button->tintColor()->rgba();
    else
        style.color = {1, 1, 1, 1};
    return style;
}

void recordLabel(DisplayNode& node, UILabel* label, std::int64_t now) {
    TextItem item{label->textString(), labelStyle(label), label->textAlignment(), node.bounds, {}};
    if (item.text.empty()) return;
    if (label->marqueeEnabled() && label->marqueeRunning())
        item.marqueeSeconds = double(now - label->marqueeStart()) / 1e9;
    node.texts.push_back(std::move(item));
}

// The image at its own size (smaller when it does not fit) beside the title, both centred as
// a group.
void recordButton(DisplayNode& node, UIButton* button) {
    NSString* titleText = button->titleForState(button->state());
    TextItem title{titleText ? titleText->str() : std::string(),
                   buttonStyle(button),
                   NSTextAlignmentCenter,
                   node.bounds,
                   {}};
    double titleWidth =
        title.text.empty() ? 0 : measureText(title.text, title.style.size, title.style.weight);
    CGRect bounds = node.bounds;
    if (UIImage* image = button->currentImage()) {
        CGSize size = naturalSize(image);
        double room = std::max(0.0, bounds.size.width - titleWidth);
        double s = std::min({1.0, room / size.width, bounds.size.height / size.height});
        if (!(s > 0)) s = 0;
        double w = size.width * s, h = size.height * s;
        double x = bounds.origin.x + (bounds.size.width - w - titleWidth) / 2;
        double y = bounds.origin.y + (bounds.size.height - h) / 2;
        node.images.push_back({image, CGRectMake(x, y, w, h), button->tintColor()->rgba()});
        title.rect = CGRectMake(x + w, bounds.origin.y, titleWidth, bounds.size.height);
    }
    if (titleWidth > 0) node.texts.push_back(std::move(title));
}

// The newest transition still running at `now`, with the content it replaces.
void recordTransition(DisplayNode& node, UIView* view, std::int64_t now) {
    const std::vector<UIViewTransition>& transitions = view->transitions();
    for (auto it = transitions.rbegin(); it != transitions.rend(); ++it) {
        double p = it->progressAt(now);
        if (p >= 1) continue;
        if (auto* kept = cast<RecordedContent>(it->before.get())) {
            node.before = kept->content();
            node.progress = std::clamp(p, 0.0, 1.0);
        }
        return;
    }
}

void recordLayer(DisplayNode& node, UIView* view, std::int64_t now, double scale, double alpha);

} // namespace

void recordPlaced(std::vector<DisplayNode>& out, UIView* view, std::int64_t now, double scale,
                  double parentAlpha) {
    if (!view || view->isHidden()) return;
    DisplayNode node;
    node.alpha = view->presentationAlpha(now);
    if (!(parentAlpha * node.alpha >= kInvisible)) return;
    node.bounds = view->presentationBounds(now);
    node.center = view->presentationCenter(now);
    node.transform = view->presentationTransform(now);
    for (double v : {node.bounds.origin.x, node.bounds.origin.y, node.bounds.size.width,
                     node.bounds.size.height})
        if (!std::isfinite(v)) return;
    recordLayer(node, view, now, scale, parentAlpha * node.alpha);
    recordTransition(node, view, now);
    out.push_back(std::move(node));
}

namespace {

void recordLayer(DisplayNode& node, UIView* view, std::int64_t now, double scale, double alpha) {
    if (CALayer* layer = view->layer()) {
        double radius = layer->cornerRadius();
        node.cornerRadius = std::isfinite(radius) && radius > 0 ? radius : 0;
        node.continuousCorners = layer->cornerCurve() == kCACornerCurveContinuous;
        node.clips = layer->masksToBounds();
        node.borderWidth = layer->borderWidth();
        if (layer->borderColor()) node.borderColor = *layer->borderColor();
    }
    if (auto* effect = cast<UIVisualEffectView>(view); effect && effect->blurStyle() >= 0) {
        node.backdrop = Backdrop::Material;
        node.materialStyle = effect->blurStyle();
    } else if (cast<CSCoverSheetView>(view)) {
        node.backdrop = Backdrop::Wallpaper;
    } else if (cast<NCNotificationListCell>(view) || cast<PLPlatterView>(view)) {
        node.backdrop = Backdrop::Card;
    }
    if (node.backdrop != Backdrop::Wallpaper)
        if (Ref<UIColor> background = view->presentationBackgroundColor(now))
            node.background = background->rgba();

    if (Ref<UIImage> drawn = selfDrawnContent(view, scale))
        node.images.push_back({drawn, node.bounds, {}});
    if (auto* imageView = cast<UIImageView>(view)) {
        if (UIImage* image = imageView->image())
            node.images.push_back(
                {image, placeContent(naturalSize(image), node.bounds, view->contentMode()),
                 view->tintColor()->rgba()});
    } else if (auto* label = cast<UILabel>(view)) {
        recordLabel(node, label, now);
    } else if (auto* button = cast<UIButton>(view)) {
        recordButton(node, button);
    }

    // A copy: self-drawn content runs drawRect: implementations, which may change the tree.
    std::vector<Ref<UIView>> subviews = view->subviews();
    for (const Ref<UIView>& sub : subviews)
        recordPlaced(node.children, sub, now, scale, alpha);
}

} // namespace

std::shared_ptr<DisplayNode> recordBody(UIView* view, std::int64_t now, double scale) {
    if (!view) return nullptr;
    auto node = std::make_shared<DisplayNode>();
    node->bounds = view->presentationBounds(now);
    if (view->isHidden()) return node;
    recordLayer(*node, view, now, scale, 1);
    recordTransition(*node, view, now);
    return node;
}

} // namespace render
