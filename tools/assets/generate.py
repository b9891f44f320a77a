#!/usr/bin/env python3
"""Makes every picture and sound of Coilrush from code.

    python3 tools/assets/generate.py [--out DIR]

Writes the eleven asset files under DIR (default: the repository's assets/).
Needs Python 3 (standard library only), `lame` to encode MP3 and `mpg123` to
check the encoded files. The output is byte-for-byte the same on every run.
"""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import backgrounds  # noqa: E402
import items  # noqa: E402
import mp3  # noqa: E402
import pngfile  # noqa: E402
import sounds  # noqa: E402

ITEM_SCALE = 2  # 20x20 art written at 40x40, the size it is drawn at

# Decoded peak targets: the effects sit near full scale, the music well below
# them so a bite or the game-over sting stands out over it.
EFFECT_PEAK_DB = -1.5
MUSIC_PEAK_DB = -10.0

SOUNDS = [
    ("soundeffect/cartoonbite.mp3", lambda: [sounds.make_bite()], 128, EFFECT_PEAK_DB),
    ("soundeffect/gameover.mp3", lambda: [sounds.make_game_over()], 128, EFFECT_PEAK_DB),
    ("soundeffect/game-music-loop-7.mp3", lambda: list(sounds.make_music()), 128, MUSIC_PEAK_DB),
]


def write_items(out_dir):
    for item in items.ITEMS:
        rows = items.scale_rows(items.render_item(item), ITEM_SCALE)
        size = len(rows)
        pixels = [px for row in rows for px in row]
        pngfile.write_png(os.path.join(out_dir, item["name"]), size, size, pixels,
                          pngfile.COLOR_TYPE_RGBA)
        print(f"  {item['name']}: {size}x{size} RGBA")


def write_backgrounds(out_dir):
    for theme in backgrounds.THEMES:
        rows = backgrounds.render_background(theme)
        pixels = [px for row in rows for px in row]
        path = os.path.join(out_dir, theme["name"])
        pngfile.write_png(path, backgrounds.SIZE, backgrounds.SIZE, pixels,
                          pngfile.COLOR_TYPE_RGB)
        print(f"  {theme['name']}: {backgrounds.SIZE}x{backgrounds.SIZE} RGB ({theme['title']})")


def write_sounds(out_dir):
    for name, make, kbps, peak_db in SOUNDS:
        channels = make()
        measured = mp3.encode_mastered(channels, kbps, os.path.join(out_dir, name), peak_db)
        seconds = len(channels[0]) / mp3.RATE
        print(f"  {name}: {seconds:.3f} s, {len(channels)} ch, {kbps} kbps, "
              f"decoded peak {measured:.2f} dBFS")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(HERE, "..", "..", "assets"),
                        help="folder to write the assets into (default: the repository's assets/)")
    args = parser.parse_args()
    out_dir = os.path.normpath(args.out)
    for sub in ("map", "soundeffect"):
        os.makedirs(os.path.join(out_dir, sub), exist_ok=True)
    print(f"Writing assets to {out_dir}")
    write_items(out_dir)
    write_backgrounds(out_dir)
    write_sounds(out_dir)


if __name__ == "__main__":
    main()
