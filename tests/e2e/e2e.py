#!/usr/bin/python3
"""End-to-end scenarios of Coilrush: the real binary on a real X server.

    e2e.py --game build/coilrush --assets assets --scenario record_restart_menu
    e2e.py --list

Exit status 0 when the scenario passed, 1 when it failed, 77 when it could
not run here (CTest reports that as skipped).
"""

import argparse
import os
import pwd
import random
import shutil
import signal
import struct
import subprocess
import sys
import time
import traceback
import zlib

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import harness  # noqa: E402
from harness import (  # noqa: E402
    BLACK, DARKBLUE, DARKGRAY, DARKGREEN, GAME_OVER_BOX, GOLD, GRAY, HUD_BOX, HUD_SCORE_BOX,
    LIGHTGRAY, MENU_SCORE_BOX, NEW_RECORD_BOX, ORANGE, PAUSED_BOX, PAUSE_HINTS_BOX, PURPLE, RAYWHITE,
    RED, SNAKE_ROW_BOX, TITLE_BOX, Background, Game, Sandbox, ScenarioFailure,
    ScenarioSkipped, XServer, check)
from x11 import pixel_value  # noqa: E402


class Inconclusive(Exception):
    """The board dealt a hand that hides what the scenario checks; run it again."""


def log(message):
    print("[%7.3f] %s" % (time.monotonic() - START, message), flush=True)


START = time.monotonic()

# ---- Reading the screens ---------------------------------------------------


def mask(picture, colour):
    """Where colour shows in a picture: the shape of a text, say."""
    wanted = pixel_value(colour)
    return frozenset(i for i, v in enumerate(picture.values) if v == wanted)


def wait_for_menu(game, timeout=8):
    return game.wait_for_picture(TITLE_BOX, lambda p: p.count(DARKGREEN) >= 300,
                                 "the menu title \"ZK COILRUSH\" in DARKGREEN", timeout)


def snake_head_x(picture):
    """Left edge of the widest DARKGREEN run in the snake's starting row, or None."""
    best = None
    wanted = pixel_value(DARKGREEN)
    for y in range(505, 515, 4):
        row = picture.row(y)
        x = 0
        while x < len(row):
            if row[x] == wanted:
                start = x
                while x < len(row) and row[x] == wanted:
                    x += 1
                if x - start >= 12 and (best is None or x - start > best[1]):
                    best = (start, x - start)
            x += 1
    return None if best is None else best[0]


def playing_head_x(game):
    """The snake's head in its starting row, or None; a game that has ended
    meanwhile (a skull placed in its path) makes the run inconclusive."""
    head = snake_head_x(game.grab(SNAKE_ROW_BOX))
    if head is None and game.grab(GAME_OVER_BOX).count(RED) > 100:
        raise Inconclusive("the game ended while the snake was watched (a skull in its path?)")
    return head


def wait_for_snake(game, what="the snake's DARKGREEN head in its starting row", timeout=8):
    return game.wait_until(lambda: playing_head_x(game), what, timeout)


def wait_for_snake_to_move(game, first, what="the snake moving along its row"):
    """The head's new place once it has left x = first."""
    def moved_head():
        head = playing_head_x(game)
        return head if head is not None and head != first else None
    return game.wait_until(moved_head, what)


def wait_for_board(game, background, timeout=8):
    """A playing frame: the level picture over the window and the status lines."""
    def probe():
        picture = game.grab()
        if picture.count(PURPLE, HUD_BOX) < 50:
            return None
        if background is not None and background.usable() and background.match_share(picture) < 0.8:
            return None
        return picture
    what = "the playing screen (PURPLE status lines%s)" % (
        " over the level picture" if background is not None and background.usable() else "")
    return game.wait_until(probe, what, timeout)


def check_only_colours(picture, allowed, screen):
    found = picture.colours()
    extra = found - {pixel_value(c) for c in allowed}
    check(not extra, "the %s shows colours it never draws: %s" % (
        screen, ", ".join(harness.describe_colour(v) for v in sorted(extra)[:8])))


