// The two blurs behind CIGaussianBlur and CIMotionBlur, written for speed: integer running
// sums, no per-pixel allocation, loops the compiler vectorises. Both read transparent pixels
// outside their source and compute exactly the destination rectangle asked for, so a caller
// that needs only part of the result pays only for that part.
#pragma once

#include "platform/graphics/pixels.h"

#include <functional>

// How far a Gaussian of standard deviation `sigma` spreads beyond its input: ceil(3 sigma).
int gaussianSpread(double sigma);
// Gaussian blur of standard deviation `sigma` pixels (at most 100). Sigmas under 4 use the
// exact kernel; larger ones three box passes of matched variance: within 2/255 of the exact
// Gaussian on photographs, within 4/255 where an opaque edge meets the transparent margin.
// Returns false when `dst` has no pixels.
bool gaussianBlur(const PixelView& src, double sigma, PixelBuffer& dst);
// The exact separable Gaussian (kernel cut at 3 sigma), for tests and small sigmas.
bool gaussianBlurExact(const PixelView& src, double sigma, PixelBuffer& dst);
// What gaussianBlur writes over `rect`, a row at a time from the top: row(y) says where row y
// goes and done(y) follows once it is there, so that no buffer for the whole is needed.
bool gaussianBlurRows(const PixelView& src, double sigma, PixelRect rect,
                      const std::function<std::uint32_t*(int y)>& row,
                      const std::function<void(int y)>& done);

// The motion blur's taps: a run of 2n + 1 pixels along the major axis of the direction, each
// offset on the minor axis by the line through the centre (rounded to a whole pixel).
struct MotionKernel {
    bool horizontal = true;        // major axis x
    int n = 0;                     // taps -n ... n
    int offsets[2 * 512 + 1] = {}; // minor-axis offset of tap i - n (y down for x-major)
    int spreadX = 0, spreadY = 0;  // pixels the kernel reaches beyond its input
};
// A box of ± radius along the direction `angle` (radians, counter-clockwise with y up, as the
// platform's filter measures it). Radii are capped at 512.
MotionKernel motionKernel(double radius, double angle);
bool motionBlur(const PixelView& src, const MotionKernel& kernel, PixelBuffer& dst);
// The Gaussian, then the motion blur, over exactly `dst`: the pixels of the two in turn, with
// the Gaussian's rows streamed through a few rows of memory instead of a whole buffer.
bool gaussianThenMotionBlur(const PixelView& src, double sigma, const MotionKernel& kernel,
                            PixelBuffer& dst);
