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
    // A whole 64-bit word in one step, for data hashed every frame: the FNV step on the word,
    // then its high half folded into the low half so every bit of the word reaches every bit
    // of the result. Not FNV-1a of the word's bytes.
    void AddWord(uint64_t word);
    uint64_t Value() const { return state_; }

private:
    uint64_t state_ = 0xcbf29ce484222325ull;
};