def settled(game, examine, seconds=1.0):
    """The first whole-window picture that examine accepts within seconds.

    A grab can fall on the one frame in which a screen changes; the checks
    are repeated on later frames before a difference counts as a failure.
    """
    deadline = time.monotonic() + seconds
    while True:
        picture = game.grab()
        try:
            examine(picture)
            return picture
        except ScenarioFailure:
            if time.monotonic() >= deadline:
                raise
        time.sleep(0.01)


def wait_for_pause_screen(game, background):
    game.wait_for_picture(PAUSED_BOX, lambda p: p.count(ORANGE) > 100, "\"PAUSED\" in ORANGE")

    def examine(picture):
        check(picture.count(DARKGRAY, PAUSE_HINTS_BOX) > 100, "the pause hints in DARKGRAY are missing")
        check_only_colours(picture, [RAYWHITE, ORANGE, DARKGRAY], "pause screen")
        if background is not None and background.usable():
            check(background.cleared_share(picture, [PAUSED_BOX, PAUSE_HINTS_BOX]) == 1.0,
                  "the level picture still shows behind the pause texts")
        check(picture.count(PURPLE, HUD_BOX) == 0, "the status lines still show while paused")

    return settled(game, examine)


def wait_for_game_over(game, record):
    game.wait_for_picture(GAME_OVER_BOX, lambda p: p.count(RED) > 100, "\" GAME OVER \" in RED")

    def examine(picture):
        check_only_colours(picture, [RAYWHITE, RED, BLACK, GOLD, DARKGRAY, GRAY], "game-over screen")
        gold = picture.count(GOLD, NEW_RECORD_BOX)
        if record:
            check(gold > 100, "\"NEW HIGH SCORE!\" in GOLD is missing after a record")
        else:
            check(gold == 0, "\"NEW HIGH SCORE!\" shows although the score is no record")

    return settled(game, examine)


def hold(game, box, test, what, seconds):
    """Checks every picture of box for the given time."""
    deadline = time.monotonic() + seconds
    frames = 0
    while time.monotonic() < deadline:
        check(game.exit_status() is None, "the game exited while %s" % what)
        picture = game.grab(box)
        check(test(picture), "%s stopped after %.2f s" % (what, seconds - (deadline - time.monotonic())))
        frames += 1
        time.sleep(0.02)
    return frames


def crash_into_itself(game, score_zero):
    """Turns up and back at once, which sends the head into the neck.

    Moving right, Up then Left within one step reverses the snake. If the two
    taps straddle a step, the snake just turns twice and now moves left, so
    the next try uses Up then Right. Returns True when the score changed on the
    way (a fruit lay in the path), which makes the final score unknown.
    """
    scored = False
    for attempt in range(8):
        game.keys("Up", "Left" if attempt % 2 == 0 else "Right")
        deadline = time.monotonic() + 0.6
        while time.monotonic() < deadline:
            check(game.exit_status() is None, "the game exited during a double turn")
            if game.grab(GAME_OVER_BOX).count(RED) > 100:
                return scored
            if mask(game.grab(HUD_SCORE_BOX), PURPLE) != score_zero:
                if game.grab(GAME_OVER_BOX).count(RED) > 100:
                    return scored
                scored = True
            time.sleep(0.005)
        log("double turn %d did not end the game; trying the other way" % (attempt + 1))
    raise ScenarioFailure("eight quick double turns never ran the snake into itself")


def click_button(game, level):
    """Clicks a level button once the game has seen the mouse over it.

    SDL drops a click that comes within 10 ms of the window getting the
    input focus, so the mouse is brought in first and the click follows
    once the button has lit up.
    """
    game.hover(*harness.button_centre(level))
    colour = pixel_value(harness.HOVER_COLOURS[level])
    game.wait_for_picture(harness.BUTTON_FACES_BOX,
                          lambda p: p.at(*harness.button_face_point(level)) == colour,
                          "level %d lighting up under the mouse" % level)
    game.xdotool("click", "1")


def start_level(game, level, background):
    click_button(game, level)
    board = wait_for_board(game, background)
    head = wait_for_snake(game)
    log("level %d started: board shown, snake head at x=%d" % (level, head))
    return board, head


def background_of(args, level):
    return Background(os.path.join(args.assets, "map", "level%dmap.png" % level))


# ---- Scenario plumbing -----------------------------------------------------


