// Auto Layout's solution for one tree of views (the rules are in constraint.h), and the base
// layoutSubviews that gives the solved frames to the subviews.
#include "platform/uikit/constraint.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/solver.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

struct UIViewSolveAccess {
    static CGRect& solvedRect(UIView* v) { return v->solvedRect_; }
    static std::uint64_t& solvedPass(UIView* v) { return v->solvedPass_; }
};

namespace {

UIView* rootOf(UIView* v) {
    while (v->superview())
        v = v->superview();
    return v;
}

int axisOf(NSLayoutAttribute a) {
    switch (a) {
    case NSLayoutAttributeTop:
    case NSLayoutAttributeBottom:
    case NSLayoutAttributeCenterY:
    case NSLayoutAttributeHeight:
        return 1;
    default:
        return 0;
    }
}

// How far along the view's extent the attribute lies, or -1 for a size attribute.
double fractionOf(NSLayoutAttribute a) {
    switch (a) {
    case NSLayoutAttributeLeft:
    case NSLayoutAttributeLeading:
    case NSLayoutAttributeTop:
        return 0;
    case NSLayoutAttributeRight:
    case NSLayoutAttributeTrailing:
    case NSLayoutAttributeBottom:
        return 1;
    case NSLayoutAttributeCenterX:
    case NSLayoutAttributeCenterY:
        return 0.5;
    default:
        return -1;
    }
}

double along(CGPoint p, int axis) {
    return axis ? p.y : p.x;
}
double along(CGSize s, int axis) {
    return axis ? s.height : s.width;
}

// A quantity that is a constant plus at most one unknown.
struct Lin {
    int unknown = -1;
    double constant = 0;
};

// One axis of one tree: unknowns 2k (minimum edge in the root's coordinates) and 2k + 1
// (size) for the k-th constrained view.
class AxisSolver {
  public:
    AxisSolver(UIView* root, int axis, const std::unordered_map<UIView*, int>& constrained)
        : root_(root), axis_(axis), constrained_(constrained) {}

    Lin position(UIView* v) {
        if (v == root_) return {-1, along(v->bounds().origin, axis_)};
        auto it = constrained_.find(v);
        if (it != constrained_.end()) return {2 * it->second, 0};
        UIView* s = v->superview();
        Lin p = position(s);
        p.constant +=
            along(uikit::untransformedFrame(v).origin, axis_) - along(s->bounds().origin, axis_);
        return p;
    }
    Lin size(UIView* v) {
        auto it = constrained_.find(v);
        if (it != constrained_.end() && v != root_) return {2 * it->second + 1, 0};
        return {-1, along(v->bounds().size, axis_)};
    }
    // The current position of a view in the root's coordinates.
    double currentPosition(UIView* v) {
        if (v == root_) return along(v->bounds().origin, axis_);
        UIView* s = v->superview();
        return currentPosition(s) - along(s->bounds().origin, axis_) +
               along(uikit::untransformedFrame(v).origin, axis_);
    }

    // Adds `factor` x attribute of `v` to the row; returns the constant part.
    double term(std::vector<double>& row, UIView* v, NSLayoutAttribute a, double factor) {
        double f = fractionOf(a);
        double constant = 0;
        auto put = [&](Lin l, double k) {
            if (l.unknown >= 0) row[std::size_t(l.unknown)] += k;
            constant += k * l.constant;
        };
        if (f < 0) {
            put(size(v), factor);
        } else {
            put(position(v), factor);
            if (f > 0) put(size(v), factor * f);
        }
        return constant;
    }

