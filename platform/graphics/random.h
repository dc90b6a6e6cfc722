// The platform's pseudo-random numbers and wall clock. Both can be replaced so that tests (and
// the simulator) get fixed values.
#pragma once

#include <cstdint>
#include <functional>

// Seconds since the epoch (the system clock unless replaced).
std::int64_t platformWallClockSeconds();
// Replaces the wall clock; nullptr restores the system clock.
void setPlatformWallClock(std::function<std::int64_t()> clock);

// Seeds the generator (as srandom does).
void platformSeedRandom(std::uint32_t seed);
// The next number, 0 ... 2147483647.
std::int64_t platformRandom();
// Replaces the generator; nullptr restores the seeded one.
void setPlatformRandom(std::function<std::int64_t()> source);