class Run:
    """One X server and one scratch directory for a scenario."""

    opened = []  # every run a scenario started, so a failure still closes it

    def __init__(self, args):
        self.args = args
        self.closed = False
        self.server = XServer()
        self.sandbox = Sandbox()
        self.games = []
        Run.opened.append(self)
        log("Xvfb on display %s, working directory %s" % (self.server.name, self.sandbox.cwd))

    def save_screenshots(self):
        for game in self.games:
            if game.exit_status() is None and game.window is not None:
                picture = self.server.display.grab(game.window, harness.WHOLE_WINDOW)
                if picture is not None:
                    path = game.log_path[:-len(".log")] + "-last-screen.ppm"
                    picture.save_ppm(path)
                    print("last screen of the game: %s" % path)

    def start(self, extra_env=None, run_as=None, name="game"):
        game = Game(self.server, self.args.game, self.sandbox.cwd, self.sandbox.log_path(name),
                    extra_env, run_as)
        self.games.append(game)
        log("window up %.0f ms after exec, at %s on the screen" % (
            (time.monotonic() - game.started_at) * 1000, game.origin))
        return game

    def finish(self, passed):
        self.closed = True
        if not passed:
            self.save_screenshots()
        for game in self.games:
            game.stop()
        if not passed:
            for game in self.games:
                text = game.log_text().strip()
                if text:
                    print("---- game output (%s) ----\n%s" % (game.log_path, text))
        self.server.stop()
        if passed:
            self.sandbox.remove()
        else:
            print("kept the scratch folder %s" % self.sandbox.root)


def expect_clean_exit(game, what):
    status = game.wait_exit(what)
    check(status == 0, "the game exited with status %s after %s" % (status, what))
    text = game.log_text()
    check("Sanitizer" not in text and "runtime error" not in text,
          "the game's output reports a sanitizer finding:\n" + text)
    log("exited with status 0 after %s" % what)


def expect_zero_record(sandbox, what):
    """The file holds the record of a game that should have scored 0.

    A fruit eaten in the very step that ended the game is not always seen on
    the status line before the game-over screen replaces it (a busy machine
    samples the screen slowly). A file that then holds another well-formed
    record makes the run inconclusive, not failed; anything else fails.
    """
    found = sandbox.read_best_score()
    if found != b"0" and found is not None and found.isdigit() and not found.startswith(b"0"):
        raise Inconclusive("the game scored %s on its last step, so its record is not 0" % found)
    expect_file(sandbox, b"0", what)


def expect_file(sandbox, expected, what):
    found = sandbox.read_best_score()
    check(found == expected, "highscore.txt holds %r, expected %r %s" % (found, expected, what))


# ---- Scenarios: the screens ------------------------------------------------


