// Layout passes as UIKit runs them. Marking a view (setNeedsLayout, a subview added or removed,
// a bounds size change, a constraint activated or changed) registers it; after the main-queue
// turn in which that happened the host runs a pass over the marked part of each tree, top
// down: Auto Layout is solved for the tree, the superviews of views whose solved frame changed
// are marked, and each marked view is sent layoutSubviews through the runtime, parents before
// children. A view is laid out at most once per pass; marks made after that wait for the next
// pass, and at most a few passes run per turn, so a view that marks itself in every
// layoutSubviews cannot hang the queue. Reading a frame never runs layout.
#pragma once

#include <cstdint>

// Runs the pending layout passes now (what the end of a main-queue turn does).
void UIViewRunPendingLayout();
// The end-of-turn work (layout passes, then the rest of the main queue's turn observers and
// the autorelease pool), for work the host did outside a main-queue task.
void UIKitEndTurn();
// Installs the turn observer again after MainQueue::reset() dropped it (tests).
void UIKitInstallTurnObserver();
