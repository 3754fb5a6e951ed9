"""The OK button's glyph: two 18 x 18 images side by side on olive, which the button leaves
transparent. The first is a green check mark with a dark-blue shadow, the second (the disabled
button's) the same mark as a grey outline."""

GLYPH_SIZE = 18
OLIVE = (128, 128, 0)
GREEN = (0, 160, 0)
DARK_BLUE = (0, 0, 128)
GREY = (128, 128, 128)

# The mark's stroke: down from the left arm to the bottom, then up to the right arm.
STROKE = ((3.0, 9.0), (7.0, 13.0), (15.0, 4.0))
HALF_WIDTH = 1.6


def _distance_to_segment(px, py, a, b):
    (ax, ay), (bx, by) = a, b
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return ((px - ax - t * dx) ** 2 + (py - ay - t * dy) ** 2) ** 0.5


def mark(dx=0, dy=0):
    """The pixels the stroke covers, moved by (dx, dy)."""
    covered = set()
    for y in range(GLYPH_SIZE):
        for x in range(GLYPH_SIZE):
            centre = (x + 0.5 - dx, y + 0.5 - dy)
            if any(_distance_to_segment(*centre, a, b) <= HALF_WIDTH for a, b in zip(STROKE, STROKE[1:])):
                covered.add((x, y))
    return covered


def outline(shape):
    """The pixels of a shape that touch a pixel outside it, corners included, so that the line
    has no gaps along the slanted strokes."""
    return {(x, y) for x, y in shape
            if any((x + i, y + j) not in shape for i in (-1, 0, 1) for j in (-1, 0, 1))}


def ok_glyph():
    """RGB rows of the 36 x 18 glyph bitmap."""
    rows = [[OLIVE] * (2 * GLYPH_SIZE) for _ in range(GLYPH_SIZE)]
    normal, shadow = mark(), mark(1, 1)
    for x, y in shadow - normal:
        rows[y][x] = DARK_BLUE
    for x, y in normal:
        rows[y][x] = GREEN
    for x, y in outline(normal):
        rows[y][GLYPH_SIZE + x] = GREY
    return rows
