#!/bin/sh
# Measures the real Coilrush binary on its own Xvfb display, as a player's
# machine would run it: SDL2's software renderer, no sound card (the game falls
# back to silent output), 60 frames a second.
#
#   tools/measure.sh [BUILD_DIR] [SECONDS]     default: build, 10 s per phase
#
# Reports, for the document docs/performance.md:
#   - exec -> window mapped, and exec -> first frame on the screen (the first
#     moment the X server shows the menu title's pixels, polled with
#     XGetImage), over several cold starts;
#   - peak memory (VmHWM from /proc, and /usr/bin/time's maximum RSS);
#   - CPU share of one core on the menu and while playing (utime + stime from
#     /proc/<pid>/stat over SECONDS each);
#   - frame times on the menu and while playing, from the game's own frame
#     log (COILRUSH_FRAME_LOG: one line per frame, the time between the ends
#     of two paced frames): mean, standard deviation, extremes.
# Needs Xvfb, xdotool and python3 (scripts/install-deps.sh test installs them).
set -eu
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$repo/build}
seconds=${2:-10}
build=$(cd "$build" && pwd)
if [ ! -x "$build/coilrush" ]; then
    echo "no game at $build/coilrush: build it first (cmake --build $build --target coilrush)" >&2
    exit 2
fi
exec /usr/bin/python3 -B - "$build/coilrush" "$repo/assets" "$seconds" "$repo/tests/e2e" <<'PYTHON'
import os
import platform
import statistics
import subprocess
import sys
import time

game_path, assets, seconds, helpers = sys.argv[1], sys.argv[2], float(sys.argv[3]), sys.argv[4]
sys.path.insert(0, helpers)
import harness  # noqa: E402
from harness import DARKGREEN, GAME_OVER_BOX, HUD_BOX, PURPLE, RED, TITLE_BOX  # noqa: E402

CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
STARTS = 10


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as file:
        fields = file.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime, stime


def status_kib(pid, key):
    with open("/proc/%d/status" % pid) as file:
        for line in file:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    return None


def frame_lines(path):
    with open(path) as file:
        return [float(line) for line in file if line.strip()]


def spread(values):
    ordered = sorted(values)
    return {
        "frames": len(values),
        "mean": statistics.fmean(values),
        "stdev": statistics.pstdev(values),
        "min": ordered[0],
        "p99": ordered[min(len(ordered) - 1, int(len(ordered) * 0.99))],
        "max": ordered[-1],
    }


def machine():
    model = "?"
    with open("/proc/cpuinfo") as file:
        for line in file:
            if line.startswith("model name"):
                model = line.split(":", 1)[1].strip()
                break
    sdl = subprocess.run(["pkg-config", "--modversion", "sdl2"], capture_output=True, text=True).stdout.strip()
    return "%d cores (nproc), %s, kernel %s, SDL %s" % (os.cpu_count(), model, platform.release(), sdl or "?")


def fresh_sandbox():
    sandbox = harness.Sandbox()
    sandbox.install_assets(assets)
    return sandbox


def cold_starts(server, extra_env=None):
    """exec -> window mapped and exec -> menu on the screen, STARTS times."""
    mapped, shown, peaks = [], [], []
    display = server.display
    env = harness.game_environment(server.name, extra_env)
    for _ in range(STARTS):
        sandbox = fresh_sandbox()
        rss_file = os.path.join(sandbox.root, "time.txt")
        started = time.monotonic()
        process = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", rss_file, game_path], cwd=sandbox.cwd,
                                   env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # Polled with short naps, so the poller leaves the game and Xvfb their CPU.
        window = None
        while window is None:
            window = display.find_viewable_window("Coilrush")
            time.sleep(0.001)
        mapped.append(time.monotonic() - started)
        while True:
            picture = display.grab(window, TITLE_BOX)
            if picture is not None and picture.count(DARKGREEN) >= 300:
                break
            time.sleep(0.001)
        shown.append(time.monotonic() - started)
        subprocess.run(["xdotool", "key", "Escape"], env=env, check=True)
        process.wait(10)
        with open(rss_file) as file:
            peaks.append(int(file.read().split()[-1]))
        sandbox.remove()
        time.sleep(0.2)  # let the server forget the old window
    return mapped, shown, peaks


