// CGPath (a list of path elements in points) and UIBezierPath, which makes and owns one.
#pragma once

#include "platform/graphics/geometry.h"
#include "platform/runtime/runtime.h"

#include <vector>

struct CGPathElement {
    enum Type { MoveTo, LineTo, CurveTo, Close } type;
    // MoveTo/LineTo: points[0]; CurveTo: two control points then the end point.
    CGPoint points[3];
};

struct CGPath {
    std::vector<CGPathElement> elements;
    void moveTo(CGPoint p) { elements.push_back({CGPathElement::MoveTo, {p, {}, {}}}); }
    void lineTo(CGPoint p) { elements.push_back({CGPathElement::LineTo, {p, {}, {}}}); }
    void curveTo(CGPoint c1, CGPoint c2, CGPoint p) {
        elements.push_back({CGPathElement::CurveTo, {c1, c2, p}});
    }
    void close() { elements.push_back({CGPathElement::Close, {}}); }
};
using CGPathRef = const CGPath*;

// The smallest rectangle holding every point of the path, control points included.
CGRect CGPathGetBoundingBox(CGPathRef path);

class UIBezierPath : public NSObject {
    VEY_CLASS(UIBezierPath)
  public:
    static Ref<UIBezierPath> bezierPathWithRect(CGRect rect);
    // Circular corners; a radius over half the shorter side is drawn as that half, as the
    // platform does. The requested radius stays readable.
    static Ref<UIBezierPath> bezierPathWithRoundedRect(CGRect rect, CGFloat cornerRadius);
    CGPathRef CGPath() const { return &path_; }
    CGRect bounds() const { return CGPathGetBoundingBox(&path_); }
    CGFloat cornerRadius() const { return cornerRadius_; }

  private:
    struct CGPath path_;
    CGFloat cornerRadius_ = 0;
};
