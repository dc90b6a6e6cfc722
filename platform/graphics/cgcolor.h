// A colour as drawing takes it: RGBA components in 0...1.
#pragma once

struct CGColor {
    double r = 0, g = 0, b = 0, a = 0;
    bool operator==(const CGColor&) const = default;
};
using CGColorRef = const CGColor*;
