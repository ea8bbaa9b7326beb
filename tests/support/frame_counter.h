// The record the frame counter (tests/fixtures/frame_counter.cpp, preloaded
// into a program a test starts) keeps in the file named by
// ORVELL_FRAME_COUNTER: the number of frames the program has shown.
#pragma once

#include <atomic>
#include <cstdint>

constexpr const char* FRAME_COUNTER_VARIABLE = "ORVELL_FRAME_COUNTER";

struct frame_counter_record {
    std::atomic<uint64_t> swaps;
};
static_assert(std::atomic<uint64_t>::is_always_lock_free, "the count is shared between processes");
