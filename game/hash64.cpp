#include "game/hash64.h"

namespace {
constexpr uint64_t FnvPrime = 0x100000001b3ull;
} // namespace

void THash64::AddBytes(const void* data, size_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < count; ++i) {
        state_ ^= bytes[i];
        state_ *= FnvPrime;
    }
}

void THash64::AddInt(int32_t value)
{
    const auto u = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                              static_cast<uint8_t>(u >> 24)};
    AddBytes(bytes, sizeof bytes);
}

void THash64::AddWord(uint64_t word)
{
    state_ = (state_ ^ word) * FnvPrime;
    state_ ^= state_ >> 32;
}
