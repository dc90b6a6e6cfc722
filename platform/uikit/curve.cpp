// Timing curves: cubic Bezier curves as CoreAnimation defines them, and springs.
#include "platform/uikit/animation.h"

#include <algorithm>
#include <cmath>

UIAnimationCurve UIAnimationCurve::fromOptions(UIViewAnimationOptions options) {
    UIAnimationCurve c;
    switch ((options >> 16) & 3) {
    case 1: // ease in
        c.x1 = 0.42, c.y1 = 0, c.x2 = 1, c.y2 = 1;
        break;
    case 2: // ease out
        c.x1 = 0, c.y1 = 0, c.x2 = 0.58, c.y2 = 1;
        break;
    case 3: // linear
        c.x1 = 0, c.y1 = 0, c.x2 = 1, c.y2 = 1;
        break;
    default: // ease in-out
        break;
    }
    return c;
}

UIAnimationCurve UIAnimationCurve::spring(double dampingRatio) {
    UIAnimationCurve c;
    c.kind = Kind::Spring;
    c.damping = std::isfinite(dampingRatio) ? dampingRatio : 1;
    return c;
}

namespace {

double bezier(double p1, double p2, double s) {
    double u = 1 - s;
    return 3 * u * u * s * p1 + 3 * u * s * s * p2 + s * s * s;
}

double bezierSlope(double p1, double p2, double s) {
    double u = 1 - s;
    return 3 * u * u * p1 + 6 * u * s * (p2 - p1) + 3 * s * s * (1 - p2);
}

// The curve parameter whose x is t: Newton's method, falling back to bisection.
double solveX(double x1, double x2, double t) {
    double s = t;
    for (int i = 0; i < 8; i++) {
        double err = bezier(x1, x2, s) - t;
        if (std::fabs(err) < 1e-12) return s;
        double d = bezierSlope(x1, x2, s);
        if (std::fabs(d) < 1e-9) break;
        s -= err / d;
    }
    double lo = 0, hi = 1;
    s = t;
    for (int i = 0; i < 60; i++) {
        double x = bezier(x1, x2, s);
        if (std::fabs(x - t) < 1e-12) break;
        (x < t ? lo : hi) = s;
        s = (lo + hi) / 2;
    }
    return s;
}

// A spring settled at the end of the animation. Critically damped or slower (ratio >= 1): the
// critically damped response, scaled to reach exactly 1 at the end, so it never overshoots.
// Under-damped: oscillation whose envelope has decayed to 0.1% by the end.
double springProgress(double damping, double t) {
    if (damping >= 1) {
        constexpr double k = 10;
        auto raw = [](double u) { return 1 - (1 + k * u) * std::exp(-k * u); };
        return raw(t) / raw(1);
    }
    double zeta = std::max(damping, 0.05);
    double decay = 6.907755; // -ln(0.001)
    double omega = decay / zeta;
    double wd = omega * std::sqrt(1 - zeta * zeta);
    return 1 - std::exp(-decay * t) * (std::cos(wd * t) + decay / wd * std::sin(wd * t));
}

} // namespace

double UIAnimationCurve::progress(double t) const {
    if (!(t > 0)) return 0;
    if (t >= 1) return 1;
    if (kind == Kind::Spring) return springProgress(damping, t);
    return bezier(y1, y2, solveX(x1, x2, t));
}

double UIPropertyAnimation::progressAt(std::int64_t now) const {
    if (now < begin) return 0;
    if (now >= end() || duration <= 0) return 1;
    return curve.progress(double(now - begin) / double(duration));
}

double UIViewTransition::progressAt(std::int64_t now) const {
    if (now < begin) return 0;
    if (now >= begin + duration || duration <= 0) return 1;
    return curve.progress(double(now - begin) / double(duration));
}
