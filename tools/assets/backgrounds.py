"""The four level backgrounds.

The game stretches each picture over the 1000x1000 board, whose cells are 20
pixels. A picture of 100x100 therefore gives every board cell a 2x2 block, and
all patterns here are laid out per cell: a faint checker, a soft bevel inside
each cell and one theme texture (grass tufts, dune ripples, dusk haze, cooling
lava cracks). Everything stays dark so the bright green snake and the purple
status text keep their contrast.
"""

import math

CELLS = 50                 # board cells per side
PIXELS_PER_CELL = 2        # picture pixels per cell and side
SIZE = CELLS * PIXELS_PER_CELL


def _hash(x, y, seed):
    """Deterministic integer hash of a cell, in [0, 1)."""
    h = (x * 374761393 + y * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    h ^= h >> 16
    return h / 4294967296.0


def _smooth_noise(x, y, scale, seed):
    """Value noise over cells, interpolated on a lattice 'scale' cells apart."""
    gx, gy = x / scale, y / scale
    x0, y0 = int(math.floor(gx)), int(math.floor(gy))
    tx, ty = gx - x0, gy - y0
    tx, ty = tx * tx * (3 - 2 * tx), ty * ty * (3 - 2 * ty)
    a = _hash(x0, y0, seed)
    b = _hash(x0 + 1, y0, seed)
    c = _hash(x0, y0 + 1, seed)
    d = _hash(x0 + 1, y0 + 1, seed)
    top = a + (b - a) * tx
    bottom = c + (d - c) * tx
    return top + (bottom - top) * ty


def _mix(a, b, t):
    return tuple(av + (bv - av) * t for av, bv in zip(a, b))


def _shift(colour, amount):
    return tuple(v + amount for v in colour)


def _clamp(colour):
    return tuple(max(0, min(255, int(round(v)))) for v in colour)


def meadow_cell(cx, cy):
    base = _mix((18, 44, 26), (26, 56, 30), _smooth_noise(cx, cy, 7, 11))
    if _hash(cx, cy, 12) < 0.08:
        base = _mix(base, (40, 74, 34), 0.5)   # a tuft of lighter grass
    return base


def desert_cell(cx, cy):
    # Wind ripples run diagonally, bent a little by slow noise.
    bend = 3.0 * _smooth_noise(cx, cy, 9, 21)
    ripple = 0.5 + 0.5 * math.sin((cx * 0.5 + cy + bend) * 0.8)
    base = _mix((66, 48, 28), (80, 60, 34), ripple)
    if _hash(cx, cy, 22) < 0.015:
        base = _mix(base, (50, 36, 22), 0.7)   # a pebble
    return base


def dusk_cell(cx, cy):
    # The sky side at the top is the darker one, where the status text sits.
    depth = cy / (CELLS - 1)
    base = _mix((26, 26, 46), (44, 50, 70), depth)
    base = _mix(base, (52, 40, 70), 0.35 * _smooth_noise(cx, cy, 8, 31))
    if _hash(cx, cy, 32) < 0.03 and cy < 25:
        base = _mix(base, (70, 70, 96), 0.5)   # a faint star
    return base


def _plate_edge(cx, cy, plate, seed):
    """Distance gap between the nearest and second-nearest plate centre, in cells.

    Cells where the gap is small lie on the seam between two cooled lava plates.
    """
    bx, by = cx // plate, cy // plate
    dists = []
    for ny in range(by - 1, by + 2):
        for nx in range(bx - 1, bx + 2):
            px = (nx + 0.15 + 0.7 * _hash(nx, ny, seed)) * plate
            py = (ny + 0.15 + 0.7 * _hash(nx, ny, seed + 1)) * plate
            dists.append(math.hypot(cx + 0.5 - px, cy + 0.5 - py))
    dists.sort()
    return dists[1] - dists[0]


def volcanic_cell(cx, cy):
    base = _mix((20, 12, 14), (30, 17, 19), _smooth_noise(cx, cy, 6, 41))
    gap = _plate_edge(cx, cy, 9, 42)
    if gap < 1.1:
        glow = 1.0 - gap / 1.1
        heat = 0.5 + 0.5 * _smooth_noise(cx, cy, 5, 43)
        base = _mix(base, (90, 26, 12), 0.65 * glow * heat)
    return base


THEMES = [
    {"name": "map/level1map.png", "title": "meadow", "cell": meadow_cell, "checker": 3, "bevel": 2},
    {"name": "map/level2map.png", "title": "desert", "cell": desert_cell, "checker": 3, "bevel": 2},
    {"name": "map/level3map.png", "title": "dusk", "cell": dusk_cell, "checker": 3, "bevel": 2},
    {"name": "map/level4map.png", "title": "volcanic", "cell": volcanic_cell, "checker": 3, "bevel": 2},
]


def render_background(theme):
    """Returns SIZE rows of RGB tuples."""
    rows = [[None] * SIZE for _ in range(SIZE)]
    for cy in range(CELLS):
        for cx in range(CELLS):
            colour = theme["cell"](cx, cy)
            if (cx + cy) % 2:
                colour = _shift(colour, theme["checker"])
            for py in range(PIXELS_PER_CELL):
                for px in range(PIXELS_PER_CELL):
                    # Lit top-left, shaded bottom-right: each cell reads as a tile.
                    bevel = theme["bevel"] * (1 - px - py)
                    rows[cy * PIXELS_PER_CELL + py][cx * PIXELS_PER_CELL + px] = _clamp(
                        _shift(colour, bevel))
    return rows
