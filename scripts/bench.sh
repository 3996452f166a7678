#!/usr/bin/env bash
# Side-by-side benchmark: OrvelIRC (the real program under Xvfb, channel window shown), irssi
# (under tmux, no logging) and weechat-headless, each against its own scripted loopback
# server (bench/flood_server.cpp) with the same seeded traffic. Every measurement runs in
# rounds; each round measures every client once, one after the other, so a change in the
# machine's load touches all of them alike. It prints the load average at the start and the
# end, min / median / max over the rounds for each client, and OrvelIRC's ratio to each
# other client taken within each round.
#
# Usage: scripts/bench.sh [--program PATH] [--rounds N] [--lines N] [--nicks N]
#                         [--join-nicks N] [--idle S] [--long-lines N] [--quick]
#   --program     the orvelirc binary to measure (default: this tree's build)
#   --rounds      rounds of every measurement (default 3, at least 3)
#   --lines       flood lines of the side-by-side runs (default 100000)
#   --nicks       names in the flooded channel (default 200)
#   --join-nicks  names in the join runs (default 10000)
#   --idle        seconds of the idle runs (default 60)
#   --long-lines  lines of OrvelIRC's memory run (default 1000000)
#   --quick       OrvelIRC alone, 10 s idle, no memory run (a smoke test, not figures)
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
program="$here/build/bin/orvelirc"
rounds=3
lines=100000
nicks=200
join_nicks=10000
idle=60
long_lines=1000000
quick=no
while [ $# -gt 0 ]; do
  case "$1" in
    --program) program="$(realpath "$2")"; shift 2 ;;
    --rounds) rounds="$2"; shift 2 ;;
    --lines) lines="$2"; shift 2 ;;
    --nicks) nicks="$2"; shift 2 ;;
    --join-nicks) join_nicks="$2"; shift 2 ;;
    --idle) idle="$2"; shift 2 ;;
    --long-lines) long_lines="$2"; shift 2 ;;
    --quick) quick=yes; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done
if [ "$quick" = yes ]; then
  idle=10
else
  [ "$rounds" -ge 3 ] || { echo "--rounds: at least 3" >&2; exit 2; }
fi

bash "$here/scripts/setup.sh" irssi weechat-headless tmux xdotool >/dev/null
server_bin="$here/build/bench_flood_server"
window_bin="$here/build/bench_first_window"

work="$(mktemp -d /tmp/orvelbench.XXXXXX)"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# No desktop session: every client starts the same way, with no session bus to talk to.
unset DBUS_SESSION_BUS_ADDRESS
pids=()
tmux_socket="orvelbench$$"
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  tmux -L "$tmux_socket" kill-server 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# A display of our own.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
export DISPLAY=":$display"

# Waits until the file holds a line starting with the text; fails after the seconds given.
wait_for() {
  local file="$1" text="$2" seconds="$3"
  local end=$((SECONDS + seconds))
  while ! grep -q "^$text" "$file" 2>/dev/null; do
    [ $SECONDS -ge $end ] && return 1
    sleep 0.02
  done
}
value() { grep "^$2 " "$1" 2>/dev/null | tail -1 | cut -d' ' -f2; }

# start_server RUN ARGS...: a scripted server for one run; its output goes to $work/RUN.out
# and the client's process id is to be written to $work/RUN.pid.
start_server() {
  local run="$1"
  shift
  "$server_bin" --port 0 --pidfile "$work/$run.pid" "$@" >"$work/$run.out" 2>&1 &
  pids+=($!)
  echo $! >"$work/$run.server"
  wait_for "$work/$run.out" listening 10 || { echo "the benchmark server did not start" >&2; exit 1; }
}
port_of() { value "$work/$1.out" listening; }

