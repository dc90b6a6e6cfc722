// Layout passes: which views are laid out, in what order, and when (see layout.h).
#include "platform/uikit/layout.h"

#include "platform/foundation/foundation.h"
#include "platform/uikit/constraint.h"
#include "platform/uikit/internal.h"

#include <algorithm>

struct UIViewLayoutAccess {
    static bool& needsLayout(UIView* v) { return v->needsLayout_; }
    static std::uint64_t& laidOutPass(UIView* v) { return v->laidOutPass_; }
};

namespace {

// A turn runs at most this many passes; marks left after them wait for the next turn.
constexpr int kPassesPerTurn = 4;
// Bound on layoutSubviews calls in one pass, whatever the hooks do.
constexpr int kViewsPerPass = 100000;

struct LayoutState {
    std::vector<Ref<UIView>> marked; // views whose needsLayout was set, possibly stale
    std::vector<Ref<UIView>> moved;  // roots of trees whose geometry or constraints changed
    std::uint64_t nextPass = 1;
    std::vector<std::uint64_t> passStack;
    bool observerInstalled = false;
};
LayoutState& state() {
    static auto* s = new LayoutState();
    return *s;
}

UIView* rootOf(UIView* v) {
    while (v->superview())
        v = v->superview();
    return v;
}

int depthOf(const UIView* v) {
    int d = 0;
    for (; v->superview(); v = v->superview())
        d++;
    return d;
}

void ensureObserver() {
    if (!state().observerInstalled) UIKitInstallTurnObserver();
}

bool inScope(UIView* v, UIView* scope) {
    return !scope || v->isDescendantOfView(scope);
}

bool pending(UIView* scope) {
    auto& s = state();
    UIView* root = scope ? rootOf(scope) : nullptr;
    for (auto& v : s.marked)
        if (UIViewLayoutAccess::needsLayout(v) && inScope(v, scope)) return true;
    if (NSLayoutConstraint::activeConstraints().empty()) return false;
    for (auto& r : s.moved)
        if (!root || rootOf(r) == root) return true;
    return false;
}

void runPass(UIView* scope) {
    auto& s = state();
    std::uint64_t pass = s.nextPass++;
    s.passStack.push_back(pass);

    // Solve every tree with marked views or changed geometry (only the scope's tree for
    // layoutIfNeeded); solving marks the superviews of views whose solved frame changed.
    std::vector<Ref<UIView>> roots;
    auto addRoot = [&](UIView* v) {
        UIView* r = rootOf(v);
        if (scope && r != rootOf(scope)) return;
        if (std::find(roots.begin(), roots.end(), r) == roots.end()) roots.push_back(r);
    };
    if (!NSLayoutConstraint::activeConstraints().empty()) {
        for (auto& v : s.moved)
            addRoot(v);
        for (auto& v : s.marked)
            if (UIViewLayoutAccess::needsLayout(v)) addRoot(v);
        std::vector<Ref<UIView>> keep;
        for (auto& v : s.moved)
            if (std::find(roots.begin(), roots.end(), rootOf(v)) == roots.end()) keep.push_back(v);
        s.moved.swap(keep);
        for (auto& r : roots)
            uikit::solveTree(r, pass);
    } else {
        s.moved.clear();
    }

    // Top down: the shallowest marked view first; each view at most once per pass.
    for (int n = 0; n < kViewsPerPass; n++) {
        UIView* best = nullptr;
        int bestDepth = 0;
        for (std::size_t i = 0; i < s.marked.size(); i++) {
            UIView* v = s.marked[i];
            if (!UIViewLayoutAccess::needsLayout(v) || UIViewLayoutAccess::laidOutPass(v) == pass ||
                !inScope(v, scope))
                continue;
            int d = depthOf(v);
            if (!best || d < bestDepth) best = v, bestDepth = d;
        }
        if (!best) break;
        Ref<UIView> keep = best;
        UIViewLayoutAccess::needsLayout(best) = false;
        UIViewLayoutAccess::laidOutPass(best) = pass;
        send(best, "layoutSubviews");
    }

    // Drop the entries that were laid out; releasing them may mark others, so swap first.
    std::vector<Ref<UIView>> old;
    old.swap(s.marked);
    for (auto& v : old)
        if (UIViewLayoutAccess::needsLayout(v)) s.marked.push_back(v);
    s.passStack.pop_back();
}

void runPasses(UIView* scope) {
    for (int i = 0; i < kPassesPerTurn && pending(scope); i++)
        runPass(scope);
}

} // namespace

namespace uikit {

void registerNeedsLayout(UIView* view) {
    if (!view) return;
    ensureObserver();
    bool& flag = UIViewLayoutAccess::needsLayout(view);
    if (flag) return;
    flag = true;
    state().marked.push_back(view);
}

void noteGeometryChange(UIView* view) {
    if (!view || NSLayoutConstraint::activeConstraints().empty()) return;
    ensureObserver();
    UIView* root = rootOf(view);
    auto& moved = state().moved;
    if (std::find(moved.begin(), moved.end(), root) == moved.end()) moved.push_back(root);
}

std::uint64_t currentLayoutPass() {
    auto& stack = state().passStack;
    return stack.empty() ? 0 : stack.back();
}

} // namespace uikit

void UIView::setNeedsLayout() {
    uikit::registerNeedsLayout(this);
}

void UIView::layoutIfNeeded() {
    Ref<UIView> keep = this;
    UIView* start = this;
    for (UIView* v = superview_; v; v = v->superview_)
        if (v->needsLayout_) start = v;
    runPasses(start);
}

void UIViewRunPendingLayout() {
    runPasses(nullptr);
}

void UIKitEndTurn() {
    ensureObserver();
    MainQueue::shared().endTurn();
}

void UIKitInstallTurnObserver() {
    state().observerInstalled = true;
    MainQueue::shared().addTurnObserver([] {
        if (state().passStack.empty()) runPasses(nullptr);
    });
}
