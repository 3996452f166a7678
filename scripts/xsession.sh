# Helpers for the scripts that drive the program on a private X server; source it.
# Everything started through `started` is stopped, newest first, when the script ends.
pids=()
stop_started() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  wait 2>/dev/null || true
}
started() { pids+=("$1"); }

# Starts Xvfb with a screen of the given size (e.g. 1024x768) on a free display and exports DISPLAY.
start_x() {
  local number
  number="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$number" 2>/dev/null &
  started $!
  for _ in $(seq 100); do
    grep -q . "$number" && break
    sleep 0.1
  done
  DISPLAY=":$(head -n1 "$number")"
  rm -f "$number"
  [ "$DISPLAY" != ":" ] || { echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY
}

# Waits for a shown window titled "OrvelIRC" other than the ones named, and prints its id.
wait_window() {
  local w
  for _ in $(seq 400); do
    for w in $(xdotool search --onlyvisible --name '^OrvelIRC$' 2>/dev/null); do
      [[ " $* " == *" $w "* ]] || { echo "$w"; return 0; }
    done
    sleep 0.05
  done
  echo "no new OrvelIRC window appeared" >&2
  return 1
}

# Gives the window the keyboard and presses the keys (xdotool key names).
keys() { local w="$1"; shift; xdotool windowfocus --sync "$w" key --delay 20 "$@"; }
# Gives the window the keyboard and types the text, then Enter.
type_line() { xdotool windowfocus --sync "$1" type --delay 5 "$2"; xdotool key Return; }
