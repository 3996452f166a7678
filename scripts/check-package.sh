#!/usr/bin/env bash
# Builds the Debian package from the build folder, unpacks it into a scratch root and runs the
# unpacked program as a new user would: from an empty home, by its desktop entry's command. It
# must fill its working folder, ask the setup questions, restart itself when they are answered,
# show its frame and leave through File > Exit.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
id=io.github.orvelirc.OrvelIRC
scratch="$(mktemp -d)"
source "$here/scripts/xsession.sh"
trap 'stop_started; rm -rf "$scratch"' EXIT
fail() {
  echo "check-package: $*" >&2
  [ ! -s "$scratch/output" ] || { echo "program output:" >&2; cat "$scratch/output" >&2; }
  exit 1
}

cd "$here/build"
rm -f orvelirc_*.deb
cpack -G DEB >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
deb="$(ls orvelirc_*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
[[ "$depends" == *libqt6widgets6* ]] || fail "no Qt in Depends: $depends"
! grep -Eq 'ngircd|xvfb|xdotool|libqt6test|-dev\b' <<<"$depends" || fail "build or test tools in Depends: $depends"
recommends="$(dpkg-deb -f "$deb" Recommends)"
[[ "$recommends" == *xdg-utils* && "$recommends" == *pavucontrol* ]] || fail "Recommends lacks the desktop helpers: $recommends"

root="$scratch/root"
dpkg -x "$deb" "$root"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null ||
  fail "metainfo does not validate"
desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop entry does not validate"
for size in 16 22 24 32 48 64 128 256; do
  [ -s "$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png" ] || fail "no $size px icon"
done

mkdir "$scratch/home" "$scratch/data"
command="$(sed -n 's/^Exec=//p' "$root/usr/share/applications/$id.desktop")"
start_x 1024x768
env -u ORVELIRC_HOME HOME="$scratch/home" XDG_DATA_HOME="$scratch/data" PATH="$root/usr/bin:$PATH" \
  $command >"$scratch/output" 2>&1 &
first=$!
started $first

# The first question of the setup wizard, carrying the program's icon and window class.
question="$(wait_window)"
diff -r "$root/usr/share/orvelirc" "$scratch/data/orvelirc" >/dev/null || fail "working folder not filled"
[[ "$(xprop -id "$question" WM_CLASS)" == *'"orvelirc", "OrvelIRC"'* ]] || fail "wrong window class"
[[ "$(xprop -id "$question" _NET_WM_ICON)" == *'Icon (16 x 16)'* ]] || fail "no window icon"
seen=""
for answer in orvel orvel_ "Orvel User" orvel 127.0.0.1 6667 away back bye; do
  question="$(wait_window $seen)"
  type_line "$question" "$answer"
  seen="$seen $question"
done
options="$(wait_window $seen)"
keys "$options" Escape
message="$(wait_window $seen $options)"
keys "$message" Return
wait "$first" || fail "the first run did not end cleanly"

# The restarted program finds the answers and shows its frame at once (its windows may reuse
# the ids of the first run's, which are all gone now).
frame="$(wait_window)"
restarted="$(xdotool getwindowpid "$frame")"
[ "$restarted" != "$first" ] || fail "the program did not restart"
[ "$(readlink "/proc/$restarted/exe")" = "$root/usr/bin/orvelirc" ] || fail "restarted another program"
[ "$(cat "$scratch/data/orvelirc/nick.msg")" = $'orvel\r' ] || fail "answers not kept"
keys "$frame" alt+f x
# Not our child: once gone it may linger as a zombie until its new parent reaps it.
running() { [ -e "/proc/$1" ] && ! grep -q '^State:[[:space:]]*Z' "/proc/$1/status" 2>/dev/null; }
for _ in $(seq 100); do
  running "$restarted" || break
  sleep 0.1
done
! running "$restarted" || { kill "$restarted"; fail "the program did not leave by File > Exit"; }
grep -q '^MainWidth=' "$scratch/home/.config/OrvelIRC/OrvelIRC.conf" || fail "the frame did not save its place"
echo "check-package: $deb installs, starts from an empty home, restarts after setup and exits"
