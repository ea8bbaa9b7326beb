#!/usr/bin/env bash
# Runs a test command in a private network namespace of its own, beside
# flood_ephemeral_ports.sh sending to every ephemeral loopback port, with the
# test binary told to share that network rather than make a namespace of its
# own: its tests must pass on their owned ports alone. The flood stays inside
# the namespace, so nothing else on the machine receives it. Where no
# namespace may be made it exits 77 (a skipped test), or 1 under CI=true,
# whose machines allow one.
# Usage: run_beside_flood.sh test-binary [arguments...]
set -u
here="$(cd "$(dirname "$0")" && pwd)"
if [ "${ORVELL_FLOOD_NAMESPACE:-}" != 1 ]; then
  if ! unshare --net true 2>/dev/null; then
    echo "run_beside_flood: no private network namespace may be made here"
    [ "${CI:-}" = true ] && exit 1
    exit 77
  fi
  ORVELL_FLOOD_NAMESPACE=1 exec unshare --net "$0" "$@"
fi
# The test binary brings the loopback up itself where the ip tool is missing.
command -v ip > /dev/null && ip link set lo up
"$here/flood_ephemeral_ports.sh" &
flood=$!
sleep 1
ORVELL_TEST_SHARED_NETWORK=1 "$@"
status=$?
kill "$flood"
wait "$flood"
exit "$status"