def menu_locks(args, stored):
    """The menu offers exactly the levels the stored best score has unlocked."""
    run = Run(args)
    content = stored.encode()
    run.sandbox.install_assets(args.assets)
    run.sandbox.write_best_score(content)
    game = run.start()
    best = int(stored)
    wait_for_menu(game)
    menu = game.grab()
    for level in (2, 3, 4):
        marked = menu.count(GRAY, harness.lock_mark_box(level)) > 20
        check(marked != harness.is_unlocked(level, best),
              "level %d is %s but %s a \"LOCKED\" mark" % (
                  level, "unlocked" if harness.is_unlocked(level, best) else "locked",
                  "shows" if marked else "lacks"))
    check(menu.count(DARKBLUE, MENU_SCORE_BOX) > 50, "the best-score line in DARKBLUE is missing")

    def face(picture, level):
        return picture.at(*harness.button_face_point(level))

    def hover_until(level, test, what):
        game.hover(*harness.button_centre(level))
        return game.wait_for_picture(harness.BUTTON_FACES_BOX, test, what)

    hover_until(1, lambda p: face(p, 1) == pixel_value(RED), "level 1's button turning RED under the mouse")
    log("level 1 lights up RED under the mouse")
    for level in (2, 3, 4):
        if harness.is_unlocked(level, best):
            colour = pixel_value(harness.HOVER_COLOURS[level])
            picture = hover_until(level, lambda p, lv=level, c=colour: face(p, lv) == c,
                                  "unlocked level %d lighting up under the mouse" % level)
            others = [lv for lv in (1, 2, 3, 4) if lv != level and face(picture, lv) != pixel_value(LIGHTGRAY)]
            check(not others, "buttons %s stay lit while the mouse is on level %d" % (others, level))
            log("level %d is unlocked and lights up %s" % (level, harness.describe_colour(colour)))
        else:
            # Leaving level 1 turns it gray again: that frame has seen the mouse
            # on the locked button, which must still be gray in it.
            picture = hover_until(level, lambda p: face(p, 1) == pixel_value(LIGHTGRAY),
                                  "level 1 turning gray once the mouse left it")
            check(face(picture, level) == pixel_value(LIGHTGRAY),
                  "locked level %d lit up %s under the mouse" % (level, harness.describe_colour(face(picture, level))))
            hold(game, harness.BUTTON_FACES_BOX, lambda p, lv=level: face(p, lv) == pixel_value(LIGHTGRAY),
                 "locked level %d staying LIGHTGRAY under the mouse" % level, 0.3)
            game.click(*harness.button_centre(level))
            hover_until(1, lambda p: face(p, 1) == pixel_value(RED),
                        "the menu still answering after a click on locked level %d" % level)
            check(game.grab(HUD_BOX).count(PURPLE) == 0, "a click on locked level %d started a game" % level)
            log("level %d is locked: stays LIGHTGRAY under the mouse and ignores a click" % level)

    top = max(level for level in (1, 2, 3, 4) if harness.is_unlocked(level, best))
    start_level(game, top, background_of(args, top))
    game.keys("Escape")
    expect_clean_exit(game, "Escape during a game")
    expect_file(run.sandbox, content, "after a game left with Escape")
    return run


def play_pause_resume(args):
    """P hides the board behind the pause texts and freezes the snake; P resumes, M leaves."""
    run = Run(args)
    run.sandbox.install_assets(args.assets)
    game = run.start()
    background = background_of(args, 1)
    wait_for_menu(game)
    start_level(game, 1, background)
    # The snake moves right at 15 cells a second.
    first = wait_for_snake(game)
    moved = wait_for_snake_to_move(game, first)
    log("snake moved from x=%d to x=%d" % (first, moved))

    before = wait_for_snake(game)
    game.keys("p")
    wait_for_pause_screen(game, background)
    log("pause screen shows only its texts on RAYWHITE; the board is gone")
    frames = hold(game, PAUSED_BOX, lambda p: p.count(ORANGE) > 100, "the pause screen showing", 1.2)
    log("pause screen held for 1.2 s (%d looks)" % frames)
    game.keys("p")
    wait_for_board(game, background)
    after = wait_for_snake(game, "the snake back after resuming")
    travelled = (after - before) % harness.WINDOW_SIZE
    # Unpaused for those 1.2 s it would have gone 360 pixels further.
    check(travelled < 200, "the snake went on %d pixels while paused (x %d -> %d)" % (travelled, before, after))
    log("resumed where it stopped: x %d -> %d" % (before, after))

    game.keys("p")
    wait_for_pause_screen(game, background)
    game.keys("m")
    wait_for_menu(game)
    check(game.grab(HUD_BOX).count(PURPLE) == 0, "the status lines show on the menu")
    log("M on the pause screen leads to the menu")
    _, head = start_level(game, 1, background)
    check(500 <= head <= 700, "a new game from the menu starts the snake at x=%d, not near 500" % head)
    game.keys("Escape")
    expect_clean_exit(game, "Escape during a game")
    expect_file(run.sandbox, None, "(no game ended, so nothing may be written)")
    return run


