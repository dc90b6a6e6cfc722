// System symbols as vector shapes of our own: each is designed in a box one unit high and as
// wide as its aspect ratio, and drawn stretched to the rectangle it is given, as a symbol image
// stretched by its image view would be.
#pragma once

#include "platform/graphics/geometry.h"
#include "platform/uikit/color.h"

#include <cairo.h>
#include <string_view>

class UIImage;

namespace render {

// The size a symbol image shows at: its configuration's point size (17 without one) and scale
// (small, medium, large), in the symbol's own proportions.
CGSize symbolNaturalSize(const UIImage* image);
// Whether the name is one the renderer draws (others show an empty rounded square).
bool isKnownSymbol(std::string_view name);
// Fills `rect` with the symbol in `color` at `alpha`; strokes follow the configuration's weight.
void drawSymbol(cairo_t* cr, const UIImage* image, CGRect rect, const CGColor& color, double alpha);

} // namespace render