# OrvelIRC's working folder: the shipped files and the settings that connect at start.
orvel_folder() {
  local dir="$work/orvel-$1"
  mkdir -p "$dir"
  cp "$here"/data/* "$dir"/
  set_msg() { printf '%s\r\n' "$2" >"$dir/$1.msg"; }
  set_msg server 127.0.0.1
  set_msg port "$2"
  set_msg nick benchme
  set_msg altnick benchme_
  set_msg email bench@localhost
  set_msg realname "Bench Mark"
  set_msg cos "$3"
  set_msg splash no
  set_msg indata no
  set_msg auto no
  echo "$dir"
}

start_orvel() {
  local run="$1"
  local dir
  dir="$(orvel_folder "$run" "$(port_of "$run")" yes)"
  (cd "$dir" && HOME="$dir" ORVELIRC_HOME="$dir" exec "$program") >"$work/$run.log" 2>&1 &
  pids+=($!)
  echo $! >"$work/$run.pid"
  wait_for "$work/$run.out" registered 20 || { echo "OrvelIRC did not register" >&2; cat "$work/$run.out" >&2; exit 1; }
  # The server window's command line has the focus at start: join as a user would. With no
  # window manager the keyboard goes where it is sent, so the frame gets it first.
  xdotool search --onlyvisible --name '^OrvelIRC$' windowfocus
  xdotool type --delay 2 "/JOIN #bench"
  xdotool key Return
}

start_irssi() {
  local run="$1"
  local dir="$work/irssi-$run"
  mkdir -p "$dir"
  cat >"$dir/config" <<EOF
servers = ( { address = "127.0.0.1"; chatnet = "bench"; port = "$(port_of "$run")"; autoconnect = "yes"; } );
chatnets = { bench = { type = "IRC"; }; };
channels = ( { name = "#bench"; chatnet = "bench"; autojoin = "yes"; } );
settings = {
  core = { real_name = "Bench Mark"; user_name = "bench"; nick = "benchme"; };
  "fe-common/core" = { autolog = "no"; };
};
EOF
  tmux -L "$tmux_socket" new-session -d -s "$run" -x 160 -y 48 "exec irssi --home=$dir"
  tmux -L "$tmux_socket" list-panes -t "$run" -F '#{pane_pid}' | head -1 >"$work/$run.pid"
  pids+=("$(cat "$work/$run.pid")")
}

start_weechat() {
  local run="$1"
  local dir="$work/weechat-$run"
  mkdir -p "$dir"
  weechat-headless --dir "$dir" --run-command "/plugin unload logger;/server add bench 127.0.0.1/$(port_of "$run");/set irc.server.bench.nicks benchme;/set irc.server.bench.autojoin #bench;/set irc.server.bench.capabilities \"\";/connect bench" >"$work/$run.log" 2>&1 &
  pids+=($!)
  echo $! >"$work/$run.pid"
}

# finish RUN SECONDS: waits for the run's result, then ends its server and client.
finish() {
  local run="$1" seconds="$2"
  if ! wait_for "$work/$run.out" '\(done\|error\)' "$seconds"; then
    echo "  $run: no result within $seconds s" >&2
    cat "$work/$run.out" >&2
  fi
  kill "$(cat "$work/$run.server")" 2>/dev/null || true
  kill "$(cat "$work/$run.pid" 2>/dev/null)" 2>/dev/null || true
  tmux -L "$tmux_socket" kill-session -t "$run" 2>/dev/null || true
}

# run CLIENT RUN ARGS...: one client's run, start to finish.
run() {
  local client="$1" name="$2"
  shift 2
  start_server "$name" "$@"
  "start_$client" "$name"
  finish "$name" 1200
}

clients=(orvel)
[ "$quick" = no ] && clients+=(irssi weechat)
label() {
  case "$1" in orvel) echo OrvelIRC ;; irssi) echo irssi ;; weechat) echo weechat-headless ;; esac
}

# Figures are kept as "$work/fig.NAME.CLIENT", one value a line, a line a round.
keep() { [ -n "$3" ] && echo "$3" >>"$work/fig.$1.$2"; return 0; }
# min / median / max of the numbers on standard input, with the decimals given.
stats() {
  sort -g | awk -v d="$1" '{ v[NR] = $1 } END {
    if (NR == 0) { print "-"; exit }
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.*f / %.*f / %.*f\n", d, v[1], d, m, d, v[NR] }'
}
figure() { if [ -s "$work/fig.$1.$2" ]; then stats "$3" <"$work/fig.$1.$2"; else echo "-"; fi; }
load() { cut -d' ' -f1-3 /proc/loadavg; }
mib() { awk -v k="$1" 'BEGIN { if (k != "") printf "%.1f", k / 1024 }'; }

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)"
echo "Program: $program"
echo "Clients: OrvelIRC $(git -C "$here" describe --always --dirty 2>/dev/null || echo '?'), $(irssi --version 2>/dev/null | head -1 || echo 'irssi ?'), weechat $(weechat-headless --version 2>/dev/null | head -1 || echo '?'), Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo '?')"
echo "Load average at start (1, 5, 15 min): $(load)"
echo "Rounds: $rounds"
echo
started=$SECONDS

for round in $(seq "$rounds"); do
  echo "Round $round of $rounds (load $(load))" >&2
  # Flood: lines per second and peak memory.
  for c in "${clients[@]}"; do
    r="flood-$c-$round"
    run "$c" "$r" --lines "$lines" --nicks "$nicks"
    keep lps "$c" "$(value "$work/$r.out" lines_per_second)"
    keep rss "$c" "$(mib "$(value "$work/$r.out" peak_rss_kib)")"
  done
  # Join of a big channel: the names list, its end and two PINGs answered.
  for c in "${clients[@]}"; do
    r="join-$c-$round"
    run "$c" "$r" --lines 0 --nicks "$join_nicks"
    keep join "$c" "$(value "$work/$r.out" join_ms)"
  done
  # Idle, connected and joined to a quiet server: all clients at once, each on its own server.
  for c in "${clients[@]}"; do
    start_server "idle-$c-$round" --lines 0 --nicks "$nicks" --idle "$idle"
    "start_$c" "idle-$c-$round"
  done
  for c in "${clients[@]}"; do
    r="idle-$c-$round"
    finish "$r" $((idle + 60))
    keep idle "$c" "$(value "$work/$r.out" idle_cpu_percent)"
    keep wake "$c" "$(value "$work/$r.out" idle_wakeups_per_second)"
  done
  # Start-up to the first shown window, not connecting: three starts a round.
  dir="$(orvel_folder "startup-$round" 6667 no)"
  for _ in 1 2 3; do
    keep start orvel "$(cd "$dir" && HOME="$dir" ORVELIRC_HOME="$dir" "$window_bin" "$program" | awk '/^startup_ms/ { print $2 }')"
  done
  # Memory over a long flood.
  if [ "$quick" = no ]; then
    r="long-$round"
    run orvel "$r" --lines "$long_lines" --nicks "$nicks" --checkpoint $((long_lines / 10))
    keep longpeak orvel "$(mib "$(value "$work/$r.out" peak_rss_kib)")"
    echo "$(grep '^rss_kib_at' "$work/$r.out" | awk '{ printf "%s%.0f", (n++ ? " " : ""), $3 / 1024 }')" >>"$work/long.tenths"
    # The RSS from the 400,000th line on: how flat it stays.
    grep '^rss_kib_at' "$work/$r.out" | awk -v from=$((long_lines * 4 / 10)) '$2 >= from { printf "%.1f\n", $3 / 1024 }' >>"$work/fig.late.orvel"
  fi
  # OrvelIRC's ratios to the others, within this round.
  for c in "${clients[@]:1}"; do
    o="$(sed -n "${round}p" "$work/fig.lps.orvel" 2>/dev/null || true)"
    x="$(sed -n "${round}p" "$work/fig.lps.$c" 2>/dev/null || true)"
    [ -n "$o" ] && [ -n "$x" ] && awk -v a="$o" -v b="$x" 'BEGIN { if (b > 0) printf "%.2f\n", a / b }' >>"$work/fig.ratio.$c"
  done
done

echo "Load average at end (1, 5, 15 min): $(load)"
echo "Run time: $(( (SECONDS - started) / 60 )) min $(( (SECONDS - started) % 60 )) s"
echo
echo "min / median / max over $rounds rounds"
printf '%-34s' ""
for c in "${clients[@]}"; do printf '%-26s' "$(label "$c")"; done
echo
row() {
  printf '%-34s' "$1"
  for c in "${clients[@]}"; do printf '%-26s' "$(figure "$2" "$c" "$3")"; done
  echo
}
row "flood, lines/s" lps 0
row "flood, peak RSS MiB" rss 1
row "join of $join_nicks nicks, ms" join 1
row "idle ${idle} s, % of one core" idle 2
row "idle ${idle} s, wake-ups/s" wake 1
if [ "$quick" = no ]; then
  echo
  for c in "${clients[@]:1}"; do
    echo "OrvelIRC's lines/s over $(label "$c")'s, within each round: $(figure ratio "$c" 2)" \
      "(rounds: $(paste -sd' ' "$work/fig.ratio.$c" 2>/dev/null))"
  done
fi
echo
echo "OrvelIRC start-up to its first shown window, ms ($((rounds * 3)) starts): $(figure start orvel 1)"
if [ "$quick" = no ]; then
  echo "OrvelIRC peak RSS over a $long_lines-line flood, MiB: $(figure longpeak orvel 1)"
  echo "OrvelIRC RSS from the $((long_lines * 4 / 10))th line on, MiB, over all rounds: $(figure late orvel 1)"
  echo "OrvelIRC RSS at each tenth of the long flood, MiB, a round a line:"
  sed 's/^/  /' "$work/long.tenths"
fi
cat <<EOF

What each figure counts:
- flood, lines/s: $lines seeded channel lines (messages, actions, joins, parts, quits, nick
  and mode changes, private messages, notices; $nicks nicks in the channel) written as fast as
  the client reads them, from the first line to the answer to a second PING sent after the
  first one's PONG, so work a client leaves for later is counted too.
- flood, peak RSS: the client's VmHWM at the end of that run.
- join: from the server's names list ($join_nicks names, then 366) to the client's answer to
  the second of two PINGs that follow it.
- idle: connected and joined to a server that then says nothing; the client's user and
  system time over $idle s, as a share of one core, and the context switches per second of
  its threads alive at the end (about as often as it wakes). For irssi, the irssi process
  alone, not tmux.
- start-up: from exec to the first top-level window mapped on the X server (Xvfb, no window
  manager, no D-Bus session bus), not connecting.
- memory over a long flood: OrvelIRC's RSS when it answers a PING after each tenth of
  $long_lines lines, and its peak.
EOF
