#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each one for a fixed time from seeds
# taken from the data folder the build makes. Fails when a target finds a
# fault; its input is kept under <build>/fuzz/artifacts.
#
# Usage: tests/fuzz/fuzz.sh [data folder (default build-test)] [seconds per target (default 30)]
# FUZZ_BUILD names the build folder (default build-fuzz); FUZZ_JOBS the build's jobs.
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
data="$(cd "${1:-$source_dir/build-test}" && pwd)"
seconds="${2:-30}"
build="${FUZZ_BUILD:-$source_dir/build-fuzz}"
jobs="${FUZZ_JOBS:-$(nproc)}"

if ! command -v clang++ > /dev/null; then
  echo "fuzz: clang++ is not installed; nothing fuzzed"
  exit 0
fi
# clang without its fuzzing and sanitizer run-time libraries cannot build the
# targets: say so and fuzz nothing rather than fail the run.
probe_dir="$(mktemp -d)"
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' > "$probe_dir/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$probe_dir/probe.cpp" -o "$probe_dir/probe" > "$probe_dir/log" 2>&1; then
  echo "fuzz: clang++ cannot link a fuzz target here (its fuzzer run-time is missing); nothing fuzzed"
  sed -n 1,5p "$probe_dir/log"
  rm -rf "$probe_dir"
  exit 0
fi
rm -rf "$probe_dir"
launcher=()
if command -v ccache > /dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVELL_FUZZ=ON -DORVELL_TESTS=OFF -DORVELL_BENCH=OFF -DORVELL_SANITIZE=OFF "${launcher[@]}" > "$build.configure.log" \
  || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" --target fuzz_targets -j"$jobs"

corpus="$build/fuzz/corpus"
artifacts="$build/fuzz/artifacts"
rm -rf "$corpus"
mkdir -p "$artifacts"

# Copies the files the find arguments name into the target's seed folder.
seed_files() {   # target, find arguments...
  local target="$1"
  shift
  mkdir -p "$corpus/$target"
  find "$@" -type f -print0 2>/dev/null | while IFS= read -r -d '' f; do
    cp "$f" "$corpus/$target/$(printf '%s' "$f" | cksum | cut -d' ' -f1)"
  done
}

seed_files fuzz_env_tile "$data/Resources/Earth nav data" "$data/Resources/Mars nav data" "$data/Custom Scenery" -iname '*.env'
seed_files fuzz_object "$data/Resources/AUTOGEN OBJECTS" "$data/Custom Scenery" -iname '*.obj'
seed_files fuzz_wav "$data/Resources/sounds" -iname '*.wav' -size -64k

# A flight plan and a logbook as the program writes them.
mkdir -p "$corpus/fuzz_flight_plan" "$corpus/fuzz_logbook"
{
  printf 'I\n3 version\n     1\n     0\n'
  printf '     1  KSBD  0     34.095352   -117.234872\n'
  printf '     3  PDZ  5500     33.920000   -117.530000\n'
  for ((k = 2; k < 100; ++k)); do printf '     0  ----  0      0.000000      0.000000\n'; done
} > "$corpus/fuzz_flight_plan/plan"
{
  printf 'I\n1 version\n'
  printf '2  30612  KSBD  KONT   1   1.5   0.0   0.1   0.0  N12345  Orvell Trainer\n'
  printf '99\n'
} > "$corpus/fuzz_logbook/logbook"

# One datagram of each label the receive pass knows, with a payload of the
# size the label takes (or a few words), after its two-byte length.
mkdir -p "$corpus/fuzz_datagrams"
grep -o '{"[A-Z0-9_]\{4\}", [A-Z_0-9]*' "$source_dir/links/net_receive.cpp" | tr -d '{",' | while read -r label size; do
  case "$size" in ''|*[!0-9]*) size=36 ;; esac
  length=$((size + 6))
  {
    printf "\\x$(printf %02x $((length & 255)))\\x$(printf %02x $((length >> 8)))"
    printf '%s\x00' "$label"
    printf '0'
    head -c "$size" /dev/zero
  } > "$corpus/fuzz_datagrams/$label"
done

status=0
for target in "$build"/fuzz/fuzz_*; do
  name="$(basename "$target")"
  [ -x "$target" ] || continue
  mkdir -p "$corpus/$name"
  echo "fuzz: $name for ${seconds} s from $(ls "$corpus/$name" | wc -l) seeds"
  if ! (cd "$build/fuzz" && SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null \
        LSAN_OPTIONS="suppressions=$source_dir/tests/lsan.supp:print_suppressions=0" \
        "$target" "$corpus/$name" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
        -artifact_prefix="$artifacts/$name-" -print_final_stats=1 > "$artifacts/$name.log" 2>&1); then
    echo "fuzz: $name found a fault:"
    tail -60 "$artifacts/$name.log"
    status=1
  else
    grep -E '^stat::number_of_executed_units|^stat::peak_rss_mb' "$artifacts/$name.log" | sed "s/^/fuzz: $name /"
  fi
done
exit "$status"
