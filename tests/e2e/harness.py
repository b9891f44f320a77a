"""Runs the real Coilrush binary on its own Xvfb display and watches its window.

Each scenario gets a fresh X server (a free display number chosen by Xvfb
itself through -displayfd), a fresh working directory holding the pictures
and sounds the scenario asks for and the prepared best-score file, and the
game process started there. Input goes through xdotool (XTEST, as a real
keyboard and mouse would); what the game shows is read back from the X server
and judged by the colours at known places of its 1000 x 1000 window.

Nothing waits a fixed time for the game: every check polls the window until
what it expects shows up or a deadline passes.
"""

import ctypes
import os
import shutil
import signal
import struct
import subprocess
import tempfile
import time
import zlib

import x11

_libc = ctypes.CDLL(None, use_errno=True)
PR_SET_PDEATHSIG = 1


def die_with_parent():
    """Runs in the child before exec: if the suite is killed (a CTest
    timeout, say), its X server and game go with it instead of lingering."""
    _libc.prctl(PR_SET_PDEATHSIG, signal.SIGKILL, 0, 0, 0)

# ---- What the game draws, in window coordinates ----------------------------

RAYWHITE = (245, 245, 245)
LIGHTGRAY = (200, 200, 200)
GRAY = (130, 130, 130)
DARKGRAY = (80, 80, 80)
BLACK = (0, 0, 0)
RED = (230, 41, 55)
GREEN = (0, 228, 48)
DARKGREEN = (0, 117, 44)
PURPLE = (200, 122, 255)
BLUE = (0, 121, 241)
DARKBLUE = (0, 82, 172)
ORANGE = (255, 161, 0)
GOLD = (255, 203, 0)

WINDOW_SIZE = 1000
WHOLE_WINDOW = (0, 0, WINDOW_SIZE, WINDOW_SIZE)

TITLE_BOX = (200, 320, 800, 372)              # "ZK COILRUSH", centred, size 50
MENU_SCORE_BOX = (420, 690, 800, 716)         # "High Score: %d" on the menu, size 25
HUD_SCORE_BOX = (10, 10, 300, 32)             # "Score: %d" while playing, size 20
HUD_BOX = (10, 10, 300, 92)                   # the three status lines
PAUSED_BOX = (420, 460, 800, 512)             # "PAUSED", size 50
PAUSE_HINTS_BOX = (380, 520, 900, 592)        # the two "Press ..." lines, size 30
GAME_OVER_BOX = (360, 460, 760, 502)          # " GAME OVER ", size 40
NEW_RECORD_BOX = (380, 420, 800, 452)         # "NEW HIGH SCORE!", size 30
SNAKE_ROW_BOX = (0, 500, WINDOW_SIZE, 520)    # the row the snake starts in

BUTTON_TOPS = {1: 440, 2: 500, 3: 560, 4: 620}
HOVER_COLOURS = {1: RED, 2: GREEN, 3: PURPLE, 4: BLUE}
UNLOCKED_ABOVE = {1: None, 2: 99, 3: 299, 4: 499}


def button_centre(level):
    return (500, BUTTON_TOPS[level] + 25)


# A one-pixel column through the face points of all four buttons.
BUTTON_FACES_BOX = (405, 445, 406, 626)


def button_face_point(level):
    """A point of the button face that no label or lock mark covers."""
    return (405, BUTTON_TOPS[level] + 5)


def lock_mark_box(level):
    top = BUTTON_TOPS[level]
    return (520, top + 15, 600, top + 36)


def is_unlocked(level, best_score):
    above = UNLOCKED_ABOVE[level]
    return above is None or best_score > above


ASSET_FILES = [
    "apple.png", "pineapple.png", "watermelon.png", "Skull.png",
    "map/level1map.png", "map/level2map.png", "map/level3map.png", "map/level4map.png",
    "soundeffect/cartoonbite.mp3", "soundeffect/gameover.mp3", "soundeffect/game-music-loop-7.mp3",
]


class ScenarioFailure(Exception):
    pass


class ScenarioSkipped(Exception):
    pass


def check(condition, message):
    if not condition:
        raise ScenarioFailure(message)


def describe_colour(value):
    return "(%d, %d, %d)" % x11.rgb(value)


# ---- A small PNG reader, for comparing the level background ----------------