  private:
    UIView* root_;
    int axis_;
    const std::unordered_map<UIView*, int>& constrained_;
};

std::vector<double> solveAxis(UIView* root, int axis,
                              const std::unordered_map<UIView*, int>& constrained,
                              const std::vector<UIView*>& views,
                              const std::vector<NSLayoutConstraint*>& constraints,
                              const std::vector<double>* other) {
    std::size_t n = 2 * views.size();
    std::vector<int> preference(n);
    for (std::size_t i = 0; i < n; i++)
        preference[i] = i % 2 == 0 ? 1 : 0; // solve for positions, leave sizes free
    AxisSolver solver(root, axis, constrained);
    AxisSolver otherSolver(root, 1 - axis, constrained);
    uikit::LinearSystem system(n);
    for (NSLayoutConstraint* c : constraints) {
        if (axisOf(c->firstAttribute()) != axis) continue;
        bool second = c->secondItem() && c->secondAttribute() != NSLayoutAttributeNotAnAttribute;
        bool across = second && axisOf(c->secondAttribute()) != axis;
        if (across && !other) continue;
        double m = c->multiplier(), k = c->constant();
        if (!std::isfinite(m) || !std::isfinite(k)) continue;
        std::vector<double> row(n, 0);
        double constant = solver.term(row, c->firstItem(), c->firstAttribute(), 1);
        if (across) {
            std::vector<double> read(n, 0);
            constant += otherSolver.term(read, c->secondItem(), c->secondAttribute(), -m);
            for (std::size_t u = 0; u < n; u++)
                constant += read[u] * (*other)[u];
        } else if (second) {
            constant += solver.term(row, c->secondItem(), c->secondAttribute(), -m);
        }
        // A constraint places its first view: solve for that view's unknowns first.
        std::vector<int> rank = preference;
        auto first = constrained.find(c->firstItem());
        if (first != constrained.end()) {
            rank[2 * std::size_t(first->second)] += 2;
            rank[2 * std::size_t(first->second) + 1] += 2;
        }
        system.add(std::move(row), k - constant, rank);
    }
    // Whatever the constraints leave free keeps its current value: sizes, then positions.
    for (int round = 0; round < 2; round++)
        for (std::size_t i = 0; i < views.size(); i++) {
            std::size_t u = 2 * i + (round == 0 ? 1 : 0);
            if (system.isDetermined(u)) continue;
            std::vector<double> row(n, 0);
            row[u] = 1;
            double current = round == 0 ? along(views[i]->bounds().size, axis)
                                        : solver.currentPosition(views[i]);
            system.add(std::move(row), current, preference);
        }
    std::vector<double> values(n);
    for (std::size_t u = 0; u < n; u++)
        values[u] = system.value(u);
    return values;
}

} // namespace

void uikit::solveTree(UIView* root, std::uint64_t pass) {
    std::vector<NSLayoutConstraint*> mine;
    std::unordered_map<UIView*, int> constrained;
    std::vector<UIView*> views;
    auto consider = [&](UIView* v) {
        if (!v || v == root || v->translatesAutoresizingMaskIntoConstraints() || !v->superview())
            return;
        if (constrained.emplace(v, int(views.size())).second) views.push_back(v);
    };
    for (NSLayoutConstraint* c : NSLayoutConstraint::activeConstraints()) {
        UIView* a = c->firstItem();
        UIView* b = c->secondItem();
        if (!a || rootOf(a) != root || (b && rootOf(b) != root)) continue;
        mine.push_back(c);
        consider(a);
        consider(b);
    }
    if (views.empty()) return;

    // Each axis on its own; a constraint between the axes (height = width) reads the other
    // axis's solution, so heights follow widths, and widths that follow heights are solved
    // again once the heights are known.
    std::vector<double> values[2];
    values[0] = solveAxis(root, 0, constrained, views, mine, nullptr);
    values[1] = solveAxis(root, 1, constrained, views, mine, &values[0]);
    bool widthsFromHeights = std::any_of(mine.begin(), mine.end(), [](NSLayoutConstraint* c) {
        return axisOf(c->firstAttribute()) == 0 && c->secondItem() &&
               axisOf(c->secondAttribute()) == 1;
    });
    if (widthsFromHeights) values[0] = solveAxis(root, 0, constrained, views, mine, &values[1]);

    // Back into each superview's coordinates.
    for (std::size_t i = 0; i < views.size(); i++) {
        UIView* v = views[i];
        UIView* s = v->superview();
        CGRect r;
        double* origin[2] = {&r.origin.x, &r.origin.y};
        double* size[2] = {&r.size.width, &r.size.height};
        bool ok = true;
        for (int axis = 0; axis < 2; axis++) {
            AxisSolver axisSolver(root, axis, constrained);
            Lin sp = axisSolver.position(s);
            double superPos =
                sp.constant + (sp.unknown >= 0 ? values[axis][std::size_t(sp.unknown)] : 0);
            *origin[axis] = values[axis][2 * i] - superPos + along(s->bounds().origin, axis);
            *size[axis] = values[axis][2 * i + 1];
            ok = ok && std::isfinite(*origin[axis]) && std::isfinite(*size[axis]);
        }
        if (!ok) continue;
        UIViewSolveAccess::solvedRect(v) = r;
        UIViewSolveAccess::solvedPass(v) = pass;
        if (!uikit::nearlyEqual(r, uikit::untransformedFrame(v))) uikit::registerNeedsLayout(s);
    }
}

void UIView::layoutSubviews() {
    std::uint64_t pass = uikit::currentLayoutPass();
    if (!pass) return;
    std::vector<Ref<UIView>> subs = subviews_;
    for (auto& sub : subs) {
        if (sub->translatesMask_ || sub->solvedPass_ != pass || sub->superview_ != this) continue;
        CGRect r = sub->solvedRect_;
        if (uikit::nearlyEqual(r, uikit::untransformedFrame(sub))) continue;
        sub->placeUntransformed(r);
    }
}
