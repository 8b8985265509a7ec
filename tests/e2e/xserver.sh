# Shared by the end-to-end scripts (sourced, not run): a fresh work folder, an X server (Xvfb) with
# a small window manager, and the helpers that drive windows with real X input (xdotool).
# The sourcing script's own arguments are read here: <binary> <scenario> [folder for screenshots];
# it may set APID to the program it starts.
BINARY=$(readlink -f "$1")
SCENARIO=$2
SHOTS=${3:-}
WORK=$(mktemp -d)
XPID=""
WMPID=""
APID=""
cleanup() {
    [ -n "$APID" ] && kill "$APID" 2>/dev/null
    [ -n "$WMPID" ] && kill "$WMPID" 2>/dev/null
    [ -n "$XPID" ] && kill "$XPID" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL [$SCENARIO]: $*" >&2
    # What the program printed (a sanitizer's report among it) belongs to the failure.
    for log in "$WORK/program.log" "$WORK/harness.log"; do
        [ -s "$log" ] && tail -60 "$log" >&2
    done
    shot "failure"
    exit 1
}

# A screenshot of the whole screen, taken by the suite's own tool (KT_SCREENSHOT, set by CTest).
shot() {
    [ -n "$SHOTS" ] && [ -n "${KT_SCREENSHOT:-}" ] || return 0
    mkdir -p "$SHOTS"
    "$KT_SCREENSHOT" "$SHOTS/e2e-$SCENARIO-$1.png" >/dev/null 2>&1
    return 0
}

# ---- the X server and the window manager ----
# Several scenarios start their servers at once: two servers can race for one display number and
# the loser exits, so a server that dies before it reports its display is started again.
start_xvfb() {
    local f="$WORK/display" _
    : >"$f"
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$f" >>"$WORK/xvfb.log" 2>&1 &
    XPID=$!
    for _ in $(seq 1 300); do
        DISPLAY_NR=$(head -1 "$f" 2>/dev/null)
        [ -n "$DISPLAY_NR" ] && return 0
        kill -0 "$XPID" 2>/dev/null || break
        sleep 0.1
    done
    kill "$XPID" 2>/dev/null
    wait "$XPID" 2>/dev/null
    XPID=""
    return 1
}
DISPLAY_NR=""
for _ in 1 2 3 4 5; do
    start_xvfb && break
    sleep 0.$((RANDOM % 9 + 1))
done
[ -n "$DISPLAY_NR" ] || { cat "$WORK/xvfb.log" >&2; fail "Xvfb did not start"; }
export DISPLAY=":$DISPLAY_NR"
openbox >"$WORK/wm.log" 2>&1 &
WMPID=$!
sleep 0.5

# Waits for a visible window whose title matches; prints its id.
wait_window() {
    local id=""
    for _ in $(seq 1 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Number of windows the window manager shows.
window_count() { wmctrl -l | wc -l; }

settle() { sleep "${1:-0.6}"; }

# Clicks at a point given in the window's own coordinates.
click_in() { # window x y
    xdotool mousemove --window "$1" "$2" "$3" click 1
    settle 0.4
}

key() { xdotool key --delay 120 "$@"; settle 0.3; }
type_text() { xdotool type --delay 90 "$1"; settle 0.2; }

