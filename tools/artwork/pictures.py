"""The two title pictures and the icon."""
import math

from framing import GOLD, frame_and_mat, frame_colour, side_of, small_frame_colour
from lettering import draw_lettering, draw_ornament, word_width
from paint import Canvas, Lcg, cloud, disc, draw_scene, glow, ramp, stars

TITLE_WIDTH, TITLE_HEIGHT = 359, 180
FRAME, MAT = 13, 9

LETTER_TOP, LETTER_HEIGHT = 40, 42
SIGNATURE_HEIGHT = 11


def opening_of(width):
    return (FRAME + MAT, FRAME + MAT, width - FRAME - MAT, TITLE_HEIGHT - FRAME - MAT)


def signature_box(width):
    """Where the small signature stands: the picture's bottom-right corner."""
    x0, y0, x1, y1 = opening_of(width)
    w = word_width("KEMBO", SIGNATURE_HEIGHT, 0.3)
    return x1 - 8 - w, y1 - 7 - SIGNATURE_HEIGHT, x1 - 8, y1 - 7


def title(width, scene, signed):
    canvas = Canvas(width, TITLE_HEIGHT)
    border = frame_and_mat(width, TITLE_HEIGHT, FRAME, MAT, seed=1871)
    scene(canvas, opening_of(width))
    for y in range(TITLE_HEIGHT):
        for x in range(width):
            c = border(x, y)
            if c is not None:
                canvas.pixels[y][x] = c
    if signed:
        left, top, _, _ = signature_box(width)
        draw_lettering(canvas, "KEMBO", left, top, SIGNATURE_HEIGHT, 0.3)
    else:
        centre = width / 2
        _, w = draw_lettering(canvas, "KEMBO", centre - word_width("KEMBO", LETTER_HEIGHT) / 2, LETTER_TOP,
                              LETTER_HEIGHT)
        draw_ornament(canvas, centre, LETTER_TOP + LETTER_HEIGHT + 11, w * 0.42)
    return canvas


def night_scene(canvas, opening):
    x0, y0, x1, y1 = opening
    w, h = x1 - x0, y1 - y0
    signature = signature_box(TITLE_WIDTH)
    moon = (x0 + w * 0.84, y0 + h * 0.24)
    sky = [(0.0, (12, 16, 42)), (0.5, (30, 36, 84)), (0.74, (72, 64, 118)), (0.84, (112, 88, 126))]
    hills = [
        (0.70, [(0.035, 2.2, 0.4), (0.02, 5.1, 1.3)], (44, 44, 86), (36, 36, 70)),
        (0.80, [(0.05, 1.6, 2.2), (0.018, 6.3, 0.2)], (22, 24, 46), (12, 14, 28)),
    ]

    def avoid(x, y):
        near_signature = signature[0] - 4 < x < signature[2] + 4 and signature[1] - 4 < y
        return near_signature or math.hypot(x - moon[0], y - moon[1]) < 18

    extras = [
        stars(52, 20261208, avoid),
        glow(moon[0], moon[1], 34, (200, 196, 240), 0.22),
        disc(moon[0], moon[1], 10, (250, 240, 206), cut=(moon[0] - 5.2, moon[1] - 3, 8.8)),
    ]
    draw_scene(canvas, opening, sky, hills, behind=extras)


def morning_scene(canvas, opening):
    x0, y0, x1, y1 = opening
    w, h = x1 - x0, y1 - y0
    sky = [(0.0, (84, 140, 200)), (0.4, (150, 190, 226)), (0.66, (236, 220, 196)), (0.78, (252, 214, 166))]
    hills = [
        (0.68, [(0.03, 2.0, 1.1), (0.015, 5.7, 0.5)], (150, 168, 188), (128, 152, 172)),
        (0.76, [(0.045, 1.8, 3.0), (0.02, 4.9, 1.9)], (104, 146, 116), (84, 128, 98)),
        (0.86, [(0.04, 1.3, 0.7), (0.015, 7.2, 2.6)], (62, 110, 72), (40, 84, 52)),
    ]
    sun = (x0 + w * 0.2, y0 + h * 0.64)
    in_sky = [
        glow(sun[0], sun[1], 70, (255, 236, 190), 0.55),
        disc(sun[0], sun[1], 10, (255, 246, 218)),
        cloud(x0 + w * 0.74, y0 + h * 0.26, 34, 5, (255, 255, 255), 0.55),
        cloud(x0 + w * 0.83, y0 + h * 0.31, 22, 4, (255, 250, 244), 0.45),
        cloud(x0 + w * 0.1, y0 + h * 0.16, 26, 4, (255, 255, 255), 0.35),
    ]
    draw_scene(canvas, opening, sky, hills, behind=in_sky)


# Per size, whole-pixel margin and frame width keep the small icons crisp.
ICON_SIZES = {16: (0, 2), 24: (1, 3), 32: (1, 4), 48: (2, 5), 256: (12, 30)}


def icon(size):
    margin, frame = ICON_SIZES[size]
    offset = size // 40 if size >= 48 else 0  # room for a shadow down and to the right
    inner = size - 2 * margin - offset
    canvas = Canvas(size, size)
    x0 = y0 = margin + frame
    x1 = y1 = margin + inner - frame
    w = x1 - x0
    sky = [(0.0, (70, 128, 196)), (0.6, (176, 206, 232)), (0.75, (246, 224, 186))]
    hills = [(0.62, [(0.06, 1.7, 1.0)], (112, 150, 122), (92, 136, 104)),
             (0.78, [(0.06, 1.2, 2.4)], (62, 112, 70), (44, 88, 52))]
    sun = (x0 + w * 0.68, y0 + w * 0.34, max(1.2, w * 0.12))
    draw_scene(canvas, (x0, y0, x1, y1), sky, hills,
               behind=[glow(sun[0], sun[1], w * 0.5, (255, 236, 190), 0.5), disc(*sun, (255, 244, 206))])
    rng = Lcg(size)
    grain = [(rng.next() - 0.5) * 0.04 for _ in range(size)]
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            lx, ly = x - margin, y - margin
            if 0 <= lx < inner and 0 <= ly < inner:
                d, lit = side_of(lx, ly, inner, inner)
                if d >= frame:
                    c = canvas.pixels[y][x]
                elif frame <= 5:
                    c = small_frame_colour(d, frame, lit)
                elif d < 1:
                    c = ramp(GOLD, 0.18)
                else:
                    c = frame_colour(d / frame, lit, grain[x if min(ly, inner - 1 - ly) + 0.5 == d else y])
                row.append(tuple(int(round(v)) for v in c) + (255,))
            elif offset and lx >= offset and ly >= offset:
                # The shadow the frame casts, fading out within a few pixels.
                dx = max(0, lx - inner + 1 - offset, offset - lx)
                dy = max(0, ly - inner + 1 - offset, offset - ly)
                reach = max(2.0, size / 40)
                row.append((0, 0, 0, int(round(max(0.0, 1 - math.hypot(dx, dy) / reach) * 0.45 * 255))))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows
