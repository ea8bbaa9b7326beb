#!/usr/bin/env bash
# Sends datagrams that look like the link's own (a heartbeat to slot 4 and a
# "quit" command) to every port of the kernel's ephemeral range on the
# loopback, sweep after sweep, until it is stopped. Tests run beside it to
# show that nothing another program sends to a kernel-chosen port reaches them.
# Usage: flood_ephemeral_ports.sh [workers]   (default 4; each sweeps a share of the range)
set -u
workers="${1:-4}"
read -r low high < /proc/sys/net/ipv4/ip_local_port_range

sweep() {   # first port, step
  local sweeps=0 port
  trap 'echo "flood: worker from port $1 swept $sweeps times" >&2; exit 0' TERM INT
  while :; do
    for ((port = $1; port <= high; port += $2)); do
      printf 'KSTM\x040I am sending!  ' 2>/dev/null > "/dev/udp/127.0.0.1/$port"
      printf 'KSTM\x000quit           ' 2>/dev/null > "/dev/udp/127.0.0.1/$port"
    done
    sweeps=$((sweeps + 1))
  done
}

pids=()
for ((w = 0; w < workers; ++w)); do
  sweep $((low + w)) "$workers" &
  pids+=($!)
done
trap 'kill "${pids[@]}" 2>/dev/null; wait; exit 0' TERM INT
wait