def read_png(path):
    """(width, height, rows of (r, g, b)) of an 8-bit, non-interlaced PNG, or None."""
    try:
        with open(path, "rb") as file:
            data = file.read()
    except OSError:
        return None
    if not data.startswith(b"\x89PNG\r\n\x1a\n"):
        return None
    offset, idat, header, palette = 8, [], None, None
    while offset + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[offset:offset + 8])
        body = data[offset + 8:offset + 8 + length]
        offset += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    if header is None:
        return None
    width, height, depth, colour_type, _, _, interlace = header
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}.get(colour_type)
    if depth != 8 or interlace != 0 or channels is None or width * height > 4_000_000:
        return None
    try:
        raw = zlib.decompress(b"".join(idat))
    except zlib.error:
        return None
    stride = width * channels
    previous = bytearray(stride)
    rows = []
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + ((left + up) >> 1)) & 0xFF
            elif kind == 4:
                corner = previous[i - channels] if i >= channels else 0
                guess = left + up - corner
                pa, pb, pc = abs(guess - left), abs(guess - up), abs(guess - corner)
                nearest = left if pa <= pb and pa <= pc else (up if pb <= pc else corner)
                line[i] = (line[i] + nearest) & 0xFF
        previous = line
        if colour_type == 3:
            rows.append([palette[v] for v in line])
        elif colour_type in (0, 4):
            rows.append([(line[i],) * 3 for i in range(0, stride, channels)])
        else:
            rows.append([tuple(line[i:i + 3]) for i in range(0, stride, channels)])
    return width, height, rows


class Background:
    """Where the level picture, stretched over the window, shows which colour.

    Sample points sit in the middle of the stretched source pixels, so any
    sensible nearest-pixel stretch gives exactly the source colour there.
    """

    def __init__(self, png_path, samples_per_axis=16):
        picture = read_png(png_path)
        self.points = []
        if picture is None:
            return
        width, height, rows = picture
        for j in range(samples_per_axis):
            for i in range(samples_per_axis):
                sx = (i * width) // samples_per_axis
                sy = (j * height) // samples_per_axis
                x = int((sx + 0.5) * WINDOW_SIZE / width)
                y = int((sy + 0.5) * WINDOW_SIZE / height)
                r, g, b = rows[sy][sx][:3]
                self.points.append((x, y, (r << 16) | (g << 8) | b))

    def usable(self):
        """Only a picture that is mostly unlike the cleared window tells the two apart."""
        plain = x11.pixel_value(RAYWHITE)
        return len(self.points) > 0 and sum(v == plain for _, _, v in self.points) < len(self.points) // 4

    def match_share(self, picture):
        hits = sum(picture.at(x, y) == v for x, y, v in self.points)
        return hits / len(self.points)

    def cleared_share(self, picture, skip_boxes=()):
        """Share of the sample points outside skip_boxes that show the cleared window."""
        plain = x11.pixel_value(RAYWHITE)
        points = [(x, y) for x, y, _ in self.points
                  if not any(x0 <= x < x1 and y0 <= y < y1 for x0, y0, x1, y1 in skip_boxes)]
        return sum(picture.at(x, y) == plain for x, y in points) / len(points)


# ---- The X server ----------------------------------------------------------

def require_tool(name):
    path = shutil.which(name)
    if path is None:
        raise ScenarioFailure("%s is not installed (scripts/install-deps.sh test installs it)" % name)
    return path


class XServer:
    def __init__(self):
        require_tool("Xvfb")
        reader, writer = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(writer), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=(writer,), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, preexec_fn=die_with_parent)
        os.close(writer)
        number = b""
        deadline = time.monotonic() + 15
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            chunk = os.read(reader, 16)
            if not chunk:
                break
            number += chunk
        os.close(reader)
        if not number.strip().isdigit():
            self.stop()
            raise ScenarioFailure("Xvfb did not report a display number")
        self.name = ":" + number.decode().strip()
        self.display = x11.Display(self.name)

    def stop(self):
        if getattr(self, "display", None) is not None:
            self.display.close()
            self.display = None
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


# ---- The game --------------------------------------------------------------

def game_environment(display_name, extra=None):
    env = {k: v for k, v in os.environ.items() if not k.startswith("SDL_")}
    env.update({"DISPLAY": display_name, "DBUS_SESSION_BUS_ADDRESS": "disabled:",
                "SDL_VIDEODRIVER": "x11"})
    env.update(extra or {})
    return env


