#!/usr/bin/env bash
# Measures the start to the first flying frame: starts the program on the
# offscreen video driver a few times, waits for the line it writes to its
# report log (ORVELL.OUT) once the first flying frame is on the screen, prints
# that line (the figure, then the time each start-up stage took) and asks the
# program to end (SIGTERM). The figure counts from the process's start, to
# the kernel's tick (a hundredth of a second). The lowest, middle and highest
# figure of the runs and the load average follow, since the figure is only
# meaningful on a quiet machine.
#
# usage: tools/start_time.sh [runs] [program]   (default 3 runs of build/orvell,
#                                                which ./run.sh builds)
# Exit status 0 when every run wrote the line, 1 otherwise.
set -uo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
program=$(realpath "${2:-build/orvell}")
if [ ! -x "$program" ]; then
  echo "start_time: no program at $program (./run.sh builds build/orvell)"
  exit 1
fi
cd "$(dirname "$program")"
export SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null
unset ORVELL_NO_PACING
status=0
figures=()
for run in $(seq 1 "$runs"); do
  rm -f ORVELL.OUT
  "$program" > /dev/null 2>&1 &
  pid=$!
  line=""
  for _ in $(seq 1 600); do
    line=$(grep -m1 "Start to the first flying frame" ORVELL.OUT 2>/dev/null)
    [ -n "$line" ] && break
    kill -0 $pid 2>/dev/null || break
    sleep 0.05
  done
  kill -TERM $pid 2>/dev/null
  wait $pid 2>/dev/null
  if [ -n "$line" ]; then
    echo "$line"
    figures+=("$(echo "$line" | sed 's/^.*frame: \([0-9.]*\) s.*$/\1/')")
  else
    echo "run $run: no first flying frame within 30 s"
    status=1
  fi
done
if [ ${#figures[@]} -gt 0 ]; then
  sorted=($(printf '%s\n' "${figures[@]}" | sort -n))
  n=${#sorted[@]}
  echo "${n} runs: lowest ${sorted[0]} s, middle ${sorted[$((n / 2))]} s, highest ${sorted[$((n - 1))]} s"
fi
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
exit $status
