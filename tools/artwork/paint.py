"""Painting helpers: colours, a deterministic random source, a canvas, shape coverage, and the
parts of a landscape (sky, hills, glows, discs, stars, clouds)."""
import math


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def ramp(stops, t):
    """Colour at t along [(position, colour), ...] sorted by position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (p0, c0), (p1, c1) in zip(stops, stops[1:]):
        if t <= p1:
            return mix(c0, c1, (t - p0) / (p1 - p0))
    return stops[-1][1]


def smooth(t):
    t = min(1.0, max(0.0, t))
    return t * t * (3 - 2 * t)


class Lcg:
    """A small generator of our own, so the pictures never change between Python versions."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state / 4294967296.0


class Canvas:
    def __init__(self, width, height, colour=(0, 0, 0)):
        self.width, self.height = width, height
        self.pixels = [[tuple(colour) for _ in range(width)] for _ in range(height)]

    def blend(self, x, y, colour, alpha):
        if alpha <= 0 or not (0 <= x < self.width and 0 <= y < self.height):
            return
        alpha = min(1.0, alpha)
        self.pixels[y][x] = mix(self.pixels[y][x], colour, alpha)

    def bytes_rgb(self):
        return [[tuple(max(0, min(255, int(round(c)))) for c in p) for p in row] for row in self.pixels]


def coverage(inside, x0, y0, x1, y1, samples=4):
    """Per-pixel coverage of a shape given by its inside test, over a pixel box."""
    cover = {}
    step = 1.0 / samples
    for y in range(y0, y1):
        for x in range(x0, x1):
            hits = 0
            for j in range(samples):
                for i in range(samples):
                    if inside(x + (i + 0.5) * step, y + (j + 0.5) * step):
                        hits += 1
            if hits:
                cover[(x, y)] = hits / (samples * samples)
    return cover


def hill_line(u, phases):
    return sum(a * math.sin(f * u * math.pi + p) for a, f, p in phases)


def ridge_cover(v, line, h):
    """How much of a pixel row (centre v, height 1/h) lies below a ridge line: four samples."""
    return sum(1 for k in range(4) if v - 0.5 / h + (k + 0.5) / (4 * h) >= line) / 4


def draw_scene(canvas, opening, sky, hills, behind=(), front=()):
    """Sky, what stands in the sky (behind), the hills from far to near, then the front."""
    x0, y0, x1, y1 = opening
    w, h = x1 - x0, y1 - y0
    for y in range(y0, y1):
        colour = ramp(sky, (y + 0.5 - y0) / h)
        for x in range(x0, x1):
            canvas.pixels[y][x] = colour
    for extra in behind:
        extra(canvas, opening)
    for y in range(y0, y1):
        for x in range(x0, x1):
            u, v = (x + 0.5 - x0) / w, (y + 0.5 - y0) / h
            colour = canvas.pixels[y][x]
            for base, phases, top_colour, bottom_colour in hills:
                line = base + hill_line(u, phases)
                cover = ridge_cover(v, line, h)
                if cover:
                    depth = smooth((v - line) / (1 - line + 1e-6))
                    colour = mix(colour, mix(top_colour, bottom_colour, depth), cover)
            canvas.pixels[y][x] = colour
    for extra in front:
        extra(canvas, opening)


def glow(cx, cy, radius, colour, strength):
    def draw(canvas, opening):
        x0, y0, x1, y1 = opening
        for y in range(y0, y1):
            for x in range(x0, x1):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) / radius
                if d < 1:
                    canvas.blend(x, y, colour, strength * (1 - d) ** 2)
    return draw


def disc(cx, cy, r, colour, cut=None):
    """A disc, optionally minus a second disc (a crescent)."""
    def draw(canvas, opening):
        def inside(x, y):
            if math.hypot(x - cx, y - cy) > r:
                return False
            return not (cut and math.hypot(x - cut[0], y - cut[1]) <= cut[2])
        for (x, y), a in coverage(inside, int(cx - r) - 1, int(cy - r) - 1, int(cx + r) + 2, int(cy + r) + 2).items():
            canvas.blend(x, y, colour, a)
    return draw


def stars(count, seed, avoid):
    def draw(canvas, opening):
        x0, y0, x1, y1 = opening
        rng = Lcg(seed)
        placed = 0
        while placed < count:
            x = x0 + 2 + rng.next() * (x1 - x0 - 4)
            y = y0 + 2 + rng.next() ** 1.4 * (y1 - y0) * 0.55
            bright = 0.35 + 0.65 * rng.next() ** 2
            if avoid(x, y):
                continue
            placed += 1
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    px, py = int(x) + dx, int(y) + dy
                    d = math.hypot(px + 0.5 - x, py + 0.5 - y)
                    canvas.blend(px, py, (255, 250, 228), bright * max(0.0, 1 - d / 1.1))
    return draw


def cloud(cx, cy, rx, ry, colour, strength):
    def draw(canvas, opening):
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
            for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
                d = ((x + 0.5 - cx) / rx) ** 2 + ((y + 0.5 - cy) / ry) ** 2
                if d < 1:
                    canvas.blend(x, y, colour, strength * (1 - d) ** 1.5)
    return draw