def phase(game, name):
    """CPU share over `seconds` of the screen now showing, and when they were."""
    time.sleep(1.0)  # let the screen settle before measuring it
    before_cpu, before = cpu_seconds(game.process.pid), time.monotonic()
    time.sleep(seconds)
    after_cpu, after = cpu_seconds(game.process.pid), time.monotonic()
    return {"name": name, "cpu": (after_cpu - before_cpu) / (after - before), "window": (before, after)}


def add_frame_times(result, frames, first_frame_end):
    """The logged frames that ended inside the phase's window.

    The log is buffered, so it is read once the game has exited; each line is
    the time since the previous frame ended, so adding them up from the first
    frame's end (seen on the screen) places every frame in time.
    """
    start, end = result["window"]
    ended, inside = first_frame_end, []
    for milliseconds in frames:
        ended += milliseconds / 1000
        if start <= ended <= end:
            inside.append(milliseconds)
    result.update(spread(inside))


def measured_run(server):
    for attempt in range(3):
        sandbox = fresh_sandbox()
        log_path = os.path.join(sandbox.root, "frames.txt")
        game = harness.Game(server, game_path, sandbox.cwd, os.path.join(sandbox.root, "game.log"),
                            {"COILRUSH_FRAME_LOG": log_path})
        try:
            game.wait_for_picture(TITLE_BOX, lambda p: p.count(DARKGREEN) >= 300, "the menu")
            first_frame_end = time.monotonic()
            game.hover(500, 200)  # away from the buttons
            menu = phase(game, "menu")
            game.hover(*harness.button_centre(1))
            game.wait_for_picture(harness.BUTTON_FACES_BOX, lambda p: p.at(405, 445) == 0xE62937, "hover")
            game.xdotool("click", "1")
            game.wait_for_picture(HUD_BOX, lambda p: p.count(PURPLE) > 50, "the playing screen")
            play = phase(game, "playing")
            if game.grab(GAME_OVER_BOX).count(RED) > 100:
                print("(the snake met a skull during the measurement; measuring again)", file=sys.stderr)
                continue
            peak = status_kib(game.process.pid, "VmHWM")
            game.keys("Escape")
            status = game.wait_exit("Escape")
            frames = frame_lines(log_path)
            add_frame_times(menu, frames, first_frame_end)
            add_frame_times(play, frames, first_frame_end)
            return menu, play, peak, status
        finally:
            game.stop()
            sandbox.remove()
    raise SystemExit("the snake died in every measured game")


server = harness.XServer()
try:
    mapped, shown, start_peaks = cold_starts(server)
    # The same with SDL told to use its silent driver at once: the difference
    # is what probing for a sound card costs on a machine that has none.
    _, shown_silent, _ = cold_starts(server, {"SDL_AUDIODRIVER": "dummy"})
    menu, play, peak, status = measured_run(server)
finally:
    server.stop()

ms = lambda values: "median %.0f ms (min %.0f, max %.0f)" % (
    statistics.median(values) * 1000, min(values) * 1000, max(values) * 1000)
print("Machine: %s" % machine())
print("Game: %s (exit status %s)" % (game_path, status))
print()
print("exec -> window mapped:         %s over %d starts" % (ms(mapped), len(mapped)))
print("exec -> first frame on screen: %s over %d starts   (target < 150 ms)" % (ms(shown), len(shown)))
print("    each start: %s ms" % " ".join("%.0f" % (v * 1000) for v in shown))
print("    with SDL_AUDIODRIVER=dummy (no sound-card probe): %s; each: %s ms" % (
    ms(shown_silent), " ".join("%.0f" % (v * 1000) for v in shown_silent)))
print("peak RSS: %.1f MB (VmHWM, menu + %g s of play); %.1f MB max over the cold starts (/usr/bin/time %%M)"
      "   (target < 40 MB)" % (peak / 1024, seconds, max(start_peaks) / 1024))
for result, target in ((menu, "< 5%"), (play, "< 10%")):
    print("%-8s CPU %.1f%% of one core over %g s (target %s); frame time mean %.3f ms, std dev %.3f ms "
          "(target < 0.3 ms), min %.3f, p99 %.3f, max %.3f, %d frames"
          % (result["name"] + ":", result["cpu"] * 100, seconds, target, result["mean"], result["stdev"],
             result["min"], result["p99"], result["max"], result["frames"]))
PYTHON
