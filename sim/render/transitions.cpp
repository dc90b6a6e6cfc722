// Cross-dissolves: when a transition starts, the view's content is recorded as a display list
// (no pixels); the tree walk draws it mixed with the live content only when a picture is made
// while the transition runs.
#include "sim/render/display_list.h"
#include "sim/render/render.h"

namespace render {

VEY_CLASS_IMPL(RecordedContent, NSObject::cls(), [](Class) {})

Ref<RecordedContent> RecordedContent::make(std::shared_ptr<const DisplayNode> content) {
    Ref<RecordedContent> kept = alloc<RecordedContent>();
    kept->content_ = std::move(content);
    return kept;
}

namespace {

// The view as it looks now, in its bounds, without its own alpha and place.
Ref<NSObject> recordOldContent(UIView* view) {
    if (!view) return nullptr;
    std::int64_t now = MainQueue::shared().nowNanos();
    return RecordedContent::make(recordBody(view, now, UIScreen::mainScreen()->scale()));
}

} // namespace

} // namespace render

void renderInstallTransitionSnapshots() {
    UIViewSetTransitionSnapshotHook(render::recordOldContent);
}
