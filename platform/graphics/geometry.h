// CoreGraphics geometry: points, sizes, rectangles and affine transforms.
#pragma once

#include <cmath>

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0, y = 0;
    bool operator==(const CGPoint&) const = default;
};
struct CGSize {
    CGFloat width = 0, height = 0;
    bool operator==(const CGSize&) const = default;
};
struct CGRect {
    CGPoint origin;
    CGSize size;
    bool operator==(const CGRect&) const = default;
};

inline CGPoint CGPointMake(CGFloat x, CGFloat y) {
    return {x, y};
}
inline CGSize CGSizeMake(CGFloat w, CGFloat h) {
    return {w, h};
}
inline CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat w, CGFloat h) {
    return {{x, y}, {w, h}};
}
constexpr CGRect CGRectZero{};
// The null rectangle: what is left of one inset past its size.
constexpr CGRect CGRectNull{{INFINITY, INFINITY}, {0, 0}};
inline bool CGRectIsNull(CGRect r) {
    return std::isinf(r.origin.x) && std::isinf(r.origin.y);
}

// Rectangles with a negative size are read as the platform reads them: standardised.
inline CGFloat CGRectGetMinX(CGRect r) {
    return std::fmin(r.origin.x, r.origin.x + r.size.width);
}
inline CGFloat CGRectGetMaxX(CGRect r) {
    return std::fmax(r.origin.x, r.origin.x + r.size.width);
}
inline CGFloat CGRectGetMinY(CGRect r) {
    return std::fmin(r.origin.y, r.origin.y + r.size.height);
}
inline CGFloat CGRectGetMaxY(CGRect r) {
    return std::fmax(r.origin.y, r.origin.y + r.size.height);
}
inline CGFloat CGRectGetMidX(CGRect r) {
    return r.origin.x + r.size.width / 2;
}
inline CGFloat CGRectGetMidY(CGRect r) {
    return r.origin.y + r.size.height / 2;
}
inline CGFloat CGRectGetWidth(CGRect r) {
    return std::fabs(r.size.width);
}
inline CGFloat CGRectGetHeight(CGRect r) {
    return std::fabs(r.size.height);
}
// The standardised rectangle moved in by dx on the left and right and dy at the top and bottom
// (out for negative values); the null rectangle when that leaves a negative width or height.
inline CGRect CGRectInset(CGRect r, CGFloat dx, CGFloat dy) {
    CGRect inset = {{CGRectGetMinX(r) + dx, CGRectGetMinY(r) + dy},
                    {CGRectGetWidth(r) - 2 * dx, CGRectGetHeight(r) - 2 * dy}};
    return inset.size.width < 0 || inset.size.height < 0 ? CGRectNull : inset;
}

struct CGAffineTransform {
    CGFloat a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
    bool operator==(const CGAffineTransform&) const = default;
};
constexpr CGAffineTransform CGAffineTransformIdentity{};

inline CGAffineTransform CGAffineTransformMake(CGFloat a, CGFloat b, CGFloat c, CGFloat d,
                                               CGFloat tx, CGFloat ty) {
    return {a, b, c, d, tx, ty};
}
inline CGAffineTransform CGAffineTransformMakeTranslation(CGFloat tx, CGFloat ty) {
    return {1, 0, 0, 1, tx, ty};
}
inline CGAffineTransform CGAffineTransformMakeScale(CGFloat sx, CGFloat sy) {
    return {sx, 0, 0, sy, 0, 0};
}
// t1 then t2.
inline CGAffineTransform CGAffineTransformConcat(CGAffineTransform t1, CGAffineTransform t2) {
    return {t1.a * t2.a + t1.b * t2.c,           t1.a * t2.b + t1.b * t2.d,
            t1.c * t2.a + t1.d * t2.c,           t1.c * t2.b + t1.d * t2.d,
            t1.tx * t2.a + t1.ty * t2.c + t2.tx, t1.tx * t2.b + t1.ty * t2.d + t2.ty};
}
// Scale applied before t, as CoreGraphics does.
inline CGAffineTransform CGAffineTransformScale(CGAffineTransform t, CGFloat sx, CGFloat sy) {
    return CGAffineTransformConcat(CGAffineTransformMakeScale(sx, sy), t);
}
inline bool CGAffineTransformIsIdentity(CGAffineTransform t) {
    return t == CGAffineTransformIdentity;
}
inline CGPoint CGPointApplyAffineTransform(CGPoint p, CGAffineTransform t) {
    return {t.a * p.x + t.c * p.y + t.tx, t.b * p.x + t.d * p.y + t.ty};
}
// The bounding box of the transformed rectangle.
inline CGRect CGRectApplyAffineTransform(CGRect r, CGAffineTransform t) {
    CGPoint p[4] = {CGPointApplyAffineTransform({CGRectGetMinX(r), CGRectGetMinY(r)}, t),
                    CGPointApplyAffineTransform({CGRectGetMaxX(r), CGRectGetMinY(r)}, t),
                    CGPointApplyAffineTransform({CGRectGetMinX(r), CGRectGetMaxY(r)}, t),
                    CGPointApplyAffineTransform({CGRectGetMaxX(r), CGRectGetMaxY(r)}, t)};
    CGFloat x0 = p[0].x, x1 = p[0].x, y0 = p[0].y, y1 = p[0].y;
    for (auto& q : p) {
        x0 = std::fmin(x0, q.x), x1 = std::fmax(x1, q.x);
        y0 = std::fmin(y0, q.y), y1 = std::fmax(y1, q.y);
    }
    return {{x0, y0}, {x1 - x0, y1 - y0}};
}
