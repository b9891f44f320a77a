"""The four board items as 20x20 pixel art.

Each picture is a character grid plus a palette. '.' is transparent. The dark
outline is not drawn by hand: every transparent pixel that touches the shape
on one of its four sides becomes the item's outline colour, so all items get
the same clean 1-pixel rim that separates them from any background.
"""

GRID_SIZE = 20
TRANSPARENT = (0, 0, 0, 0)

APPLE = {
    "name": "apple.png",
    "outline": (40, 12, 16),
    "palette": {
        "R": (214, 36, 42),    # skin
        "r": (150, 16, 34),    # shaded skin
        "h": (255, 120, 112),  # highlight
        "w": (255, 226, 214),  # shine
        "B": (104, 62, 28),    # stem
        "G": (92, 186, 62),    # leaf
        "g": (38, 120, 42),    # leaf vein and shade
    },
    "grid": [
        "....................",
        "..........B..GG.....",
        "..........BGGGGGg...",
        ".........B.gGGGg....",
        ".....RRR.B.RRR......",
        "...RRRRRRBRRRRRRR...",
        "..RRhhRRRRRRRRRRRr..",
        "..RhwhRRRRRRRRRRRr..",
        ".RRhwRRRRRRRRRRRRrr.",
        ".RRhhRRRRRRRRRRRRrr.",
        ".RRhRRRRRRRRRRRRRrr.",
        ".RRRRRRRRRRRRRRRRrr.",
        ".RRRRRRRRRRRRRRRrrr.",
        "..RRRRRRRRRRRRRRrr..",
        "..RRRRRRRRRRRRRrrr..",
        "...RRRRRRRRRRRrrr...",
        "....rRRRRrRRRrrr....",
        ".....rrrr..rrrr.....",
        "....................",
        "....................",
    ],
}

PINEAPPLE = {
    "name": "pineapple.png",
    "outline": (44, 24, 8),
    "palette": {
        "Y": (238, 184, 40),   # golden skin
        "o": (198, 134, 24),   # shaded skin
        "y": (255, 236, 140),  # eye of each diamond
        "d": (132, 78, 16),    # diamond lattice
        "G": (70, 176, 60),    # crown
        "g": (30, 112, 44),    # crown shade
    },
    "grid": [
        "....................",
        ".........gG.........",
        "....G....gG....G....",
        "....gG...gG...Gg....",
        ".....gG.ggGG.Gg.....",
        "..GG..gGgGGgGg..GG..",
        "...gGGGgGGGGgGGGg...",
        ".......dYYodo.......",
        "......YYdYdooo......",
        "....YYyYYdYYyood....",
        "....dYYYdYdYYYdo....",
        "...YYdYdYYYdYdooo...",
        "...yYYdYYyYYdYYyo...",
        "...YYdYdYYYdYdYoo...",
        "...YdYYYdYdYYYdod...",
        "....YYyYYdYYyYod....",
        "....dYYYdYdYYodo....",
        "......YdYYodod......",
        ".......YYyood.......",
        "....................",
    ],
}

WATERMELON = {
    "name": "watermelon.png",
    "outline": (14, 40, 18),
    "palette": {
        "F": (236, 54, 74),    # flesh
        "f": (196, 30, 56),    # flesh shade
        "S": (24, 16, 16),     # seed
        "W": (240, 246, 220),  # white rind
        "L": (150, 214, 96),   # light-green rind
        "D": (36, 122, 46),    # dark-green skin
    },
    "grid": [
        "....................",
        "....................",
        "....................",
        ".DLWFFFFFFFFFFFFWLD.",
        ".DLWFFSFFFFFFSFFWLD.",
        ".DLWFFSFFFSFFSFFWLD.",
        ".DLWFFFFFFSFFFFFWLD.",
        ".DDWFFFSFFFFSFFfWDD.",
        "..DLFFFSFFFFSFffLD..",
        "..DLWFFFFFSFFffWLD..",
        "..DLWFFFFFSFffFWLD..",
        "...DLWFFFFFFFfWLD...",
        "...DDLWffffffWLDD...",
        "....DLLWffffWLLD....",
        "....DDLLWWWWLLDD....",
        ".....DDLLLLLLDD.....",
        "......DDDDDDDD......",
        "........DDDD........",
        "....................",
        "....................",
    ],
}

SKULL = {
    "name": "Skull.png",
    "outline": (20, 12, 12),
    "palette": {
        "W": (238, 232, 212),  # bone
        "s": (186, 176, 152),  # bone shade
        "K": (26, 14, 16),     # sockets, nose, tooth gaps
        "e": (224, 32, 32),    # glint in the sockets
    },
    "grid": [
        "....................",
        "......WWWWWWWW......",
        "....WWWWWWWWWWWW....",
        "...WWWWWWWWWWWWWs...",
        "..WWWWWWWWWWWWWWss..",
        "..WWWWWWWWWWWWWWss..",
        ".WWWWWWWWWWWWWWWWss.",
        ".WWKKKKWWWWWWKKKKWs.",
        ".WKKKKKKWWWWKKKKKKs.",
        ".WKKKeKKWWWWKKeKKKs.",
        ".WKKKKKKWWWWKKKKKKs.",
        ".WWKKKKWWKKWWKKKKWs.",
        "..WWWWWWKKKKWWWWWs..",
        "...WWWWWWWWWWWWWs...",
        "....WWWWWWWWWWWs....",
        "....WKWKWKWKWKWs....",
        "....WKWKWKWKWKWs....",
        ".....WWWWWWWWWs.....",
        "....................",
        "....................",
    ],
}

ITEMS = [APPLE, PINEAPPLE, WATERMELON, SKULL]


def check_item(item):
    grid = item["grid"]
    if len(grid) != GRID_SIZE or any(len(row) != GRID_SIZE for row in grid):
        raise ValueError(f"{item['name']}: grid must be {GRID_SIZE}x{GRID_SIZE}")
    for row in grid:
        for ch in row:
            if ch != "." and ch not in item["palette"]:
                raise ValueError(f"{item['name']}: '{ch}' has no palette entry")


def render_item(item):
    """Returns the 20x20 picture as rows of RGBA tuples, outline added."""
    check_item(item)
    grid = item["grid"]
    filled = [[ch != "." for ch in row] for row in grid]
    rows = []
    for y in range(GRID_SIZE):
        row = []
        for x in range(GRID_SIZE):
            ch = grid[y][x]
            if ch != ".":
                row.append(item["palette"][ch] + (255,))
            elif _touches_shape(filled, x, y):
                row.append(item["outline"] + (255,))
            else:
                row.append(TRANSPARENT)
        rows.append(row)
    return rows


def _touches_shape(filled, x, y):
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        nx, ny = x + dx, y + dy
        if 0 <= nx < GRID_SIZE and 0 <= ny < GRID_SIZE and filled[ny][nx]:
            return True
    return False


def scale_rows(rows, factor):
    """Nearest-neighbour enlargement by a whole factor."""
    out = []
    for row in rows:
        wide = [px for px in row for _ in range(factor)]
        out.extend(list(wide) for _ in range(factor))
    return out