def record_restart_menu(args):
    """A first game over beats the stored -5: the file gets exactly "0"; R and M work."""
    run = Run(args)
    run.sandbox.install_assets(args.assets)
    run.sandbox.write_best_score(b"-5")
    game = run.start()
    background = background_of(args, 1)
    wait_for_menu(game)
    menu_score_before = mask(game.grab(MENU_SCORE_BOX), DARKBLUE)
    board, _ = start_level(game, 1, background)
    score_zero = mask(game.grab(HUD_SCORE_BOX), PURPLE)
    if crash_into_itself(game, score_zero):
        raise Inconclusive("a fruit lay in the snake's path, so its final score is not 0")
    wait_for_game_over(game, record=True)
    expect_zero_record(run.sandbox, "after a game over with score 0 beat -5")
    check(run.sandbox.listing() == sorted(harness.ASSET_FILES + ["highscore.txt"]),
          "the save left extra files behind: %s" % run.sandbox.listing())
    log("game over with a record: \"NEW HIGH SCORE!\" in GOLD, highscore.txt holds b'0'")
    frames = hold(game, NEW_RECORD_BOX, lambda p: p.count(GOLD) > 100, "\"NEW HIGH SCORE!\" showing", 1.0)
    log("\"NEW HIGH SCORE!\" still shows after 1 s (%d looks)" % frames)

    game.keys("r")
    # Looked at first and in a small box: a fruit near the start may soon change it.
    game.wait_for_picture(HUD_SCORE_BOX, lambda p: mask(p, PURPLE) == score_zero,
                          "the restarted game's status line \"Score: 0\"")
    wait_for_board(game, background)
    head = wait_for_snake(game, "the restarted snake in its starting row")
    log("R restarted level 1: board shown, snake at x=%d, score 0" % head)
    second_scored = crash_into_itself(game, score_zero)
    if second_scored:
        log("a fruit lay in the second game's path; its result is not checked")
    else:
        wait_for_game_over(game, record=False)
        hold(game, NEW_RECORD_BOX, lambda p: p.count(GOLD) == 0, "no \"NEW HIGH SCORE!\" for an equal score", 0.5)
        expect_file(run.sandbox, b"0", "after a game over that only equalled the best score")
        log("second game over with score 0: no record, file unchanged")
    game.keys("m")
    wait_for_menu(game)
    check(mask(game.grab(MENU_SCORE_BOX), DARKBLUE) != menu_score_before,
          "the menu's best-score line still shows the old -5")
    log("M led to the menu, whose best-score line changed")
    game.keys("Escape")
    expect_clean_exit(game, "Escape on the menu")
    if not second_scored:
        expect_file(run.sandbox, b"0", "after leaving")
    return run


