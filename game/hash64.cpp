#include "game/hash64.h"

void THash64::AddBytes(const void* data, size_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (size_t i = 0; i < count; ++i) {
        state_ ^= bytes[i];
        state_ *= 0x100000001b3ull;
    }
}

void THash64::AddInt(int32_t value)
{
    const auto u = static_cast<uint32_t>(value);
    const uint8_t bytes[4] = {static_cast<uint8_t>(u), static_cast<uint8_t>(u >> 8), static_cast<uint8_t>(u >> 16),
                              static_cast<uint8_t>(u >> 24)};
    AddBytes(bytes, sizeof bytes);
}
