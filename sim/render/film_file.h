// A film as one file: frames gathered into a looping animated WebP that browsers play.
#pragma once

#include "platform/graphics/bitmap.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Whether `prefix` names one animated file (it ends in ".webp") rather than a frame sequence.
bool filmIsAnimatedFile(const std::string& prefix);

// Lossy frames at a fixed quality, single-threaded, so equal frames give equal bytes.
class AnimatedWebP {
  public:
    AnimatedWebP();
    ~AnimatedWebP();
    AnimatedWebP(const AnimatedWebP&) = delete;
    AnimatedWebP& operator=(const AnimatedWebP&) = delete;

    // Adds a frame shown from `timestampMs` on; every frame must have the first one's size and
    // timestamps must not go back. False with a message in `error` otherwise.
    bool add(const CGImage& frame, int timestampMs, std::string* error);
    // The file's bytes, the last frame shown until `endMs`; empty with a message when no frame
    // was added or encoding fails.
    std::vector<std::uint8_t> finish(int endMs, std::string* error);

  private:
    struct Encoder;
    std::unique_ptr<Encoder> encoder_;
};

// Writes `bytes` to a temporary name beside `path` and renames it, so `path` is either whole or
// untouched.
bool writeFileAtomically(const std::string& path, const std::vector<std::uint8_t>& bytes,
                         std::string* error);
