#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Folioneer developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Draws the program's icons and writes them into the source tree:
#   data/folder.ico, data/blank.ico, data/document.ico   outline icons, 16, 24, 32 and 48 px
#   packaging/folioneer.png                             application icon, 256 px
#   packaging/icons/folioneer-<N>.png                   application icon at the smaller sizes
#                                                       of the system icon theme
# The drawing is plain Python (standard library only) so the committed files are reproducible
# byte for byte on any machine; run it again after changing a shape or a colour.
set -euo pipefail
cd "$(dirname "$0")/.."
exec python3 - "$@" <<'PYTHON'
import struct
import zlib

SUPERSAMPLE = 4  # coverage samples per pixel side; gives smooth diagonals at 16 px


def hex_rgba(text, alpha=255):
    text = text.lstrip("#")
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16), alpha)


class Canvas:
    """A straight-alpha RGBA raster with anti-aliased convex polygon filling."""

    def __init__(self, size):
        self.size = size
        self.pixels = [(0.0, 0.0, 0.0, 0.0)] * (size * size)

    def _blend(self, x, y, color, coverage):
        if coverage <= 0:
            return
        r, g, b, a = self.pixels[y * self.size + x]
        sa = color[3] / 255.0 * coverage
        out_a = sa + a * (1 - sa)
        if out_a == 0:
            return
        mix = lambda s, d: (s * sa + d * a * (1 - sa)) / out_a
        self.pixels[y * self.size + x] = (mix(color[0], r), mix(color[1], g), mix(color[2], b), out_a)

    def polygon(self, points, color):
        """Fills a convex polygon given in pixel coordinates (pixel (x, y) spans x..x+1)."""
        xs = [p[0] for p in points]
        ys = [p[1] for p in points]
        n = len(points)
        # The sign of the area tells the winding, so "inside" works for both orders.
        area = sum(points[i][0] * points[(i + 1) % n][1] - points[(i + 1) % n][0] * points[i][1] for i in range(n))
        sign = 1 if area > 0 else -1

        def inside(px, py):
            for i in range(n):
                x1, y1 = points[i]
                x2, y2 = points[(i + 1) % n]
                if sign * ((x2 - x1) * (py - y1) - (y2 - y1) * (px - x1)) < 0:
                    return False
            return True

        step = 1.0 / SUPERSAMPLE
        for y in range(max(0, int(min(ys))), min(self.size, int(max(ys)) + 1)):
            for x in range(max(0, int(min(xs))), min(self.size, int(max(xs)) + 1)):
                hits = 0
                for sy in range(SUPERSAMPLE):
                    for sx in range(SUPERSAMPLE):
                        if inside(x + (sx + 0.5) * step, y + (sy + 0.5) * step):
                            hits += 1
                self._blend(x, y, color, hits / (SUPERSAMPLE * SUPERSAMPLE))

    def rect(self, x0, y0, x1, y1, color):
        self.polygon([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], color)

    def outlined(self, points, fill, outline, width):
        """A convex shape with an outline drawn inside its edge."""
        self.polygon(points, outline)
        self.polygon(inset(points, width), fill)

    def rgba_bytes(self):
        out = bytearray()
        for r, g, b, a in self.pixels:
            out += bytes((round(r), round(g), round(b), round(a * 255)))
        return bytes(out)


def inset(points, d):
    """Moves every edge of a convex polygon inwards by d pixels."""
    n = len(points)
    area = sum(points[i][0] * points[(i + 1) % n][1] - points[(i + 1) % n][0] * points[i][1] for i in range(n))
    sign = 1 if area > 0 else -1
    lines = []
    for i in range(n):
        (x1, y1), (x2, y2) = points[i], points[(i + 1) % n]
        length = ((x2 - x1) ** 2 + (y2 - y1) ** 2) ** 0.5
        nx, ny = -(y2 - y1) / length * sign, (x2 - x1) / length * sign
        lines.append(((x1 + nx * d, y1 + ny * d), (x2 - x1, y2 - y1)))
    result = []
    for i in range(n):
        (p, r), (q, s) = lines[i - 1], lines[i]
        cross = r[0] * s[1] - r[1] * s[0]
        t = ((q[0] - p[0]) * s[1] - (q[1] - p[1]) * s[0]) / cross
        result.append((p[0] + t * r[0], p[1] + t * r[1]))
    return result


OUTLINE_PAGE = hex_rgba("#5a6470")
PAGE = hex_rgba("#ffffff")
FOLD = hex_rgba("#d5dae0")
TEXT_LINE = hex_rgba("#2f5fb3")
FOLDER_OUTLINE = hex_rgba("#8a6410")
FOLDER_BACK = hex_rgba("#d9a21f")
FOLDER_FRONT = hex_rgba("#f6cd52")
FOLDER_SHINE = hex_rgba("#fbe49a")


