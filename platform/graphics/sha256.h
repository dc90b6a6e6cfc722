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
    void blocks(const std::uint8_t* data, std::size_t count);
    std::uint32_t state_[8];
    std::uint8_t buffer_[64];
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;
};

Digest256 sha256(const void* data, std::size_t length);
