#!/usr/bin/env bash
# Measures the simulator at rest: starts it with ./run.sh on the offscreen
# video driver, leaves it idle (flying at KSBD from the cockpit in the weather
# it starts in, paced to 60 frames a second), and reports the share of one
# processor core it used, all its threads and the renderer's together, and
# how far its resident memory moved from its value after the first second.
# Then asks it to end (SIGTERM) and reports its exit status. The clear-day
# figure comes from bench_frame's BM_paced_cockpit/1, which flies the same
# frames paced the same way.
#
# usage: tools/idle_check.sh [seconds]      (default 10)
# Exit status 0 when the program used under three quarters of a core, its
# memory stayed within 50 MB and it ended with status 0; 1 otherwise. The
# share is only meaningful on a quiet machine: the load average is printed
# with it.
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-10}
max_core_share=0.75
max_memory_drift_mb=50

export SDL_VIDEODRIVER=offscreen
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"   # no sound device needed
unset ORVELL_NO_PACING
./run.sh > /tmp/orvell-idle-check.$$.log 2>&1 &
pid=$!
trap 'kill -TERM $pid 2>/dev/null' INT

# run.sh builds first, then becomes the program.
while kill -0 $pid 2>/dev/null; do
  case "$(readlink /proc/$pid/exe 2>/dev/null)" in
    */orvell) break ;;
  esac
  sleep 0.1
done
if ! kill -0 $pid 2>/dev/null; then
  echo "idle_check: the program did not start; see /tmp/orvell-idle-check.$$.log"
  exit 1
fi

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' /proc/$pid/stat; }
rss_kb() { awk '/^VmRSS:/ { print $2 }' /proc/$pid/status; }
now() { date +%s.%N; }

sleep 1
rss_first=$(rss_kb)
ticks_first=$(cpu_ticks)
time_first=$(now)
drift_max=0
for ((i = 0; i < seconds; i++)); do
  sleep 1
  rss=$(rss_kb)
  drift_max=$(awk -v a="$rss" -v b="$rss_first" -v m="$drift_max" \
    'BEGIN { d = (a - b) / 1024; if (d < 0) d = -d; print (d > m ? d : m) }')
done
ticks_last=$(cpu_ticks)
time_last=$(now)
rss_last=$(rss_kb)

kill -TERM $pid
wait $pid
status=$?

share=$(awk -v t="$((ticks_last - ticks_first))" -v hz="$ticks_per_second" -v a="$time_first" -v b="$time_last" \
  'BEGIN { printf "%.3f", t / hz / (b - a) }')
printf 'load average %s; ' "$(cut -d' ' -f1-3 /proc/loadavg)"
printf 'idle for %d s: %s of one core; resident memory %.1f MB after the first second, %.1f MB at the end (largest move %.1f MB); exit status %d\n' \
  "$seconds" "$share" "$(awk -v k="$rss_first" 'BEGIN { print k / 1024 }')" \
  "$(awk -v k="$rss_last" 'BEGIN { print k / 1024 }')" "$drift_max" "$status"

ok=$(awk -v s="$share" -v d="$drift_max" -v ms="$max_core_share" -v md="$max_memory_drift_mb" \
  'BEGIN { print (s < ms && d <= md) ? 1 : 0 }')
rm -f /tmp/orvell-idle-check.$$.log
[ "$ok" = 1 ] && [ "$status" = 0 ]
