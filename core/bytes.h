#pragma once
// Whole-block byte checks.
#include <cstddef>
#include <cstdint>
#include <cstring>

// Whether every byte of the block is 0. Reading a block of the program's
// image that was never written takes no memory for it, so a caller can skip
// clearing what is already clear.
inline bool UTIL_all_zero(const void* block, size_t count)
{
    const auto* bytes = static_cast<const uint8_t*>(block);
    uint64_t any = 0;
    for (size_t i = 0; i + 8 <= count; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, 8);
        any |= word;
    }
    for (size_t i = count & ~size_t(7); i < count; ++i) any |= bytes[i];
    return any == 0;
}
