// What a view tree shows at one moment, as data: each visible view's presentation geometry,
// alpha, layer, background and content, with its subviews. Recording copies values and takes
// references to images, so it costs next to nothing; pixels are made only when a list is drawn.
// A cross-dissolve keeps the list of the content it replaces and draws it, with the backdrop
// of the moment it is drawn, only when a picture falls inside the transition.
#pragma once

#include "platform/graphics/geometry.h"
#include "platform/uikit/color.h"
#include "platform/uikit/uikit.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace render {

// Text in Inter, one line, aligned in `rect` and vertically centred there.
struct TextStyle {
    double size = 17;
    double weight = 0;
    CGColor color{0, 0, 0, 1};
};
struct TextItem {
    std::string text;
    TextStyle style;
    NSTextAlignment alignment = NSTextAlignmentLeft;
    CGRect rect{};
    // Seconds since a scrolling marquee started; none for text that does not scroll.
    std::optional<double> marqueeSeconds;
};

// An image stretched to `rect`; templates and symbols in `tint`.
struct ImageItem {
    Ref<UIImage> image;
    CGRect rect{};
    CGColor tint{};
};

// The host's backgrounds the renderer draws in its own way.
enum class Backdrop {
    None,
    Wallpaper, // the cover sheet: the wallpaper instead of its colour
    Card,      // notification cells and platters: frosted, under their colour
    Material,  // effect views: a blur material of `materialStyle`
};

struct DisplayNode {
    // Placement in the superview's bounds space (unused for the root of a list).
    CGPoint center{};
    CGRect bounds{};
    CGAffineTransform transform = CGAffineTransformIdentity;
    double alpha = 1;

    double cornerRadius = 0;
    bool continuousCorners = false;
    bool clips = false;
    double borderWidth = 0;
    CGColor borderColor{0, 0, 0, 1};
    std::optional<CGColor> background;
    Backdrop backdrop = Backdrop::None;
    NSInteger materialStyle = 0;

    // Content above the background, in order: images, then text.
    std::vector<ImageItem> images;
    std::vector<TextItem> texts;
    std::vector<DisplayNode> children;

    // A running cross-dissolve: `before` mixed into this content, which weighs `progress`.
    std::shared_ptr<const DisplayNode> before;
    double progress = 1;
};

// What a cross-dissolve keeps of the content it replaces: the transition snapshot hook's result.
class RecordedContent : public NSObject {
    VEY_CLASS(RecordedContent)
  public:
    static Ref<RecordedContent> make(std::shared_ptr<const DisplayNode> content);
    const std::shared_ptr<const DisplayNode>& content() const { return content_; }

  private:
    std::shared_ptr<const DisplayNode> content_;
};

// The body of `view` (bounds, layer, content and subviews, without its own place and alpha) at
// virtual time `now`; self-drawn content is drawn at `scale`. A hidden view's body is empty.
std::shared_ptr<DisplayNode> recordBody(UIView* view, std::int64_t now, double scale);

// `view` placed in its superview (presentation geometry and alpha) with its body, appended to
// `out`; nothing for a hidden view or one too faint to change a pixel under `parentAlpha`.
void recordPlaced(std::vector<DisplayNode>& out, UIView* view, std::int64_t now, double scale,
                  double parentAlpha = 1);

} // namespace render