def line_width(size):
    return max(1, size // 24)


def draw_page(canvas, size, with_text, ox=0, oy=0):
    """A sheet of paper with a folded top-right corner; with_text adds lines of writing."""
    w = line_width(size)
    x0, x1 = ox + round(size * 0.16), ox + size - round(size * 0.16)
    y0, y1 = oy + round(size * 0.03), oy + size - round(size * 0.03)
    fold = round(size * 0.28)
    canvas.outlined([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], PAGE, OUTLINE_PAGE, w)
    canvas.outlined([(x1 - fold, y0), (x1, y0 + fold), (x1 - fold, y0 + fold)], FOLD, OUTLINE_PAGE, w)
    if not with_text:
        return
    margin = w + max(1, round(size * 0.08))
    gap = max(3, round(size / 7))
    y = y0 + w + max(1, round(size * 0.12))
    while y + w <= y1 - margin:
        right = x1 - margin if y >= y0 + fold + w else x1 - fold - w - 1
        if right > x0 + margin:
            canvas.rect(x0 + margin, y, right, y + w, TEXT_LINE)
        y += gap


def draw_folder(canvas, size, ox=0, oy=0):
    """A closed manila folder with a tab on the back panel."""
    w = line_width(size)
    x0, x1 = ox + round(size * 0.03), ox + size - round(size * 0.03)
    top = oy + round(size * 0.16)
    body_top = oy + round(size * 0.28)
    y1 = oy + size - round(size * 0.12)
    tab_right = x0 + round(size * 0.40)
    slope = max(1, round(size * 0.08))
    tab = [(x0, top), (tab_right, top), (tab_right + slope, body_top + w + 1), (x0, body_top + w + 1)]
    body = [(x0, body_top), (x1, body_top), (x1, y1), (x0, y1)]
    # Both outlines first, then both fills, so the tab and the back panel read as one piece.
    canvas.polygon(tab, FOLDER_OUTLINE)
    canvas.polygon(body, FOLDER_OUTLINE)
    canvas.polygon(inset(tab, w), FOLDER_BACK)
    canvas.polygon(inset(body, w), FOLDER_BACK)
    front_top = body_top + max(2, round(size * 0.12))
    canvas.outlined([(x0, front_top), (x1, front_top), (x1, y1), (x0, y1)], FOLDER_FRONT, FOLDER_OUTLINE, w)
    canvas.rect(x0 + w, front_top + w, x1 - w, front_top + 2 * w, FOLDER_SHINE)


def rounded_square(size, radius, steps=12):
    import math
    points = []
    corners = [(size - radius, radius, -90), (size - radius, size - radius, 0),
               (radius, size - radius, 90), (radius, radius, 180)]
    for cx, cy, start in corners:
        for i in range(steps + 1):
            angle = math.radians(start + 90 * i / steps)
            points.append((cx + radius * math.cos(angle), cy + radius * math.sin(angle)))
    return points


def draw_application(canvas, size):
    """A blue tile with a written page and, in front of it, a folder: a book in a folder."""
    canvas.polygon(rounded_square(size, size * 0.18), hex_rgba("#2f5fb3"))
    inner = round(size * 0.64)
    draw_page(canvas, inner, True, ox=round(size * 0.26), oy=round(size * 0.08))
    draw_folder(canvas, round(size * 0.56), ox=round(size * 0.08), oy=round(size * 0.42))


def ico_bytes(canvases):
    """An .ico file with one 32-bit BMP image (alpha plus AND mask) per canvas."""
    header = struct.pack("<HHH", 0, 1, len(canvases))
    entries, images = b"", b""
    offset = 6 + 16 * len(canvases)
    for canvas in canvases:
        s = canvas.size
        rgba = canvas.rgba_bytes()
        rows = []
        for y in range(s - 1, -1, -1):  # BMP rows run bottom-up
            row = bytearray()
            for x in range(s):
                r, g, b, a = rgba[(y * s + x) * 4:(y * s + x) * 4 + 4]
                row += bytes((b, g, r, a))
            rows.append(bytes(row))
        mask_stride = ((s + 31) // 32) * 4
        mask = b""
        for y in range(s - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(s):
                if rgba[(y * s + x) * 4 + 3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bytes(bits)
        pixels = b"".join(rows)
        info = struct.pack("<IiiHHIIiiII", 40, s, 2 * s, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
        image = info + pixels + mask
        entries += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32, len(image), offset)
        images += image
        offset += len(image)
    return header + entries + images


def png_bytes(canvas):
    s = canvas.size
    rgba = canvas.rgba_bytes()
    raw = b"".join(b"\x00" + rgba[y * s * 4:(y + 1) * s * 4] for y in range(s))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", s, s, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def icon(draw):
    canvases = []
    for size in (16, 24, 32, 48):
        canvas = Canvas(size)
        draw(canvas, size)
        canvases.append(canvas)
    return ico_bytes(canvases)


outputs = {
    "data/folder.ico": icon(draw_folder),
    "data/blank.ico": icon(lambda c, s: draw_page(c, s, False)),
    "data/document.ico": icon(lambda c, s: draw_page(c, s, True)),
}
app = Canvas(256)
draw_application(app, 256)
outputs["packaging/folioneer.png"] = png_bytes(app)
for size in (16, 24, 32, 48, 64, 128):
    small = Canvas(size)
    draw_application(small, size)
    outputs[f"packaging/icons/folioneer-{size}.png"] = png_bytes(small)

import os
for path, data in outputs.items():
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)
    print(f"wrote {path} ({len(data)} bytes)")
PYTHON
