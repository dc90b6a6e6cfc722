// Host objects as the dump shows them: colours, images, views.
#pragma once

#include "sim/json.h"

#include <string>
#include <utility>
#include <vector>

class NSObject;
class UIColor;
class UIImage;
class UIView;
struct CGColor;

namespace sim {

Json colorJson(const UIColor* color); // [r, g, b, a] or null
Json colorJson(const struct CGColor* color);
// {"width", "height"} in points, plus "symbol" and "template" when `detailed`; null for nil.
Json imageJson(const UIImage* image, bool detailed);
// An image as imageJson, a colour as colorJson, an array element by element, any other
// object as its class name; null for nil.
Json objectJson(NSObject* object);

// Names the dump gives to views: the attached property that holds them.
using ViewNames = std::vector<std::pair<const UIView*, std::string>>;

// A view's class, frame (from centre and bounds, as of the last layout pass), hidden, alpha,
// transform, presentation (alpha, transform and frame as they show now), superview (its property
// name when it has one, else its class), text and its colour, effective tint, image, layer corner
// radius and border, font, content mode. Members that do not apply are null. Null for nil.
Json viewJson(UIView* view, const ViewNames& names);
// Adds "outlineWidth" and "outlineColor", read through the view's runtime getters of those
// names (null when it has none).
void addOutline(Json& out, UIView* view);

} // namespace sim
