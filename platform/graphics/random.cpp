#include "platform/graphics/random.h"

#include <ctime>

namespace {
struct Sources {
    std::function<std::int64_t()> clock;
    std::function<std::int64_t()> random;
    std::uint64_t state = 0x9e3779b97f4a7c15ull;
};
Sources& sources() {
    static Sources s;
    return s;
}
} // namespace

std::int64_t platformWallClockSeconds() {
    auto& s = sources();
    return s.clock ? s.clock() : std::int64_t(std::time(nullptr));
}

void setPlatformWallClock(std::function<std::int64_t()> clock) {
    sources().clock = std::move(clock);
}

void platformSeedRandom(std::uint32_t seed) {
    sources().state = 0x9e3779b97f4a7c15ull ^ (std::uint64_t(seed) * 0xbf58476d1ce4e5b9ull);
}

std::int64_t platformRandom() {
    auto& s = sources();
    if (s.random) return s.random();
    // splitmix64, top 31 bits.
    std::uint64_t z = (s.state += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    z ^= z >> 31;
    return std::int64_t(z >> 33);
}

void setPlatformRandom(std::function<std::int64_t()> source) {
    sources().random = std::move(source);
}
