#!/usr/bin/env python3
"""Draws a preview of the generated pictures as the game shows them.

    python3 tools/assets/contact_sheet.py OUT.png [--assets DIR] [--zoom N]

For each level background: a 320x100 patch of the 1000x1000 board with the four
items at their 40x40 size and a short snake (dark-green head, green body),
then the whole sheet enlarged N times (default 4) with nearest sampling.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import pngfile  # noqa: E402

SCREEN = 1000
PATCH_W, PATCH_H = 320, 100
ITEM_NAMES = ["apple.png", "pineapple.png", "watermelon.png", "Skull.png"]
MAP_NAMES = [f"map/level{n}map.png" for n in range(1, 5)]
HEAD, BODY = (0, 117, 44, 255), (0, 228, 48, 255)


def _over(dst, src):
    a = src[3] / 255.0
    return tuple(int(round(s * a + d * (1 - a))) for s, d in zip(src[:3], dst[:3])) + (255,)


def _patch(background, sprites):
    bw, bh, brows = background
    # The board patch, sampled as the background is stretched over the screen.
    patch = [[brows[y * bh // SCREEN][x * bw // SCREEN] for x in range(PATCH_W)]
             for y in range(PATCH_H)]
    for k, (sw, sh, srows) in enumerate(sprites):
        ox, oy = 20 + k * 60, 20  # items lie on whole cells, like in the game
        for y in range(40):
            for x in range(40):
                patch[oy + y][ox + x] = _over(patch[oy + y][ox + x], srows[y * sh // 40][x * sw // 40])
    for seg in range(14):
        colour = HEAD if seg == 0 else BODY
        for y in range(20):
            for x in range(20):
                patch[60 + y][280 - 20 * seg + x] = colour
    return patch


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out")
    parser.add_argument("--assets", default=os.path.join(HERE, "..", "..", "assets"))
    parser.add_argument("--zoom", type=int, default=4)
    args = parser.parse_args()
    sprites = [pngfile.read_png(os.path.join(args.assets, n)) for n in ITEM_NAMES]
    rows = []
    for name in MAP_NAMES:
        rows += _patch(pngfile.read_png(os.path.join(args.assets, name)), sprites)
    zoomed = []
    for row in rows:
        wide = [px for px in row for _ in range(args.zoom)]
        zoomed += [wide] * args.zoom
    pixels = [px for row in zoomed for px in row]
    pngfile.write_png(args.out, PATCH_W * args.zoom, len(zoomed), pixels, pngfile.COLOR_TYPE_RGBA)


if __name__ == "__main__":
    main()
