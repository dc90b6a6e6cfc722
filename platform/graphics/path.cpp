#include "platform/graphics/path.h"

#include <algorithm>
#include <cmath>

VEY_CLASS_IMPL(UIBezierPath, NSObject::cls(), [](Class) {})

CGRect CGPathGetBoundingBox(CGPathRef path) {
    if (!path || path->elements.empty()) return CGRectZero;
    double x0 = INFINITY, y0 = INFINITY, x1 = -INFINITY, y1 = -INFINITY;
    for (auto& e : path->elements) {
        int n = e.type == CGPathElement::CurveTo ? 3 : e.type == CGPathElement::Close ? 0 : 1;
        for (int i = 0; i < n; ++i) {
            x0 = std::min(x0, e.points[i].x), x1 = std::max(x1, e.points[i].x);
            y0 = std::min(y0, e.points[i].y), y1 = std::max(y1, e.points[i].y);
        }
    }
    return {{x0, y0}, {x1 - x0, y1 - y0}};
}

Ref<UIBezierPath> UIBezierPath::bezierPathWithRect(CGRect r) {
    auto p = alloc<UIBezierPath>();
    double x0 = CGRectGetMinX(r), y0 = CGRectGetMinY(r);
    double x1 = CGRectGetMaxX(r), y1 = CGRectGetMaxY(r);
    p->path_.moveTo({x0, y0});
    p->path_.lineTo({x1, y0});
    p->path_.lineTo({x1, y1});
    p->path_.lineTo({x0, y1});
    p->path_.close();
    return p;
}

Ref<UIBezierPath> UIBezierPath::bezierPathWithRoundedRect(CGRect r, CGFloat cornerRadius) {
    double x0 = CGRectGetMinX(r), y0 = CGRectGetMinY(r);
    double x1 = CGRectGetMaxX(r), y1 = CGRectGetMaxY(r);
    double radius = std::clamp(cornerRadius, 0.0, std::min(x1 - x0, y1 - y0) / 2);
    if (!(radius > 0)) {
        auto p = bezierPathWithRect(r);
        p->cornerRadius_ = cornerRadius;
        return p;
    }
    auto p = alloc<UIBezierPath>();
    p->cornerRadius_ = cornerRadius;
    // Quarter circles as cubic curves (control points at 0.5523 of the radius).
    const double k = radius * (1 - 0.5522847498307936);
    auto& path = p->path_;
    path.moveTo({x0 + radius, y0});
    path.lineTo({x1 - radius, y0});
    path.curveTo({x1 - k, y0}, {x1, y0 + k}, {x1, y0 + radius});
    path.lineTo({x1, y1 - radius});
    path.curveTo({x1, y1 - k}, {x1 - k, y1}, {x1 - radius, y1});
    path.lineTo({x0 + radius, y1});
    path.curveTo({x0 + k, y1}, {x0, y1 - k}, {x0, y1 - radius});
    path.lineTo({x0, y0 + radius});
    path.curveTo({x0, y0 + k}, {x0 + k, y0}, {x0 + radius, y0});
    path.close();
    return p;
}
