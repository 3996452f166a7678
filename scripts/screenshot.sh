#!/usr/bin/env bash
# Takes docs/screenshot.png: the program on a private X server with a window manager,
# connected to a local ngircd and joined to a channel where two scripted users chat with it.
# Usage: scripts/screenshot.sh [output.png]
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$here/docs/screenshot.png}")"
"$here/scripts/setup.sh" icewm scrot
scratch="$(mktemp -d)"
source "$here/scripts/xsession.sh"
trap 'stop_started; rm -rf "$scratch"' EXIT
channel="#orvelirc"
user=rowan

fail() {
  echo "screenshot: $*" >&2
  for log in "$scratch"/*.log; do echo "--- $(basename "$log")" >&2; cat "$log" >&2; done
  exit 1
}
# Waits for a marker file of the scripted users.
wait_marker() {
  for _ in $(seq 300); do
    [ -e "$scratch/$1" ] && return 0
    sleep 0.1
  done
  fail "the chat did not reach \"$1\""
}

port="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
cat >"$scratch/ngircd.conf" <<CONF
[Global]
Name = irc.orvelirc.test
Info = OrvelIRC screenshot server
AdminInfo1 = screenshot
AdminInfo2 = screenshot
AdminEMail = admin@irc.orvelirc.test
Listen = 127.0.0.1
Ports = $port
MotdPhrase = Welcome to the OrvelIRC screenshot server
[Options]
Ident = no
DNS = no
PAM = no
CONF
ngircd -n -f "$scratch/ngircd.conf" >"$scratch/ngircd.log" 2>&1 &
started $!
for _ in $(seq 100); do
  grep -q "ready" "$scratch/ngircd.log" && break
  sleep 0.1
done
grep -q "ready" "$scratch/ngircd.log" || fail "ngircd did not start"

start_x 1280x800
# The window manager opens the frame maximised and keeps its task bar plain.
mkdir -p "$scratch/icewm"
echo "OrvelIRC.startMaximized: 1" >"$scratch/icewm/winoptions"
printf '%s\n' TaskBarShowWorkspaces=0 TaskBarShowCPUStatus=0 TaskBarShowNetStatus=0 TaskBarShowMailboxStatus=0 \
  TaskBarShowShowDesktopButton=0 TaskBarShowWindowListMenu=0 >"$scratch/icewm/preferences"
ICEWM_PRIVCFG="$scratch/icewm" icewm >/dev/null 2>&1 &
started $!
# The frame is maximised into the area the task bar leaves: the bar must be up first.
for _ in $(seq 100); do
  xwininfo -root -tree 2>/dev/null | grep -q '"TaskBar"' && break
  sleep 0.1
done

# The user's settings: connect at start and tile the windows.
work="$scratch/work"
mkdir -p "$work" "$scratch/home"
for setting in "nick $user" "altnick ${user}_" "realname Rowan" "email $user" "server 127.0.0.1" "port $port" \
  "cos yes" "auto yes"; do
  printf '%s\r\n' "${setting#* }" >"$work/${setting%% *}.msg"
done
python3 "$here/scripts/screenshot-peers.py" "$port" "$channel" "$user" "$scratch" >"$scratch/peers.log" 2>&1 &
started $!
HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/home/.config" ORVELIRC_HOME="$work" \
  "$here/build/bin/orvelirc" >"$scratch/program.log" 2>&1 &
started $!

frame="$(wait_window)" || fail "the program showed no window"
xdotool windowactivate --sync "$frame"
wait_marker online
type_line "$frame" "/join $channel"
wait_marker greeted
type_line "$frame" "hi all, first evening with OrvelIRC here"
wait_marker done
sleep 1
mkdir -p "$(dirname "$out")"
scrot --overwrite "$out"
echo "screenshot: $out"
