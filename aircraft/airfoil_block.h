// The airfoil block of one lifting part: per end (0 root, 1 tip) and per member
// (0 and 1, the two Reynolds numbers of one end) the fitted curve values and the
// lift, drag and moment tables over the 721-row angle-of-attack grid.
//
// The aircraft record holds one block for each of parts 0..43; its layout is
// published and therefore fixed byte for byte. Pairs and tables are end-major:
// entry [end][member] at end * 2 + member, table entry [end][member][i] at
// (end * 2 + member) * AFL_ROWS + i.
#pragma once

#include <cstddef>

// The angle-of-attack grid.
constexpr int AFL_ROWS = 721;         // rows 0..720
constexpr int AFL_ROW_ZERO = 360;     // row of 0 degrees
constexpr int AFL_FINE_HALF = 200;    // rows 160..560 step 0.1 degree (-20.0..+20.0)
constexpr int AFL_ENDS = 2;           // 0 root, 1 tip
constexpr int AFL_MEMBERS = 2;        // two files (Reynolds numbers) per end
constexpr int AFL_TABLES = AFL_ENDS * AFL_MEMBERS;
constexpr int AFL_PARTS = 44;         // parts 0..43 carry airfoils

// Angle in degrees that row i (0..720) stands for: -180..-21 in 1-degree steps,
// -20.0..+20.0 in 0.1-degree steps, 21..180 in 1-degree steps.
constexpr float AFL_grid_alpha(int i) {
    const int k = i - AFL_ROW_ZERO;
    if (k < -AFL_FINE_HALF) return static_cast<float>(k + 180);
    if (k > AFL_FINE_HALF) return static_cast<float>(k - 180);
    return 0.1f * static_cast<float>(k);
}

// Index of table (end, member) in the pair/quadruple arrays.
constexpr int AFL_table_index(int end, int member) { return end * AFL_MEMBERS + member; }

struct afl_block {
    float afl_re_num[AFL_TABLES];      // Reynolds number of each file (millions)
    float afl_t_rat[AFL_ENDS];         // thickness ratio (member read last wins)
    float afl_mach_div[AFL_ENDS];      // drag-divergence Mach number (member read last wins)
    float afl_clM[AFL_TABLES];         // lift-curve slope per degree
    float afl_clB[AFL_TABLES];         // lift coefficient at zero angle of attack
    float afl_almin[AFL_TABLES];       // negative stall angle, degrees
    float afl_almax[AFL_TABLES];       // positive stall angle, degrees
    float afl_cl[AFL_TABLES * AFL_ROWS];
    float afl_cd[AFL_TABLES * AFL_ROWS];
    float afl_cm[AFL_TABLES * AFL_ROWS];
    // Single values of the part: each file read overwrites them.
    float afl_linear_alpha;
    float afl_Lpow;
    float afl_Lstall;
    float afl_Ldrop1;
    float afl_Lpowstl;
    float afl_Ldrop2;
    float afl_Dmin;
    float afl_DminCL;
    float afl_Dal10;
    float afl_Dpow;
    float afl_Bloc;
    float afl_Bwidth;
    float afl_Bdepth;
    float afl_Bpower;
    float afl_cmal2;
    float afl_cmal3;
    float afl_cm1;
    float afl_cm2;
    float afl_cm3;
    float afl_cm4;
};

static_assert(sizeof(afl_block) == 34784);
static_assert(offsetof(afl_block, afl_re_num) == 0);
static_assert(offsetof(afl_block, afl_t_rat) == 16);
static_assert(offsetof(afl_block, afl_mach_div) == 24);
static_assert(offsetof(afl_block, afl_clM) == 32);
static_assert(offsetof(afl_block, afl_clB) == 48);
static_assert(offsetof(afl_block, afl_almin) == 64);
static_assert(offsetof(afl_block, afl_almax) == 80);
static_assert(offsetof(afl_block, afl_cl) == 96);
static_assert(offsetof(afl_block, afl_cd) == 11632);
static_assert(offsetof(afl_block, afl_cm) == 23168);
static_assert(offsetof(afl_block, afl_linear_alpha) == 34704);
static_assert(offsetof(afl_block, afl_Lpow) == 34708);
static_assert(offsetof(afl_block, afl_cm4) == 34780);

// Offset of the first block (part 0) in the aircraft record, and the blocks' total size.
constexpr std::size_t AFL_BLOCKS_OFFSET = 1617180;
constexpr std::size_t AFL_BLOCKS_SIZE = AFL_PARTS * sizeof(afl_block);
static_assert(AFL_BLOCKS_SIZE == 1530496);
