// Helpers for the renderer's tests: reading pixels, making images, golden comparisons.
#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/uikit/uikit.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace rendertest {

struct RGBA {
    int r = 0, g = 0, b = 0, a = 0;
};
std::ostream& operator<<(std::ostream& out, RGBA c);
inline const RGBA kWhite{255, 255, 255, 255}, kBlack{0, 0, 0, 255}, kRed{255, 0, 0, 255},
    kBlue{0, 0, 255, 255};

// The straight colour of a pixel (transparent black outside the image).
RGBA pixel(const CGImageRef& image, int x, int y);
// Every channel within `tolerance`.
::testing::AssertionResult near(RGBA actual, RGBA expected, int tolerance = 2);
// Each listed pixel near its colour.
struct Probe {
    int x, y;
    RGBA colour;
    int tolerance = 2;
};
::testing::AssertionResult shows(const CGImageRef& image, const std::vector<Probe>& probes);

// A bitmap image of w x h pixels at `scale`, coloured by `colour(x, y)` (straight RGBA).
Ref<UIImage> makeImage(int w, int h, double scale, const std::function<RGBA(int, int)>& colour);
// A plain view with a frame and a background colour; addBox adds it to `parent`.
Ref<UIView> box(CGRect frame, RGBA colour);
UIView* addBox(UIView* parent, CGRect frame, RGBA colour);

// Renders `root` at the main queue's current time (fails the test on an error).
CGImageRef shot(UIView* root, double scale = 1);
bool samePixels(const CGImageRef& a, const CGImageRef& b);

// The smallest rectangle of pixels that differ from `background` by more than `tolerance`
// (empty when none do), and how many such pixels there are.
struct Ink {
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0; // x1, y1 exclusive
    long count = 0;
    double midX() const { return (x0 + x1) / 2.0; }
    double midY() const { return (y0 + y1) / 2.0; }
};
Ink inkOf(const CGImageRef& image, RGBA background = kWhite, int tolerance = 24);

// Compares with tests/render/golden/<name>.png: each channel may differ by a few steps, and a
// small share of pixels by more. A mismatch writes the actual and difference images to
// render-golden-out/; VEY_RECORD_GOLDEN=1 writes the golden instead.
::testing::AssertionResult matchesGolden(const CGImageRef& image, const std::string& name);

} // namespace rendertest
