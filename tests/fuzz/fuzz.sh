#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) and fuzzes every target built, about one per
# core at a time, sharing one time budget.
#
# Seeds of target fuzz_<name>: the files tests/fuzz/seeds/fuzz_<name>.txt
# names in the data folder (one path or shell glob a line, relative to the
# data folder; a folder is taken whole, and ` -iname PATTERN` at a line's end
# keeps only the matching files found in folders; blank lines and lines
# starting with '#' are ignored; files over 1 MB are skipped, at most 200 are
# taken), and the files in the folder tests/fuzz/seeds/fuzz_<name>/.
#
# Corpora, the targets' working folders and their temporary files are kept in
# RAM (/dev/shm when it exists): a target waiting on a loaded disk is no fault.
# An input that crashes, leaks or times out is run again alone with a longer
# time limit: the stage fails only when it fails again, and the input is kept
# under <build>/fuzz/artifacts. One that does not fail again is kept under
# <build>/fuzz/unconfirmed, named, and the stage passes.
#
# Usage: tests/fuzz/fuzz.sh [data folder (default build-test)] [budget in seconds (default 180)]
# The budget is the wall time the fuzzing should take: each target gets
# budget × parallel targets / targets seconds, but at least 10.
# FUZZ_BUILD names the build folder (default build-fuzz); FUZZ_JOBS the build's
# jobs and the targets run at a time (default the cores); FUZZ_ONLY a regular
# expression the targets' names must match.
# FUZZ_BUILD_ONLY=1 builds the targets and stops (no data folder is read).
# Under CI=true a missing clang, a target that cannot be linked and a target
# without seeds fail the stage.
set -euo pipefail
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
build_only="${FUZZ_BUILD_ONLY:-0}"
if [ "$build_only" != 1 ]; then data="$(cd "${1:-$source_dir/build-test}" && pwd)"; fi
budget="${2:-180}"
build="${FUZZ_BUILD:-$source_dir/build-fuzz}"
jobs="${FUZZ_JOBS:-$(nproc)}"
only="${FUZZ_ONLY:-.}"
strict=0
if [ "${CI:-}" = true ]; then strict=1; fi

# Without clang nothing can be fuzzed: a failure under CI, a note elsewhere.
give_up() {
  echo "fuzz: $1"
  if [ "$strict" = 1 ]; then echo "fuzz: FAILED (CI=true requires fuzzing)"; exit 1; fi
  echo "fuzz: nothing fuzzed"
  exit 0
}

if ! command -v clang++ > /dev/null; then give_up "clang++ is not installed (tools/packages.sh installs it)"; fi
ram="/dev/shm"
if [ ! -d "$ram" ] || [ ! -w "$ram" ]; then ram="${TMPDIR:-/tmp}"; fi
work="$(mktemp -d "$ram/orvell_fuzz.XXXXXX")"
# The targets still running when the stage is stopped are stopped with it.
declare -A pid_of=()
stop() {
  local pid
  for pid in "${pid_of[@]}"; do kill "$pid" 2> /dev/null || true; done
  wait 2> /dev/null || true
  rm -rf "$work"
}
trap stop EXIT
trap 'exit 1' INT TERM

printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char*, unsigned long) { return 0; }\n' > "$work/probe.cpp"
if ! clang++ -fsanitize=fuzzer,address,undefined "$work/probe.cpp" -o "$work/probe" > "$work/probe.log" 2>&1; then
  sed -n 1,5p "$work/probe.log"
  give_up "clang++ cannot link a fuzz target here (its fuzzer run-time is missing)"
fi

build_start=$SECONDS
launcher=()
if command -v ccache > /dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
# -O1 and line tables: a fuzzer's report needs no more, and the build is a
# fifth quicker than at -O2 with full debugging information.
CC=clang CXX=clang++ cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -gline-tables-only -DNDEBUG" \
  -DORVELL_FUZZ=ON -DORVELL_TESTS=OFF -DORVELL_BENCH=OFF -DORVELL_SANITIZE=OFF "${launcher[@]}" > "$work/configure.log" \
  || { cat "$work/configure.log"; exit 1; }
cmake --build "$build" --target fuzz_targets -j"$jobs"
echo "fuzz: build took $((SECONDS - build_start)) s"
if [ "$build_only" = 1 ]; then exit 0; fi

artifacts="$build/fuzz/artifacts"
unconfirmed="$build/fuzz/unconfirmed"
rm -rf "$artifacts" "$unconfirmed"

