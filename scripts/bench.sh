#!/usr/bin/env bash
# Received-data benchmark, side by side: OrvelIRC (the real program under Xvfb, channel
# window shown), irssi (under tmux, no logging) and weechat-headless, each against the same
# scripted loopback server and the same seeded channel flood. Prints lines/s, peak memory
# and our ratio to each, then OrvelIRC's 10,000-nick join, idle CPU, start-up time and its
# memory over a 1,000,000-line flood.
#
# Usage: scripts/bench.sh [--program PATH] [--lines N] [--nicks N] [--long-lines N] [--quick]
#   --program     the orvelirc binary to measure (default: this tree's build)
#   --lines       flood lines for the side-by-side runs (default 100000)
#   --nicks       names in the flooded channel (default 200)
#   --long-lines  lines of the memory run (default 1000000)
#   --quick       OrvelIRC alone, no memory run
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
program="$here/build/bin/orvelirc"
lines=100000
long_lines=1000000
nicks=200
quick=no
while [ $# -gt 0 ]; do
  case "$1" in
    --program) program="$(realpath "$2")"; shift 2 ;;
    --lines) lines="$2"; shift 2 ;;
    --nicks) nicks="$2"; shift 2 ;;
    --long-lines) long_lines="$2"; shift 2 ;;
    --quick) quick=yes; shift ;;
    *) echo "unknown option $1" >&2; exit 2 ;;
  esac
done

bash "$here/scripts/setup.sh" irssi weechat-headless tmux xdotool >/dev/null
server_bin="$here/build/bench_flood_server"
window_bin="$here/build/bench_first_window"

work="$(mktemp -d /tmp/orvelbench.XXXXXX)"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
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
value() { grep "^$2 " "$1" | tail -1 | cut -d' ' -f2; }

# Starts the scripted server; sets $port and $out.
start_server() {
  out="$work/$1.out"
  shift
  "$server_bin" --port 0 --pidfile "$work/client.pid" "$@" >"$out" 2>&1 &
  pids+=($!)
  server_pid=$!
  wait_for "$out" listening 10 || { echo "the benchmark server did not start" >&2; exit 1; }
  port="$(value "$out" listening)"
}

# Waits for the server to finish its run, at most the seconds given.
finish_run() {
  if ! wait_for "$out" '\(done\|error\)' "$1"; then
    echo "  $2: no result within $1 s" >&2
    cat "$out" >&2
  fi
  kill "$server_pid" 2>/dev/null || true
}

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

run_orvel() {
  local name="$1"; shift
  start_server "$name" "$@"
  local dir; dir="$(orvel_folder "$name" "$port" yes)"
  (cd "$dir" && HOME="$dir" ORVELIRC_HOME="$dir" exec "$program") >"$work/$name.log" 2>&1 &
  local pid=$!
  pids+=($pid)
  echo $pid >"$work/client.pid"
  wait_for "$out" registered 20 || { echo "OrvelIRC did not register" >&2; cat "$out" >&2; exit 1; }
  # The server window's command line has the focus at start: join as a user would. With no
  # window manager the keyboard goes where it is sent, so the frame gets it first.
  xdotool search --onlyvisible --name '^OrvelIRC$' windowfocus
  xdotool type --delay 2 "/JOIN #bench"
  xdotool key Return
  finish_run 1200 OrvelIRC
  kill "$pid" 2>/dev/null || true
}

run_irssi() {
  local name="$1"; shift
  start_server "$name" "$@"
  local dir="$work/irssi"
  mkdir -p "$dir"
  cat >"$dir/config" <<EOF
servers = ( { address = "127.0.0.1"; chatnet = "bench"; port = "$port"; autoconnect = "yes"; } );
chatnets = { bench = { type = "IRC"; }; };
channels = ( { name = "#bench"; chatnet = "bench"; autojoin = "yes"; } );
settings = {
  core = { real_name = "Bench Mark"; user_name = "bench"; nick = "benchme"; };
  "fe-common/core" = { autolog = "no"; };
};
EOF
  tmux -L "$tmux_socket" new-session -d -x 160 -y 48 "exec irssi --home=$dir"
  tmux -L "$tmux_socket" list-panes -F '#{pane_pid}' | head -1 >"$work/client.pid"
  pids+=("$(cat "$work/client.pid")")
  finish_run 1200 irssi
  tmux -L "$tmux_socket" kill-server 2>/dev/null || true
}

run_weechat() {
  local name="$1"; shift
  start_server "$name" "$@"
  local dir="$work/weechat"
  mkdir -p "$dir"
  weechat-headless --dir "$dir" --run-command "/plugin unload logger;/server add bench 127.0.0.1/$port;/set irc.server.bench.nicks benchme;/set irc.server.bench.autojoin #bench;/set irc.server.bench.capabilities \"\";/connect bench" >"$work/weechat.log" 2>&1 &
  local pid=$!
  pids+=($pid)
  echo $pid >"$work/client.pid"
  finish_run 1200 weechat-headless
  kill "$pid" 2>/dev/null || true
}

mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }

echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(awk '/MemTotal/ { printf "%.0f GiB", $2 / 1048576 }' /proc/meminfo)"
echo "Program: $program"
echo "Flood: $lines seeded lines into a channel of $nicks nicks"
echo

run_orvel orvel --lines "$lines" --nicks "$nicks"
orvel_out="$out"
orvel_lps="$(value "$orvel_out" lines_per_second)"
clients=(OrvelIRC)
if [ "$quick" = no ]; then
  run_irssi irssi --lines "$lines" --nicks "$nicks"
  irssi_out="$out"
  run_weechat weechat --lines "$lines" --nicks "$nicks"
  weechat_out="$out"
  clients+=(irssi weechat-headless)
fi

printf '%-18s %12s %14s %16s\n' client lines/s "peak RSS MiB" "OrvelIRC ratio"
for c in "${clients[@]}"; do
  case "$c" in
    OrvelIRC) f="$orvel_out" ;;
    irssi) f="$irssi_out" ;;
    weechat-headless) f="$weechat_out" ;;
  esac
  lps="$(value "$f" lines_per_second)"
  printf '%-18s %12s %14s %16s\n' "$c" "${lps:--}" "$(mib "$(value "$f" peak_rss_kib)")" "$(ratio "${orvel_lps:-0}" "${lps:-0}")"
done
echo
run_orvel join --lines 0 --nicks 10000 --idle 10
echo "OrvelIRC 10,000-nick join: $(value "$out" join_ms) ms"
echo "OrvelIRC idle CPU over 10 s, connected and joined: $(value "$out" idle_cpu_percent) % of a core"

# Start-up to the first shown window, not connecting: the median of five.
dir="$(orvel_folder startup 6667 no)"
times=()
for _ in 1 2 3 4 5; do
  times+=("$(cd "$dir" && HOME="$dir" ORVELIRC_HOME="$dir" "$window_bin" "$program" | awk '/^startup_ms/ { print $2 }')")
done
echo "OrvelIRC start-up to the first shown window: $(printf '%s\n' "${times[@]}" | sort -n | sed -n 3p) ms (median of 5)"

if [ "$quick" = no ]; then
  run_orvel long --lines "$long_lines" --nicks "$nicks" --checkpoint $((long_lines / 10))
  echo "OrvelIRC memory over a $long_lines-line flood (RSS MiB at each tenth):" \
    "$(grep '^rss_kib_at' "$out" | awk '{ printf "%s%.0f", (n++ ? " " : ""), $3 / 1024 }')"
  echo "OrvelIRC peak RSS after $long_lines flood lines: $(mib "$(value "$out" peak_rss_kib)") MiB"
fi
