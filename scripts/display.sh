# Starts Xvfb when there is no display (CI, a terminal without X); sourced.
display_pid=

start_display_if_needed() {
  [ -n "${DISPLAY:-}" ] && return
  local number
  for number in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    display_pid=$!
    export DISPLAY=":$number"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$number" ] && return; sleep 0.1; done
  done
  echo "display: could not start Xvfb" >&2
  return 1
}

stop_display() {
  [ -n "$display_pid" ] && kill "$display_pid" 2>/dev/null || true
}
