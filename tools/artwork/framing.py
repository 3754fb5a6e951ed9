"""The gilt frame with its moulding and the cream mat inside it."""
import math

from paint import Lcg, mix, ramp

GOLD = [(0.0, (58, 36, 12)), (0.3, (122, 86, 34)), (0.55, (182, 140, 62)),
        (0.8, (228, 196, 118)), (1.0, (255, 242, 196))]


def moulding_height(t):
    """Cross-section of the gilt moulding from its outer (0) to its inner (1) edge."""
    def bump(centre, width):
        return math.exp(-((t - centre) / width) ** 2)

    return 0.55 * bump(0.2, 0.16) + 0.3 * bump(0.66, 0.09) - 0.12 * bump(0.44, 0.1) - 0.25 * t


def frame_colour(t, lit, grain):
    e = 0.01
    slope = (moulding_height(t + e) - moulding_height(t - e)) / (2 * e)
    light = 0.56 + 0.2 * slope * lit + grain
    if t < 0.05 or t > 0.95:  # the outer and inner edges fall away steeply
        light -= 0.22
    return ramp(GOLD, light)


def side_of(x, y, width, height):
    """Distance (pixel centre) to the nearest outer edge, and whether that side faces the light."""
    distances = [(x + 0.5, 1), (y + 0.5, 1), (width - x - 0.5, -1), (height - y - 0.5, -1)]
    return min(distances)


def frame_and_mat(width, height, frame, mat, seed):
    """Colour function of the frame and mat; None inside the picture opening."""
    rng = Lcg(seed)
    grain_x = [(rng.next() - 0.5) * 0.05 for _ in range(width + 1)]
    grain_y = [(rng.next() - 0.5) * 0.05 for _ in range(height + 1)]

    def colour(x, y):
        d, lit = side_of(x, y, width, height)
        if d < frame:
            horizontal_side = min(y + 0.5, height - y - 0.5) == d
            grain = grain_x[x] if horizontal_side else grain_y[y]
            return frame_colour(d / frame, lit, grain)
        if d < frame + mat:
            inner = d - frame
            base = (236, 228, 208)
            if inner > mat - 1.5:  # the bevelled cut of the mat
                return (250, 247, 238) if lit < 0 else (204, 194, 170)
            shade = math.exp(-inner / 1.6) * (0.28 if lit > 0 else 0.1)  # the frame's shadow
            return mix(base, (90, 70, 40), shade)
        return None

    return colour


def small_frame_colour(d, frame, lit):
    """A frame of a few pixels: a dark outline, a lit gold band, a dark inner line."""
    if d < 1 or d > frame - 1 and frame > 2:
        return ramp(GOLD, 0.18 if d < 1 else 0.3)
    highlight = 0.1 if d < 2 and frame > 3 else 0.0
    return ramp(GOLD, (0.8 if lit > 0 else 0.56) + highlight)
