# Sourced by scripts/run, scripts/sanitize and scripts/soak: a private Xvfb screen, the program started on it
# from a run folder, and the scripted input (a drag that centres the canoe, every stroke key, both changes
# of hands). The caller sets what it needs before sourcing: nothing else.

# Starts Xvfb on a display it picks itself (-displayfd), so that two scripts started at once never share
# one; sets DISPLAY and xvfb_pid.
start_xvfb() {
  local ready
  ready="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$ready" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    if [ -s "$ready" ]; then
      export DISPLAY=":$(tr -dc '0-9' <"$ready")"
      rm -f "$ready"
      return 0
    fi
    sleep 0.1
  done
  rm -f "$ready"
  echo "Xvfb did not start" >&2
  return 1
}

stop_xvfb() {
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}

# Waits up to $1 seconds for the program's window; false if the process $2 ended first.
wait_for_window() {
  local deadline=$((SECONDS + $1))
  while [ "$SECONDS" -lt "$deadline" ]; do
    kill -0 "$2" 2>/dev/null || return 1
    xdotool search --onlyvisible --name canoe >/dev/null 2>&1 && return 0
    sleep 0.2
  done
  return 1
}

# A left drag of $1 pixels across the middle of the screen (320 brings the canoe to the centre).
drag_left() {
  xdotool mousemove 900 512 mousedown 1
  local steps=8
  for i in $(seq $steps); do
    xdotool mousemove $((900 - $1 * i / steps)) 512
    sleep 0.05
  done
  xdotool mouseup 1
}

# Every stroke key once, $1 seconds apart. The paddle starts in the left hand: w asks for the first change
# of hands, Up (a stroke on the left) for the second; each change gets $2 seconds to play out.
press_every_stroke() {
  for key in w d s a space Up Right Down Left space; do
    xdotool key "$key"
    case "$key" in
      w | Up) sleep "$2" ;;
      *) sleep "$1" ;;
    esac
  done
}

# A screenshot of the whole screen as PNG.
screenshot() {
  xwd -root -silent | convert xwd:- "$1"
}
