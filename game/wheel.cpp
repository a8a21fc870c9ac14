#include "game/wheel.h"

#include <chrono>
#include <cstring>
#include <ctime>

namespace morvik {

namespace {

constexpr std::uint64_t splitmix64(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

} // namespace

void WheelRandom::seed(float seed)
{
    // memcpy rather than std::bit_cast: the browser build's C++ library has none.
    std::uint32_t pattern = 0;
    static_assert(sizeof pattern == sizeof seed);
    std::memcpy(&pattern, &seed, sizeof pattern);
    std::uint64_t bits = pattern;
    state = splitmix64(bits);
}

float WheelRandom::next()
{
    // 24 bits are exactly what a float holds below 1, so the result can never
    // round up to 1.
    const std::uint64_t top = splitmix64(state) >> 40;
    return static_cast<float>(top) * 0x1.0p-24f;
}

float LocalClock::timeOfDay()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const std::tm local = *std::localtime(&seconds);
    return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec)
        + duration<float>(now - system_clock::from_time_t(seconds)).count();
}

} // namespace morvik
