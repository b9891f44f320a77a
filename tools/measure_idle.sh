#!/usr/bin/env bash
# Measures the SDL2 layer at idle under a private Xvfb: time from exec to the
# first shown frame, peak memory, CPU use over 10 s and the spread of frame
# times, against the targets the game is held to.
#
#   tools/measure_idle.sh [build-dir]      (default: build)
#
# Needs the coilrush_idle_loop target built in that directory, Xvfb and
# GNU time (/usr/bin/time).
set -euo pipefail

build_dir=${1:-build}
program="$build_dir/tests/platform/coilrush_idle_loop"
run_seconds=12
cpu_window=10
[[ -x "$program" ]] || { echo "missing $program: build target coilrush_idle_loop" >&2; exit 1; }
[[ -x /usr/bin/time ]] || { echo "needs GNU time at /usr/bin/time" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    if [[ -n "$xvfb_pid" ]]; then kill "$xvfb_pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own; Xvfb writes the number it picked to fd 3.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.1; done
[[ -s "$work/display" ]] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(cat "$work/display")"
export DBUS_SESSION_BUS_ADDRESS=disabled:

COILRUSH_FRAME_LOG="$work/frames.txt" COILRUSH_LAUNCH_TIME=$EPOCHREALTIME \
    /usr/bin/time -v -o "$work/time.txt" "$program" "$run_seconds" >"$work/out.txt" 2>"$work/err.txt" &
time_pid=$!

program_pid=""
for _ in $(seq 50); do
    program_pid=$(pgrep -P "$time_pid" || true)
    [[ -n "$program_pid" ]] && break
    sleep 0.02
done
[[ -n "$program_pid" ]] || { echo "program did not start" >&2; exit 1; }

cpu_ticks() { awk '{print $14 + $15}' "/proc/$program_pid/stat"; }
sleep 1
ticks_before=$(cpu_ticks)
sleep "$cpu_window"
ticks_after=$(cpu_ticks)
wait "$time_pid"

clock_ticks=$(getconf CLK_TCK)
cpu_percent=$(awk -v d=$((ticks_after - ticks_before)) -v hz="$clock_ticks" -v s="$cpu_window" \
    'BEGIN { printf "%.1f", d / hz / s * 100 }')
startup_ms=$(awk '/^first-frame-ms/ {print $2}' "$work/out.txt")
rss_mb=$(awk -F: '/Maximum resident set size/ {printf "%.1f", $2 / 1024}' "$work/time.txt")
# The first half second holds start-up work; measure the steady state.
read -r frames mean_ms stddev_ms min_ms max_ms < <(awk 'NR > 30 {
        n++; sum += $1; sq += $1 * $1
        if (n == 1 || $1 < lo) lo = $1
        if (n == 1 || $1 > hi) hi = $1
    } END {
        mean = sum / n; var = sq / n - mean * mean; if (var < 0) var = 0
        printf "%d %.3f %.3f %.3f %.3f\n", n, mean, sqrt(var), lo, hi
    }' "$work/frames.txt")

verdict() { awk -v v="$1" -v limit="$2" 'BEGIN { print (v < limit) ? "ok" : "OVER" }'; }
printf '%-26s %10s   target\n' measure value
printf '%-26s %10s   < 150 ms  %s\n' "exec to first frame (ms)" "$startup_ms" "$(verdict "$startup_ms" 150)"
printf '%-26s %10s   < 40 MB   %s\n' "peak RSS (MB)" "$rss_mb" "$(verdict "$rss_mb" 40)"
printf '%-26s %10s   < 5 %%     %s\n' "CPU over ${cpu_window} s (%)" "$cpu_percent" "$(verdict "$cpu_percent" 5)"
printf '%-26s %10s   < 0.3 ms  %s\n' "frame time std dev (ms)" "$stddev_ms" "$(verdict "$stddev_ms" 0.3)"
printf '%-26s %10s\n' "frame time mean (ms)" "$mean_ms"
printf '%-26s %10s\n' "frame time min/max (ms)" "$min_ms/$max_ms"
printf '%-26s %10s\n' "frames measured" "$frames"
