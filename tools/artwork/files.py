"""The files: a 256-colour palette for a picture, BMP, PNG and ICO."""
import math
import struct
import zlib

# --- Palettes: median cut, a little refinement, gentle error diffusion -----------------------

def median_cut(histogram, count):
    boxes = [list(histogram.items())]
    while len(boxes) < count:
        best, best_score = None, -1
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            ranges = [max(c[0][k] for c in box) - min(c[0][k] for c in box) for k in range(3)]
            score = max(ranges) * math.sqrt(sum(n for _, n in box))
            if score > best_score:
                best, best_score, channel = i, score, ranges.index(max(ranges))
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda c: c[0][channel])
        total, running, cut = sum(n for _, n in box), 0, 1
        for i, (_, n) in enumerate(box):
            running += n
            if running >= total / 2:
                cut = max(1, min(len(box) - 1, i + 1))
                break
        boxes += [box[:cut], box[cut:]]
    return [tuple(sum(c[0][k] * c[1] for c in box) / sum(c[1] for c in box) for k in range(3)) for box in boxes]


def nearest(palette, colour, cache):
    key = tuple(int(round(c)) for c in colour)
    if key not in cache:
        cache[key] = min(range(len(palette)), key=lambda i: sum((palette[i][k] - key[k]) ** 2 for k in range(3)))
    return cache[key]


def quantise(rgb, colours=256, diffusion=0.9):
    histogram = {}
    for row in rgb:
        for p in row:
            histogram[p] = histogram.get(p, 0) + 1
    palette = median_cut(histogram, colours)
    for _ in range(3):  # k-means over the histogram
        sums = [[0.0, 0.0, 0.0, 0] for _ in palette]
        cache = {}
        for colour, n in histogram.items():
            s = sums[nearest(palette, colour, cache)]
            for k in range(3):
                s[k] += colour[k] * n
            s[3] += n
        palette = [tuple(s[k] / s[3] for k in range(3)) if s[3] else palette[i] for i, s in enumerate(sums)]
    palette = [tuple(int(round(c)) for c in p) for p in palette]
    palette += [(0, 0, 0)] * (colours - len(palette))
    height, width = len(rgb), len(rgb[0])
    work = [[list(map(float, p)) for p in row] for row in rgb]
    indices = [[0] * width for _ in range(height)]
    cache = {}
    for y in range(height):
        for x in range(width):
            old = [min(255.0, max(0.0, c)) for c in work[y][x]]
            i = nearest(palette, old, cache)
            indices[y][x] = i
            err = [(old[k] - palette[i][k]) * diffusion for k in range(3)]
            for dx, dy, f in ((1, 0, 7 / 16), (-1, 1, 3 / 16), (0, 1, 5 / 16), (1, 1, 1 / 16)):
                if 0 <= x + dx < width and y + dy < height:
                    target = work[y + dy][x + dx]
                    for k in range(3):
                        target[k] += err[k] * f
    return palette, indices


def info_header(width, height, bits, colours):
    stride = (width * bits + 31) // 32 * 4
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, stride * height, 2835, 2835, colours, 0), stride


def bmp_file(dib):
    width, height, _, bits = struct.unpack_from("<iiHH", dib, 4)
    pixels = (width * bits + 31) // 32 * 4 * abs(height)
    return struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, 14 + len(dib) - pixels) + dib


def indexed_bmp(palette, indices):
    height, width = len(indices), len(indices[0])
    header, stride = info_header(width, height, 8, 256)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    rows = b"".join(bytes(row) + b"\0" * (stride - width) for row in reversed(indices))
    return bmp_file(header + table + rows)


def white_mask_bmp(width, height):
    header, stride = info_header(width, height, 1, 2)
    table = struct.pack("<8B", 0, 0, 0, 0, 255, 255, 255, 0)
    row = bytearray(stride)
    for x in range(width):
        row[x // 8] |= 0x80 >> (x % 8)
    return bmp_file(header + table + bytes(row) * height)


def png(width, height, rows_rgba):
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows_rgba)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon_dib(size, rows_rgba):
    header, _ = info_header(size, size * 2, 32, 0)
    pixels = b"".join(bytes(v for r, g, b, a in row for v in (b, g, r, a)) for row in reversed(rows_rgba))
    mask_stride = (size + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows_rgba):
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + pixels + bytes(mask)


def ico(images):
    """images: [(size, rgba rows)]; 256 is stored as PNG, the rest as 32-bit DIBs with a mask."""
    blobs = [png(size, size, rows) if size >= 256 else icon_dib(size, rows) for size, rows in images]
    offset = 6 + 16 * len(images)
    out = struct.pack("<HHH", 0, 1, len(images))
    for (size, _), blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b"".join(blobs)
