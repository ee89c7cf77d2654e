#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

// 64-bit FNV-1a: a fixed, portable fingerprint of bytes. Replays store these values, so the
// algorithm and the byte order of the integer helpers must never change.
class THash64 {
public:
    void AddBytes(const void* data, size_t count);
    void AddText(std::string_view text) { AddBytes(text.data(), text.size()); }
    // Four bytes, little-endian whatever the machine.
    void AddInt(int32_t value);
    uint64_t Value() const { return state_; }

private:
    uint64_t state_ = 0xcbf29ce484222325ull;
};