def first_click_counts(args):
    """A click that lands as the window gets the input focus still starts a game.

    With a click-to-focus window manager the click on an unfocused window
    arrives right after its FocusIn; here the same happens when the window
    opens under a waiting mouse and the click follows at once.
    """
    run = Run(args)
    run.sandbox.install_assets(args.assets)
    centred = ((1280 - harness.WINDOW_SIZE) // 2, (1024 - harness.WINDOW_SIZE) // 2)
    x, y = harness.button_centre(1)
    subprocess.run(["xdotool", "mousemove", str(centred[0] + x), str(centred[1] + y)],
                   env=harness.game_environment(run.server.name), check=True)
    game = run.start()
    check(game.origin == centred, "the window opened at %s, not centred at %s" % (game.origin, centred))
    game.xdotool("click", "1")
    game.wait_for_picture(HUD_BOX, lambda p: p.count(PURPLE) > 50,
                          "the game started by the click made as the window opened", timeout=3)
    log("the first click started level 1")
    game.keys("Escape")
    expect_clean_exit(game, "Escape during a game")
    return run


def escape_keeps_file(args):
    """Escape in the middle of a game exits 0 and leaves the file exactly as it was."""
    run = Run(args)
    run.sandbox.install_assets(args.assets)
    content = b"350"
    run.sandbox.write_best_score(content)
    stamp = 1_500_000_000
    os.utime(run.sandbox.path("highscore.txt"), (stamp, stamp))
    game = run.start()
    wait_for_menu(game)
    start_level(game, 1, background_of(args, 1))
    game.keys("Escape")
    expect_clean_exit(game, "Escape during a game")
    expect_file(run.sandbox, content, "after Escape")
    check(int(os.stat(run.sandbox.path("highscore.txt")).st_mtime) == stamp, "highscore.txt was rewritten")
    check(run.sandbox.listing() == sorted(harness.ASSET_FILES + ["highscore.txt"]),
          "the game left files behind: %s" % run.sandbox.listing())
    return run


def close_on(args, screen):
    """The window's close request ends the program with status 0 on any screen."""
    run = Run(args)
    run.sandbox.install_assets(args.assets)
    run.sandbox.write_best_score(b"-5")
    game = run.start()
    background = background_of(args, 1)
    wait_for_menu(game)
    expected = b"-5"
    if screen != "menu":
        start_level(game, 1, background)
    if screen == "paused":
        game.keys("p")
        wait_for_pause_screen(game, background)
    if screen == "game_over":
        scored = crash_into_itself(game, mask(game.grab(HUD_SCORE_BOX), PURPLE))
        if scored:
            raise Inconclusive("a fruit lay in the snake's path, so its final score is not 0")
        wait_for_game_over(game, record=True)
        expected = b"0"
    log("on the %s screen; asking the window to close (WM_DELETE_WINDOW)" % screen)
    game.request_close()
    expect_clean_exit(game, "a close request on the %s screen" % screen)
    if expected == b"0":
        expect_zero_record(run.sandbox, "after closing on the %s screen" % screen)
    else:
        expect_file(run.sandbox, expected, "after closing on the %s screen" % screen)
    return run


# ---- Scenarios: bad assets and faults ---------------------------------------


def huge_png(args):
    """A 10000 x 10000 red PNG, written once and kept in the work directory.

    Written here rather than with ImageMagick, whose default policy refuses
    a picture this large.
    """
    cached = os.path.join(args.work, "red-10000x10000.png")
    if not os.path.exists(cached):
        started = time.monotonic()
        partial = cached + ".%d.tmp" % os.getpid()
        write_solid_png(partial, 10000, 10000, (255, 0, 0))
        os.replace(partial, cached)
        log("wrote the 10000x10000 PNG in %.1f s" % (time.monotonic() - started))
    return cached


def write_solid_png(path, width, height, colour):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    row = b"\x00" + bytes(colour) * width  # filter byte 0, then the pixels
    packer = zlib.compressobj(6)
    with open(path, "wb") as file:
        file.write(b"\x89PNG\r\n\x1a\n")
        file.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        data = b"".join(packer.compress(row) for _ in range(height)) + packer.flush()
        file.write(chunk(b"IDAT", data))
        file.write(chunk(b"IEND", b""))


def prepare_assets(args, sandbox, variant):
    if variant == "missing":
        return
    sandbox.install_assets(args.assets)
    pngs = [n for n in harness.ASSET_FILES if n.endswith(".png")]
    mp3s = [n for n in harness.ASSET_FILES if n.endswith(".mp3")]
    if variant == "empty":
        for name in harness.ASSET_FILES:
            open(sandbox.path(name), "wb").close()
    elif variant == "truncated_png":
        for name in pngs:
            with open(sandbox.path(name), "rb+") as file:
                size = file.seek(0, os.SEEK_END)
                file.truncate(max(size // 2, 40))
    elif variant == "png_as_mp3":
        for name in mp3s:
            shutil.copyfile(sandbox.path("apple.png"), sandbox.path(name))
    elif variant == "huge_png":
        big = huge_png(args)
        shutil.copyfile(big, sandbox.path("map/level1map.png"))  # the picture level 1 draws


def bad_assets(args, variant, extra_env=None):
    """Whatever the files hold, the game starts on its menu, plays, and exits 0."""
    run = Run(args)
    prepare_assets(args, run.sandbox, variant)
    game = run.start(extra_env=extra_env)
    wait_for_menu(game, timeout=30)
    log("menu shown")
    click_button(game, 1)
    wait_for_board(game, None, timeout=30)
    first = wait_for_snake(game)
    wait_for_snake_to_move(game, first, "the snake moving")
    log("playing: status lines and a moving snake")
    if variant == "huge_png":
        bottom = game.grab((0, 980, 1000, 981))
        share = sum(bottom.at(x, 980) == pixel_value((255, 0, 0)) for x in range(5, 1000, 50)) / 20
        log("the huge red level picture covers %.0f%% of the bottom row samples" % (share * 100))
    game.keys("Escape")
    expect_clean_exit(game, "Escape during a game")
    return run


def nobody_prefix():
    """How to run a program as an unprivileged user, for a root test run."""
    try:
        entry = pwd.getpwnam("nobody")
    except KeyError:
        return None
    if shutil.which("setpriv") is None:
        return None
    # Changing the user clears the parent-death signal, so setpriv sets it again.
    return ["setpriv", "--reuid=%d" % entry.pw_uid, "--regid=%d" % entry.pw_gid, "--clear-groups",
            "--pdeathsig=KILL", "--"]


def read_only_directory(args):
    """A best score that cannot be saved still counts for the rest of the run."""
    run = Run(args)
    run.sandbox.install_assets(args.assets)
    run.sandbox.write_best_score(b"-5")
    for folder, dirs, files in os.walk(run.sandbox.cwd):
        for name in files:
            os.chmod(os.path.join(folder, name), 0o444)
    for folder, dirs, _ in os.walk(run.sandbox.cwd, topdown=False):
        for name in dirs:
            os.chmod(os.path.join(folder, name), 0o555)
    os.chmod(run.sandbox.cwd, 0o555)
    run_as = None
    if os.geteuid() == 0:
        # Root writes into a 0555 directory anyway: run the game as nobody.
        run_as = nobody_prefix()
        if run_as is None:
            raise ScenarioSkipped("running as root without setpriv or a 'nobody' user: cannot make the save fail")
        probe = subprocess.run(run_as + ["/bin/sh", "-c", 'test -x "$1" && test -r "$2/apple.png" && ! touch "$2/probe" 2>/dev/null',
                                         "probe", args.game, run.sandbox.cwd])
        if probe.returncode != 0:
            raise ScenarioSkipped("user nobody cannot run %s from %s, or can write there" % (args.game, run.sandbox.cwd))
        log("running the game as user nobody, since root may write anywhere")
    elif os.access(run.sandbox.cwd, os.W_OK):
        raise ScenarioSkipped("the 0555 directory is still writable for this user")
    listing = run.sandbox.listing()
    game = run.start(run_as=run_as)
    background = background_of(args, 1)
    wait_for_menu(game)
    menu_score_before = mask(game.grab(MENU_SCORE_BOX), DARKBLUE)
    start_level(game, 1, background)
    score_zero = mask(game.grab(HUD_SCORE_BOX), PURPLE)
    if crash_into_itself(game, score_zero):
        raise Inconclusive("a fruit lay in the snake's path")
    wait_for_game_over(game, record=True)
    hold(game, NEW_RECORD_BOX, lambda p: p.count(GOLD) > 100, "\"NEW HIGH SCORE!\" showing", 1.0)
    expect_file(run.sandbox, b"-5", "when the directory is read-only")
    check(run.sandbox.listing() == listing, "files appeared: %s" % run.sandbox.listing())
    log("record shown although it could not be saved; the file is untouched")
    game.keys("m")
    wait_for_menu(game)
    check(mask(game.grab(MENU_SCORE_BOX), DARKBLUE) != menu_score_before,
          "the menu still shows the old best score -5 after an unsaved record")
    log("the menu shows the new best score")
    start_level(game, 1, background)
    if not crash_into_itself(game, score_zero):
        wait_for_game_over(game, record=False)
        log("a second score of 0 is no record: the unsaved best score is kept in memory")
    game.keys("Escape")
    expect_clean_exit(game, "Escape on the game-over screen")
    expect_file(run.sandbox, b"-5", "after the run")
    return run


def save_killed(args):
    """A save killed at any moment leaves one whole number in the file, never less."""
    check(args.save_stress is not None, "--save-stress is needed for this scenario")
    sandbox = Sandbox()
    first, second = b"7", b"1234567890"
    path = sandbox.path("highscore.txt")
    sandbox.write_best_score(first)
    seed = int(os.environ.get("COILRUSH_E2E_SEED", time.time_ns() % 1_000_000))
    chooser = random.Random(seed)
    log("killing %s 200 times at random moments (seed %d)" % (args.save_stress, seed))
    outcomes = {first: 0, second: 0}
    interrupted = 0
    try:
        for run_number in range(200):
            helper = subprocess.Popen([args.save_stress, path, first.decode(), second.decode()],
                                      cwd=sandbox.cwd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                      preexec_fn=harness.die_with_parent)
            # The kill moment is what is being randomised here, not a wait for a state.
            time.sleep(chooser.uniform(0.002, 0.040))
            helper.send_signal(signal.SIGKILL)
            helper.wait()
            check(helper.returncode == -signal.SIGKILL,
                  "the save helper ended by itself (status %s): %s" % (
                      helper.returncode, helper.stderr.read().decode(errors="replace")))
            helper.stderr.close()
            found = sandbox.read_best_score()
            check(found in outcomes, "after kill %d highscore.txt holds %r, neither %r nor %r"
                  % (run_number + 1, found, first, second))
            outcomes[found] += 1
            if os.path.exists(path + ".tmp") or len(sandbox.listing()) > 1:
                interrupted += 1
        log("file held %r %d times and %r %d times; %d kills left a half-made copy beside it"
            % (first, outcomes[first], second, outcomes[second], interrupted))
        check(outcomes[first] > 0 and outcomes[second] > 0,
              "the kills never landed between saves, so they tested nothing")
    finally:
        sandbox.remove()
    return None


SCENARIOS = {
    "menu_locks_0": lambda a: menu_locks(a, "0"),
    "menu_locks_350": lambda a: menu_locks(a, "350"),
    "menu_locks_500": lambda a: menu_locks(a, "500"),
    "play_pause_resume": play_pause_resume,
    "record_restart_menu": record_restart_menu,
    "escape_keeps_file": escape_keeps_file,
    "first_click_counts": first_click_counts,
    "close_on_menu": lambda a: close_on(a, "menu"),
    "close_on_playing": lambda a: close_on(a, "playing"),
    "close_on_paused": lambda a: close_on(a, "paused"),
    "close_on_game_over": lambda a: close_on(a, "game_over"),
    "assets_missing": lambda a: bad_assets(a, "missing"),
    "assets_empty": lambda a: bad_assets(a, "empty"),
    "assets_truncated_png": lambda a: bad_assets(a, "truncated_png"),
    "assets_png_as_mp3": lambda a: bad_assets(a, "png_as_mp3"),
    "assets_huge_png": lambda a: bad_assets(a, "huge_png"),
    "audio_unavailable": lambda a: bad_assets(a, "intact", {"SDL_AUDIODRIVER": "no-such-driver"}),
    "read_only_directory": read_only_directory,
    "save_killed": save_killed,
}


def run_scenario(args, name):
    attempts = 5
    for attempt in range(1, attempts + 1):
        runs_before = list(Run.opened)
        try:
            run = SCENARIOS[name](args)
            if run is not None:
                run.finish(passed=True)
            return 0
        except Inconclusive as reason:
            log("inconclusive (%s); starting again (%d of %d)" % (reason, attempt, attempts))
            close_runs(runs_before, passed=True)
        except ScenarioSkipped as reason:
            print("SKIPPED: %s" % reason)
            close_runs(runs_before, passed=True)
            return 77
        except ScenarioFailure as failure:
            print("FAILED: %s" % failure)
            close_runs(runs_before, passed=False)
            return 1
        except Exception:  # a fault of the suite itself; still close what it opened
            traceback.print_exc()
            close_runs(runs_before, passed=False)
            return 1
    print("FAILED: %d runs in a row were inconclusive" % attempts)
    return 1


def close_runs(runs_before, passed):
    for run in Run.opened:
        if run not in runs_before and not run.closed:
            run.finish(passed)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--game", help="the coilrush executable")
    parser.add_argument("--assets", help="the folder of pictures and sounds")
    parser.add_argument("--work", default=None, help="where to keep made files (the huge PNG)")
    parser.add_argument("--save-stress", default=None, help="the coilrush_save_stress helper")
    parser.add_argument("--scenario", choices=sorted(SCENARIOS))
    parser.add_argument("--list", action="store_true", help="print the scenario names")
    args = parser.parse_args()
    if args.list:
        print("\n".join(SCENARIOS))
        return 0
    if not args.scenario or not args.game or (not args.assets and args.scenario != "save_killed"):
        parser.error("--scenario, --game and --assets are required")
    args.game = os.path.abspath(args.game)
    args.assets = os.path.abspath(args.assets) if args.assets else None
    args.work = os.path.abspath(args.work or os.getcwd())
    os.makedirs(args.work, exist_ok=True)
    harness.require_tool("xdotool")
    status = run_scenario(args, args.scenario)
    log("%s: %s" % (args.scenario, {0: "passed", 1: "FAILED", 77: "skipped"}[status]))
    return status


if __name__ == "__main__":
    sys.exit(main())
