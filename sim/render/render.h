// The renderer: draws what the screen shows — the presentation state of view trees at a moment
// of the virtual clock — into bitmaps and PNG files, at the device's scale, on Cairo.
//
// Output is deterministic: the same tree at the same virtual time gives the same pixels and the
// same PNG bytes.
#pragma once

#include "platform/graphics/bitmap.h"
#include "platform/graphics/codec.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class UIView;

struct RenderOptions {
    // Pixels per point; 0 takes the main screen's scale. Accepted: 0 < scale <= 4.
    double scale = 0;
    // Virtual time in nanoseconds; negative takes the main queue's current time.
    std::int64_t now = -1;
    // Bitmaps scaled bilinearly, for a preview that must keep up with the real clock.
    bool quickImages = false;
};

// Draws `root` and its subtree in the root's bounds (the root's own position and transform are
// ignored; its alpha and hidden flag are not). Nil with a message in `error` for a nil root,
// an empty or over-limit size or a scale out of range.
CGImageRef renderView(UIView* root, RenderOptions options = {}, std::string* error = nullptr);

// Draws the screen: black, then every visible window of the application in the order they were
// shown, at their place on the screen.
CGImageRef renderScreen(RenderOptions options = {}, std::string* error = nullptr);

// Whether a screen of `width` x `height` points at `scale` fits in a bitmap the renderer can
// make (the platform's image limits).
bool screenSizeRenderable(double width, double height, double scale);

// Writes `bytes` under a temporary name beside `path`, then renames it into place, so that a
// failed write (a full disk, a folder in the way) never leaves a cut file under the name. False
// with "cannot write PATH: the system's reason" in `error`.
bool writeOutputFile(const std::string& path, std::string_view bytes, std::string* error);

// Writes a bitmap as PNG, the way writeOutputFile writes.
bool writePNG(const CGImageRef& image, const std::string& path, std::string* error);
// How writePNG compresses: fast unless the smallest files are asked for.
void renderSetPNGCompression(PNGCompression compression);

// `snapshot FILE`: renders `root` (nil: the whole screen) at the main queue's current time and
// writes it to `path`. *writeFailed tells a failed write from a picture that cannot be made.
bool renderSnapshot(UIView* root, double scale, const std::string& path, std::string* error,
                    bool* writeFailed = nullptr);

// `film PREFIX SECONDS FPS`: renders PREFIX-0001.png, PREFIX-0002.png, ... while the main queue
// advances `seconds` at `fps` frames per second: the first frame shows the current time, each
// next one 1/fps later, and the clock stands `seconds` later when it returns (also after a
// failed write). Root nil draws the whole screen. Rejects seconds outside (0, 600], fps outside
// (0, 120] and more than 3600 frames. A prefix ending in ".webp" writes that one animated file
// instead (film_file.h), only once every frame is in. The paths written are added to `frames`
// when given; *writeFailed is set when a frame could not be written.
bool renderFilm(UIView* root, double scale, const std::string& prefix, double seconds, double fps,
                std::string* error, std::vector<std::string>* frames = nullptr,
                bool* writeFailed = nullptr);

// Lets cross-dissolve transitions show the content they replace: from now on each
// transitionWithView: keeps a record of the view's drawable state as it was (no pixels; they
// are made only if a picture falls inside the transition). Idempotent; rendering works without
// it, but transitions started before it show only the new content.
void renderInstallTransitionSnapshots();

// Called with the frame's number and the film's frame count as each film frame is drawn, for a
// progress line; nil for none.
void setFilmProgress(std::function<void(long frame, long count)> progress);