# The seeds of one target, copied into its corpus folder.
max_seeds=200
gather_seeds() {   # name corpus-folder
  local name="$1" corpus="$2" list="$source_dir/tests/fuzz/seeds/$1.txt" own="$source_dir/tests/fuzz/seeds/$1"
  mkdir -p "$corpus"
  if [ -f "$list" ]; then
    local line pattern filter found m
    found="$work/$name.found"
    : > "$found"
    while IFS= read -r line || [ -n "$line" ]; do
      line="${line#"${line%%[![:space:]]*}"}"
      line="${line%"${line##*[![:space:]]}"}"
      case "$line" in '' | '#'*) continue ;; esac
      pattern="$line"
      filter=()
      if [[ "$line" =~ ^(.*[^[:space:]])[[:space:]]+-iname[[:space:]]+([^[:space:]]+)$ ]]; then
        pattern="${BASH_REMATCH[1]}"
        filter=(-iname "${BASH_REMATCH[2]}")
      fi
      # The glob is expanded in the data folder, split only at line ends: the
      # data tree's names have spaces.
      local matches=() hits=0
      mapfile -t matches < <(cd "$data" && shopt -s nullglob && IFS=$'\n' && for m in $pattern; do printf '%s\n' "$m"; done)
      for m in "${matches[@]}"; do
        if [ -d "$data/$m" ]; then
          find "$data/$m" -type f "${filter[@]}" -size -1025k -print >> "$found"
          hits=$((hits + 1))
        elif [ -f "$data/$m" ]; then
          find "$data/$m" -size -1025k -print >> "$found"
          hits=$((hits + 1))
        fi
      done
      if [ "$hits" -eq 0 ]; then echo "fuzz: $name: '$line' matches nothing in $data"; fi
    done < "$list"
    # At most max_seeds files, taken evenly across the sorted list so that
    # every folder named gives some.
    local total step=1 k=0 f
    total="$(sort -u "$found" | wc -l)"
    if [ "$total" -gt "$max_seeds" ]; then step=$(((total + max_seeds - 1) / max_seeds)); fi
    while IFS= read -r f; do
      if [ $((k % step)) -eq 0 ]; then cp "$f" "$corpus/$k-$(basename "$f" | tr -c 'A-Za-z0-9._\n-' '_')"; fi
      k=$((k + 1))
    done < <(sort -u "$found")
  fi
  if [ -d "$own" ]; then
    for f in "$own"/*; do [ -f "$f" ] && cp "$f" "$corpus/own-$(basename "$f")"; done
  fi
  return 0
}

# Every tests/fuzz/fuzz_<name>.cpp is a target (a program left in the build
# folder by a target since removed is not).
targets=()
for src in "$source_dir"/tests/fuzz/fuzz_*.cpp; do
  name="$(basename "$src" .cpp)"
  [ "$name" = fuzz_support ] && continue
  [[ "$name" =~ $only ]] || continue
  if [ ! -x "$build/fuzz/$name" ]; then echo "fuzz: $name was not built"; exit 1; fi
  targets+=("$name")
done
if [ ${#targets[@]} -eq 0 ]; then echo "fuzz: no target"; exit 1; fi
parallel=$((jobs < ${#targets[@]} ? jobs : ${#targets[@]}))
seconds=$((budget * parallel / ${#targets[@]}))
if [ "$seconds" -lt 10 ]; then seconds=10; fi
input_limit=25      # seconds one input may take while fuzzing
again_limit=120     # and when it is run again alone
rss_limit=2048      # MB, each of the targets running side by side
echo "fuzz: ${#targets[@]} targets, $seconds s each, $parallel at a time"

# Fuzzes one target in its own working folder; writes its result to
# <work>/<name>.result and, when it failed, "failed" to <work>/<name>.failed.
# A stop on an input that does not fail again alone leaves the target's time
# unused: the fuzzing goes on from the corpus for the time left.
fuzz_one() {   # name
  local name="$1" bin="$build/fuzz/$1" w="$work/$1"
  local corpus="$w/corpus" found="$w/found" run="$w/run"
  mkdir -p "$found" "$run" "$w/tmp"
  gather_seeds "$name" "$corpus"
  local seeds
  seeds="$(find "$corpus" -type f | wc -l)"
  local note=""
  if [ "$seeds" -eq 0 ]; then
    echo "fuzz: !!!!!!!! $name has no seeds: it fuzzes from nothing (tests/fuzz/seeds/$name.txt names none in $data, tests/fuzz/seeds/$name/ holds none) !!!!!!!!"
    note=", NO SEEDS"
    if [ "$strict" = 1 ]; then echo failed > "$w.failed"; fi
  fi
  local env=(env TMPDIR="$w/tmp" ORVELL_FUZZ_FOLDER="$w/tmp" SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null
    LSAN_OPTIONS="suppressions=$source_dir/tests/lsan.supp:print_suppressions=0")
  local start=$SECONDS execs=0 lines="" round=0 left="$seconds"
  while :; do
    round=$((round + 1))
    local rc=0 child n
    mkdir -p "$found/$round"
    (cd "$run" && exec "${env[@]}" "$bin" "$corpus" -max_total_time="$left" -timeout="$input_limit" \
      -rss_limit_mb="$rss_limit" -artifact_prefix="$found/$round/" -print_final_stats=1 > "$w.log" 2>&1) &
    child=$!
    trap 'kill "$child" 2> /dev/null; exit 1' TERM
    wait "$child" || rc=$?
    n="$(sed -n 's/^stat::number_of_executed_units: *//p' "$w.log" | tail -1)"
    execs=$((execs + ${n:-0}))
    local inputs=()
    mapfile -t inputs < <(find "$found/$round" -type f \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' -o -name 'oom-*' \) | sort)
    if [ "$rc" -eq 0 ] && [ ${#inputs[@]} -eq 0 ]; then break; fi
    if [ ${#inputs[@]} -eq 0 ]; then
      mkdir -p "$artifacts"
      cp "$w.log" "$artifacts/$name.log"
      lines+=$'\n'"  FAILED: the target stopped (exit $rc) without naming an input; its log, $artifacts/$name.log, ends:"
      lines+=$'\n'"$(tail -40 "$w.log")"
      echo failed > "$w.failed"
      break
    fi
    # Each input the fuzzer stopped on is run again alone, with a longer limit.
    local input kept again
    for input in "${inputs[@]}"; do
      again=0
      (cd "$run" && "${env[@]}" "$bin" -timeout="$again_limit" -rss_limit_mb="$rss_limit" "$input" \
        > "$w.again.log" 2>&1) || again=$?
      if [ "$again" -ne 0 ]; then
        mkdir -p "$artifacts"
        kept="$artifacts/$name-$(basename "$input")"
        cp "$input" "$kept"
        cp "$w.log" "$artifacts/$name.log"
        cp "$w.again.log" "$kept.log"
        lines+=$'\n'"  FAILED: $(basename "$input") fails again when run alone; input kept: $kept"
        lines+=$'\n'"  run it: $bin $kept"$'\n'"$(tail -60 "$w.again.log")"
        echo failed > "$w.failed"
      else
        mkdir -p "$unconfirmed"
        kept="$unconfirmed/$name-$(basename "$input")"
        cp "$input" "$kept"
        cp "$w.log" "$kept.log"
        lines+=$'\n'"  $(basename "$input") did not fail again when run alone: not counted as a fault; input kept: $kept"
        lines+=$'\n'"$(grep -m1 'ERROR' "$w.log" | sed 's/^/    /' || true)"
      fi
    done
    left=$((seconds - (SECONDS - start)))
    if [ -f "$w.failed" ] || [ "$left" -lt 10 ] || [ "$round" -ge 3 ]; then break; fi
  done
  local outcome="passed"
  if [ -f "$w.failed" ]; then outcome="FAILED"; fi
  echo "fuzz: $name: $seeds seeds, $execs executions in $((SECONDS - start)) s$note: $outcome$lines" > "$w.result"
  return 0
}

fuzz_start=$SECONDS
status=0
report() {   # name
  cat "$work/$1.result" 2> /dev/null || echo "fuzz: $1: no result"
  if [ -f "$work/$1.failed" ]; then status=1; fi
}
for name in "${targets[@]}"; do
  while [ ${#pid_of[@]} -ge "$parallel" ]; do
    wait -n || true
    for done_name in "${!pid_of[@]}"; do
      if ! kill -0 "${pid_of[$done_name]}" 2> /dev/null; then
        report "$done_name"
        unset "pid_of[$done_name]"
      fi
    done
  done
  fuzz_one "$name" &
  pid_of[$name]=$!
done
for name in "${!pid_of[@]}"; do
  wait "${pid_of[$name]}" || true
  report "$name"
  unset "pid_of[$name]"
done
echo "fuzz: fuzzing took $((SECONDS - fuzz_start)) s"
if [ "$status" -ne 0 ]; then echo "fuzz: FAILED"; else echo "fuzz: passed"; fi
exit "$status"
