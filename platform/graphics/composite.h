// Compositing a bitmap onto a bitmap context's pixels at whole-pixel positions without
// resampling, for the blend modes the artwork path uses (normal and screen, with an opacity).
// Cairo handles every other case.
#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/pixels.h"

// Composites `src` with its top-left pixel at (at.x, at.y) of `dst` (a packed surface of
// dstWidth x dstHeight pixels), clipped to the surface. `screen` selects the screen blend,
// otherwise source-over; `alpha` scales the source first. `dstClear`: every pixel of dst is
// transparent; `dstBlack`: every pixel of dst is opaque black.
void compositeAligned(std::uint32_t* dst, int dstWidth, int dstHeight, const CGImage& src,
                      PixelRect at, bool screen, double alpha, bool dstClear,
                      bool dstBlack = false);
