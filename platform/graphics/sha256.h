// SHA-256, using the processor's SHA instructions when it has them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

using Digest256 = std::array<std::uint8_t, 32>;

class Sha256 {
  public:
    Sha256();
    void update(const void* data, std::size_t length);
    Digest256 finish();
    // The portable block function even where the processor's is available (tests).
    static void forcePortable(bool portable);

  private:
    friend class Sha256Tree;
    void blocks(const std::uint8_t* data, std::size_t count);
    std::uint32_t state_[8];
    std::uint8_t buffer_[64];
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;
};

Digest256 sha256(const void* data, std::size_t length);

// A tree of SHA-256 for long inputs: 64-byte blocks are dealt round-robin to four SHA-256
// lanes that the processor runs side by side, and the result is the SHA-256 of the four lane
// digests. As collision-resistant as SHA-256 itself, about four times faster on large data.
class Sha256Tree {
  public:
    void update(const void* data, std::size_t length);
    Digest256 finish();

  private:
    Sha256 lanes_[4];
    std::uint8_t buffer_[256];
    std::size_t buffered_ = 0;
};
