// A layout pass over a tree the size of the player's: a cover sheet, the player's root view and
// about 40 views held by 80 constraints (labels on the grandparent's edges, buttons chained off
// each other), with autoresizing icons inside the buttons.
#include "platform/uikit/uikit.h"

#include <benchmark/benchmark.h>

namespace {

struct PlayerTree {
    Ref<UIWindow> cover;
    Ref<UIView> vey;
    std::size_t views = 0, constraints = 0;

    Ref<UIView> add(UIView* parent) {
        auto v = UIView::make();
        v->setTranslatesAutoresizingMaskIntoConstraints(false);
        parent->addSubview(v);
        views++;
        return v;
    }
    void on(Ref<NSLayoutConstraint> c) {
        c->setActive(true);
        constraints++;
    }
    void icon(UIView* button) {
        auto icon = UIView::make(button->bounds());
        icon->setAutoresizingMask(18);
        button->addSubview(icon);
        views++;
    }

    PlayerTree() {
        const double W = 390;
        cover = UIView::make<UIWindow>(CGRectMake(0, 0, W, 844));
        vey = UIView::make(CGRectMake(0, 285.9, W, 425.5));
        vey->setAutoresizingMask(18);
        cover->addSubview(vey);
        views = 2;
        auto source = add(vey);
        on(source->widthAnchor()->constraintEqualToConstant(W));
        on(source->heightAnchor()->constraintEqualToConstant(0.057 * W));
        on(source->centerXAnchor()->constraintEqualToAnchor(vey->centerXAnchor()));
        on(source->centerYAnchor()->constraintEqualToAnchor(cover->bottomAnchor(), -22));
        UIView* previous = source;
        // Rows of buttons chained off each other, each with an icon inside.
        for (int row = 0; row < 5; row++) {
            auto centre = add(vey);
            on(centre->widthAnchor()->constraintEqualToConstant(0.1 * W));
            on(centre->heightAnchor()->constraintEqualToConstant(0.1 * W));
            on(centre->centerXAnchor()->constraintEqualToAnchor(vey->centerXAnchor()));
            on(centre->centerYAnchor()->constraintEqualToAnchor(previous->topAnchor(), -20));
            icon(centre);
            for (int side : {-1, 1}) {
                auto b = add(vey);
                on(b->widthAnchor()->constraintEqualToConstant(0.125 * W));
                on(b->heightAnchor()->constraintEqualToConstant(0.125 * W));
                on(b->centerXAnchor()->constraintEqualToAnchor(
                    side < 0 ? centre->leftAnchor() : centre->rightAnchor(), side * 0.12 * W));
                on(b->centerYAnchor()->constraintEqualToAnchor(centre->centerYAnchor()));
                icon(b);
            }
            // A label across the row, on the grandparent's edges.
            auto label = add(vey);
            on(label->leadingAnchor()->constraintEqualToAnchor(cover->leadingAnchor(), 28));
            on(label->trailingAnchor()->constraintEqualToAnchor(cover->trailingAnchor(), -28));
            on(label->heightAnchor()->constraintEqualToConstant(28));
            on(label->centerYAnchor()->constraintEqualToAnchor(centre->topAnchor(), -44));
            previous = label;
        }
        UIViewRunPendingLayout();
    }
};

// Everything moves: the cover sheet changes width, so each pass re-solves and re-frames.
void BM_LayoutPassResize(benchmark::State& state) {
    PlayerTree tree;
    bool wide = false;
    for (auto _ : state) {
        wide = !wide;
        tree.cover->setFrame(CGRectMake(0, 0, wide ? 391 : 390, 844));
        UIViewRunPendingLayout();
    }
    state.counters["views"] = double(tree.views);
    state.counters["constraints"] = double(tree.constraints);
}
BENCHMARK(BM_LayoutPassResize)->Unit(benchmark::kMicrosecond);

// A pass that finds nothing to move (a hook marked the cover sheet).
void BM_LayoutPassUnchanged(benchmark::State& state) {
    PlayerTree tree;
    for (auto _ : state) {
        tree.cover->setNeedsLayout();
        UIViewRunPendingLayout();
    }
}
BENCHMARK(BM_LayoutPassUnchanged)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
