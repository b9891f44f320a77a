#!/usr/bin/env python3
"""Measures the generated assets and prints the figures as Markdown tables.

    python3 tools/assets/measure.py [--assets DIR]

Pictures are read with our own PNG reader; sounds are decoded with mpg123,
the same libmpg123 decoder the game's SDL_mixer uses, so durations are those
of the decoded sound with the encoder delay and padding already trimmed.
"""

import argparse
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import colour  # noqa: E402
import mp3  # noqa: E402
import pngfile  # noqa: E402

SCREEN = 1000
STATUS_REGION = (250, 100)  # top-left screen area where the status text sits
SILENCE_LEVEL = 32768 * 10 ** (-60 / 20)  # -60 dBFS
PICTURES = ["apple.png", "pineapple.png", "watermelon.png", "Skull.png"]
MAPS = [f"map/level{n}map.png" for n in range(1, 5)]
SOUNDS = ["soundeffect/cartoonbite.mp3", "soundeffect/gameover.mp3",
          "soundeffect/game-music-loop-7.mp3"]


def screen_share(rows, width, height, region, passes):
    """Share of screen pixels in region (w, h from the top-left) for which passes(pixel) holds.

    The picture is stretched over the 1000x1000 board, so screen pixel (x, y)
    shows picture pixel (x * width / 1000, y * height / 1000).
    """
    column_of = [x * width // SCREEN for x in range(region[0])]
    hits = 0
    cache = {}
    for y in range(region[1]):
        row = rows[y * height // SCREEN]
        for x in column_of:
            px = row[x]
            if px not in cache:
                cache[px] = passes(px)
            hits += cache[px]
    return hits / (region[0] * region[1])


def contrast_figures(path):
    width, height, rows = pngfile.read_png(path)
    body = screen_share(rows, width, height, (SCREEN, SCREEN),
                        lambda px: colour.contrast_ratio(px, colour.SNAKE_BODY)
                        >= colour.SNAKE_BODY_MIN_CONTRAST)
    text = screen_share(rows, width, height, STATUS_REGION,
                        lambda px: colour.contrast_ratio(px, colour.STATUS_TEXT)
                        >= colour.STATUS_TEXT_MIN_CONTRAST)
    body_min = min(colour.contrast_ratio(px, colour.SNAKE_BODY) for row in rows for px in row)
    text_rows = rows[:math.ceil(STATUS_REGION[1] * height / SCREEN)]
    text_cols = math.ceil(STATUS_REGION[0] * width / SCREEN)
    text_min = min(colour.contrast_ratio(px, colour.STATUS_TEXT)
                   for row in text_rows for px in row[:text_cols])
    return width, height, body, body_min, text, text_min


def silence_ms(samples, channel_count, from_end):
    frames = len(samples) // channel_count
    order = range(frames - 1, -1, -1) if from_end else range(frames)
    quiet = 0
    for f in order:
        if any(abs(samples[f * channel_count + c]) >= SILENCE_LEVEL for c in range(channel_count)):
            break
        quiet += 1
    return 1000.0 * quiet / mp3.RATE


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--assets", default=os.path.join(HERE, "..", "..", "assets"))
    args = parser.parse_args()
    root = os.path.normpath(args.assets)

    total = 0
    print("| File | Bytes |\n|---|---:|")
    for name in PICTURES + MAPS + SOUNDS:
        size = os.path.getsize(os.path.join(root, name))
        total += size
        print(f"| {name} | {size} |")
    print(f"| **total** | **{total}** ({total / 1024:.1f} KiB) |\n")

    print("| Picture | Size | Snake body >= 3:1 | Lowest body contrast "
          "| Status text >= 2.5:1 (top-left 250x100) | Lowest text contrast |")
    print("|---|---|---:|---:|---:|---:|")
    for name in MAPS:
        w, h, body, body_min, text, text_min = contrast_figures(os.path.join(root, name))
        print(f"| {name} | {w}x{h} | {100 * body:.1f} % | {body_min:.2f} | {100 * text:.1f} % "
              f"| {text_min:.2f} |")
    print()

    print("| Sound | Channels | Decoded length | Peak | RMS | Silence at start | Silence at end |")
    print("|---|---:|---:|---:|---:|---:|---:|")
    for name in SOUNDS:
        channel_count, samples = mp3.decode(os.path.join(root, name))
        seconds = len(samples) / channel_count / mp3.RATE
        rms = math.sqrt(sum(s * s for s in samples) / len(samples)) / 32768.0
        print(f"| {name} | {channel_count} | {seconds:.3f} s | {mp3.peak_dbfs(samples):.2f} dBFS "
              f"| {mp3.gain_to_db(rms):.1f} dBFS | {silence_ms(samples, channel_count, False):.1f} ms "
              f"| {silence_ms(samples, channel_count, True):.1f} ms |")


if __name__ == "__main__":
    main()