class Game:
    """One run of the game binary in its own directory on its own display."""

    def __init__(self, server, executable, directory, log_path, extra_env=None, run_as=None):
        self.server = server
        self.display = server.display
        self.directory = directory
        self.log_path = log_path
        self.env = game_environment(server.name, extra_env)
        command = [executable]
        if run_as is not None:
            command = run_as + command
        self.log = open(log_path, "wb")
        self.started_at = time.monotonic()
        self.process = subprocess.Popen(command, cwd=directory, env=self.env, stdin=subprocess.DEVNULL,
                                        stdout=self.log, stderr=subprocess.STDOUT, preexec_fn=die_with_parent)
        self.window = None
        self.origin = None
        self.window = self.wait_until(lambda: self.display.find_viewable_window("Coilrush"),
                                      "the window titled Coilrush", timeout=20)
        box = self.display.window_box(self.window)
        check(box is not None, "the game window vanished right after it appeared")
        check(box[2:] == (WINDOW_SIZE, WINDOW_SIZE),
              "the window is %dx%d, not %dx%d" % (box[2], box[3], WINDOW_SIZE, WINDOW_SIZE))
        self.origin = box[:2]

    # -- process --

    def log_text(self):
        if not self.log.closed:
            self.log.flush()
        try:
            with open(self.log_path, "rb") as file:
                return file.read().decode(errors="replace")
        except OSError:
            return ""

    def exit_status(self):
        return self.process.poll()

    def wait_exit(self, what, timeout=10):
        try:
            status = self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise ScenarioFailure("the game did not exit within %d s after %s" % (timeout, what))
        self.log.close()
        return status

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGKILL)
            self.process.wait()
        if not self.log.closed:
            self.log.close()

    # -- waiting --

    def wait_until(self, probe, what, timeout=8, interval=0.01):
        """Polls probe() until it returns something true; returns that."""
        deadline = time.monotonic() + timeout
        last = None
        while True:
            status = self.process.poll()
            if status is not None:
                raise ScenarioFailure("the game exited with status %s while waiting for %s\n%s"
                                      % (status, what, self.log_text()))
            last = probe()
            if last:
                return last
            if time.monotonic() >= deadline:
                raise ScenarioFailure("timed out after %g s waiting for %s" % (timeout, what))
            time.sleep(interval)

    def grab(self, box=WHOLE_WINDOW):
        picture = self.display.grab(self.window, box)
        if picture is None:
            raise ScenarioFailure("could not read the game window back (is it gone?)")
        return picture

    def wait_for_picture(self, box, test, what, timeout=8):
        """The first picture of box that passes test."""
        def probe():
            picture = self.grab(box)
            return picture if test(picture) else None
        return self.wait_until(probe, what, timeout)

    # -- input --

    def xdotool(self, *arguments):
        result = subprocess.run(["xdotool"] + [str(a) for a in arguments], env=self.env,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=10)
        check(result.returncode == 0, "xdotool %s failed: %s" % (" ".join(map(str, arguments)),
                                                                 result.stdout.decode(errors="replace")))

    def hover(self, x, y):
        self.xdotool("mousemove", self.origin[0] + x, self.origin[1] + y)

    def click(self, x, y):
        self.xdotool("mousemove", self.origin[0] + x, self.origin[1] + y, "click", "1")

    def keys(self, *names):
        """Taps the keys one after another with no delay between them."""
        self.xdotool("key", "--delay", "0", *names)

    def request_close(self):
        check(self.display.request_close(self.window), "could not send WM_DELETE_WINDOW")


class Sandbox:
    """A scratch directory for one scenario: the game's working directory and logs."""

    def __init__(self, base=None):
        self.root = tempfile.mkdtemp(prefix="coilrush-e2e-", dir=base)
        os.chmod(self.root, 0o755)
        self.cwd = os.path.join(self.root, "cwd")
        os.mkdir(self.cwd)
        self.logs = os.path.join(self.root, "logs")
        os.mkdir(self.logs)
        self.count = 0

    def log_path(self, name):
        self.count += 1
        return os.path.join(self.logs, "%02d-%s.log" % (self.count, name))

    def path(self, name):
        return os.path.join(self.cwd, name)

    def install_assets(self, assets_dir):
        for name in ASSET_FILES:
            source = os.path.join(assets_dir, name)
            target = self.path(name)
            os.makedirs(os.path.dirname(target), exist_ok=True)
            shutil.copyfile(source, target)

    def write_best_score(self, content):
        """content: bytes for the file, or None for no file."""
        target = self.path("highscore.txt")
        if content is None:
            if os.path.exists(target):
                os.remove(target)
            return
        with open(target, "wb") as file:
            file.write(content)

    def read_best_score(self):
        try:
            with open(self.path("highscore.txt"), "rb") as file:
                return file.read()
        except FileNotFoundError:
            return None

    def listing(self):
        found = []
        for folder, _, files in os.walk(self.cwd):
            for name in files:
                found.append(os.path.relpath(os.path.join(folder, name), self.cwd))
        return sorted(found)

    def remove(self):
        for folder, dirs, _ in os.walk(self.root):
            for name in dirs:
                os.chmod(os.path.join(folder, name), 0o755)
        os.chmod(self.root, 0o755)
        shutil.rmtree(self.root, ignore_errors=True)
