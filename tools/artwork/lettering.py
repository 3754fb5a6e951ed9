"""The KEMBO lettering: letters on a unit height (y down) built from rectangles, thick segments
with square ends and elliptic rings; a letter is the union of its parts."""
import math

from paint import coverage, ramp, smooth

STROKE = 0.16


def rect(x0, y0, x1, y1):
    return lambda x, y: x0 <= x < x1 and y0 <= y < y1


def segment(p, q, width, ymin=-9.0, ymax=9.0):
    dx, dy = q[0] - p[0], q[1] - p[1]
    length = math.hypot(dx, dy)
    ux, uy = dx / length, dy / length

    def inside(x, y):
        if not (ymin <= y < ymax):
            return False
        rx, ry = x - p[0], y - p[1]
        along = rx * ux + ry * uy
        return 0 <= along <= length and abs(rx * uy - ry * ux) <= width / 2

    return inside


def ring(cx, cy, rxo, ryo, rxi, ryi, right_half=False):
    def inside(x, y):
        if right_half and x < cx:
            return False
        outer = ((x - cx) / rxo) ** 2 + ((y - cy) / ryo) ** 2
        inner = ((x - cx) / rxi) ** 2 + ((y - cy) / ryi) ** 2
        return outer <= 1 and inner > 1

    return inside


def letter_b():
    s, sh, m = STROKE, STROKE * 1.1, 0.48
    top_ry = (m + s / 2) / 2
    bottom_ry = (1 - (m - s / 2)) / 2
    cx1, rx1, cx2, rx2 = 0.31, 0.27, 0.33, 0.32
    return [
        rect(0, 0, s, 1),
        rect(0, 0, cx1, s),
        rect(0, m - s / 2, cx2, m + s / 2),
        rect(0, 1 - s, cx2, 1),
        ring(cx1, top_ry, rx1, top_ry, rx1 - sh, top_ry - s, True),
        ring(cx2, 1 - bottom_ry, rx2, bottom_ry, rx2 - sh, bottom_ry - s, True),
    ], cx2 + rx2


LETTERS = {
    "K": ([rect(0, 0, STROKE, 1),
           segment((STROKE * 0.6, 0.66), (0.76, -0.06), STROKE * 1.0, ymin=0),
           segment((0.28, 0.42), (0.76, 1.06), STROKE * 1.08, ymax=1)], 0.74),
    "E": ([rect(0, 0, STROKE, 1), rect(0, 0, 0.58, STROKE),
           rect(0, 0.5 - STROKE * 0.45, 0.52, 0.5 + STROKE * 0.45), rect(0, 1 - STROKE, 0.60, 1)], 0.60),
    "M": ([rect(0, 0, STROKE, 1), rect(0.90 - STROKE, 0, 0.90, 1),
           segment((STROKE * 0.5, -0.05), (0.47, 0.86), STROKE * 0.92, ymin=0, ymax=0.86),
           segment((0.90 - STROKE * 0.5, -0.05), (0.43, 0.86), STROKE * 0.92, ymin=0, ymax=0.86)], 0.90),
    "B": letter_b(),
    "O": ([ring(0.46, 0.5, 0.46, 0.515, 0.46 - STROKE * 1.12, 0.515 - STROKE * 0.92)], 0.92),
}


def word_shape(word, left, top, height, tracking=0.24):
    """The inside test of a word placed at (left, top) in pixels, and its width in pixels."""
    placed = []
    pen = 0.0
    for ch in word:
        parts, width = LETTERS[ch]
        placed.append((pen, parts))
        pen += width + tracking
    total = (pen - tracking) * height

    def inside(x, y):
        u, v = (x - left) / height, (y - top) / height
        for offset, parts in placed:
            if any(part(u - offset, v) for part in parts):
                return True
        return False

    return inside, total


def word_width(word, height, tracking=0.24):
    return (sum(LETTERS[ch][1] for ch in word) + tracking * (len(word) - 1)) * height


GOLD_LETTER = [(0.0, (255, 240, 184)), (0.45, (232, 190, 98)), (1.0, (160, 112, 40))]


def box_blur(cover, radius):
    out = {}
    for (x, y), a in cover.items():
        for dy in range(-radius, radius + 1):
            for dx in range(-radius, radius + 1):
                key = (x + dx, y + dy)
                out[key] = out.get(key, 0.0) + a
    n = (2 * radius + 1) ** 2
    return {k: v / n for k, v in out.items()}


def draw_lettering(canvas, word, left, top, height, tracking=0.24):
    inside, width = word_shape(word, left, top, height, tracking)
    cover = coverage(inside, int(left) - 1, int(top) - 1, int(left + width) + 2, int(top + height) + 2)
    # A soft shadow down and to the right keeps the gold readable on a night or a morning sky.
    drop = max(1, round(height / 21))
    shadow = box_blur({(x + 1, y + drop): a for (x, y), a in cover.items()}, 1)
    for (x, y), a in shadow.items():
        canvas.blend(x, y, (24, 14, 6), a * 0.7)
    for (x, y), a in cover.items():
        canvas.blend(x, y, ramp(GOLD_LETTER, (y + 0.5 - top) / height), a)
    return left, width


def draw_ornament(canvas, centre_x, y, half_width):
    """A thin gold rule with a small diamond in its middle, under the lettering."""
    def inside(px, py):
        dx = abs(px - centre_x)
        on_rule = dx <= half_width and abs(py - y) <= 0.5 and dx > 5
        on_diamond = dx + abs(py - y) <= 3.2
        return on_rule or on_diamond

    cover = coverage(inside, int(centre_x - half_width) - 1, int(y) - 4, int(centre_x + half_width) + 2, int(y) + 5)
    for (px, py), a in cover.items():
        fade = 1.0 - smooth((abs(px + 0.5 - centre_x) - half_width * 0.55) / (half_width * 0.45))
        canvas.blend(px, py, (226, 188, 104), a * max(0.0, fade))
