#!/usr/bin/env python3
"""Draws the 16-colour glyphs and window icons of every Velmora window as XPM files.

Run from anywhere: python3 forms/make_glyphs.py  (writes forms/glyphs/*.xpm). The pictures are
drawn from shapes (ellipses, polygons, thick lines, arcs), so changing one means editing its
function here and running the script again.
"""
import math
import os

# The classic 16-colour palette; "." is transparent.
PALETTE = {
    "k": "#000000", "m": "#800000", "g": "#008000", "o": "#808000",
    "n": "#000080", "p": "#800080", "t": "#008080", "s": "#C0C0C0",
    "d": "#808080", "r": "#FF0000", "l": "#00FF00", "y": "#FFFF00",
    "b": "#0000FF", "f": "#FF00FF", "a": "#00FFFF", "w": "#FFFFFF",
}


class Glyph:
    def __init__(self, size, background="."):
        self.size = size
        self.px = [[background] * size for _ in range(size)]

    def set(self, x, y, c):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c, width=1):
        for i in range(width):
            self.rect(x0 + i, y0 + i, x1 - i, y0 + i + 1, c)
            self.rect(x0 + i, y1 - i - 1, x1 - i, y1 - i, c)
            self.rect(x0 + i, y0 + i, x0 + i + 1, y1 - i, c)
            self.rect(x1 - i - 1, y0 + i, x1 - i, y1 - i, c)

    def ellipse(self, cx, cy, rx, ry, c, outline=None):
        for y in range(self.size):
            for x in range(self.size):
                dx, dy = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
                d = dx * dx + dy * dy
                if d <= 1.0:
                    inner = outline and d > (1 - 1.6 / min(rx, ry))
                    self.set(x, y, outline if inner else c)

    def polygon(self, points, c):
        for y in range(self.size):
            for x in range(self.size):
                if inside(points, x + 0.5, y + 0.5):
                    self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c, width=1.0):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 3) + 1
        r = width / 2.0
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for yy in range(int(y - r - 1), int(y + r + 2)):
                for xx in range(int(x - r - 1), int(x + r + 2)):
                    if (xx + 0.5 - x) ** 2 + (yy + 0.5 - y) ** 2 <= r * r + 0.25:
                        self.set(xx, yy, c)

    def arc(self, cx, cy, radius, start, end, c, width):
        """Degrees, counter-clockwise from east, screen y pointing down."""
        steps = max(8, int(abs(end - start) / 4))
        previous = None
        for i in range(steps + 1):
            a = math.radians(start + (end - start) * i / steps)
            p = (cx + radius * math.cos(a), cy - radius * math.sin(a))
            if previous:
                self.line(previous[0], previous[1], p[0], p[1], c, width)
            previous = p
        return previous

    def arrow_head(self, tip, direction, length, c):
        dx, dy = math.cos(direction), -math.sin(direction)
        nx, ny = -dy, dx
        base = (tip[0] - dx * length, tip[1] - dy * length)
        self.polygon([(tip[0] + dx, tip[1] + dy),
                      (base[0] + nx * length * 0.8, base[1] + ny * length * 0.8),
                      (base[0] - nx * length * 0.8, base[1] - ny * length * 0.8)], c)

    def write(self, path, name):
        used = sorted({c for row in self.px for c in row})
        lines = ["/* XPM */", "static const char* %s[] = {" % name,
                 '"%d %d %d 1",' % (self.size, self.size, len(used))]
        for c in used:
            lines.append('"%s c %s",' % (c, "None" if c == "." else PALETTE[c]))
        rows = ['"%s"' % "".join(row) for row in self.px]
        lines.append(",\n".join(rows))
        lines.append("};")
        with open(path, "w") as out:
            out.write("\n".join(lines) + "\n")


def inside(points, x, y):
    result = False
    j = len(points) - 1
    for i in range(len(points)):
        xi, yi = points[i]
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            result = not result
        j = i
    return result


def fish(g, cx, cy, length, height, body, right=True, outline="k", eye=True, fin=None):
    """A fish centred at (cx, cy), body length and height, tail behind it."""
    s = 1 if right else -1
    tail_base = cx - s * length * 0.28
    tail_end = cx - s * length * 0.56
    g.polygon([(tail_base, cy), (tail_end, cy - height * 0.45), (tail_end, cy + height * 0.45)],
              outline or body)
    g.polygon([(tail_base + s * 0.5, cy), (tail_end + s * 1.0, cy - height * 0.32),
               (tail_end + s * 1.0, cy + height * 0.32)], body)
    g.ellipse(cx + s * length * 0.08, cy, length * 0.42, height / 2, body, outline)
    if fin:
        g.polygon([(cx - s * length * 0.1, cy - height * 0.45), (cx + s * length * 0.15, cy - height * 0.45),
                   (cx - s * length * 0.2, cy - height * 0.75)], fin)
    if eye:
        ex = int(cx + s * length * 0.30)
        g.set(ex, int(cy - height * 0.12), "w" if body in ("k", "n", "d") else "k")


def plants_on_rock(g, scale):
    n = g.size
    for x0, sway, top, colour in ((0.25, 0.10, 0.12, "g"), (0.45, -0.08, 0.05, "l"),
                                  (0.62, 0.09, 0.18, "g"), (0.78, -0.06, 0.30, "l")):
        points = []
        steps = 6
        for i in range(steps + 1):
            t = i / steps
            y = n * (0.78 - (0.78 - top) * t)
            x = n * (x0 + sway * math.sin(t * math.pi * 1.5))
            points.append((x, y))
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            g.line(ax, ay, bx, by, colour, 1.2 * scale)
        for (ax, ay) in points[1:-1:2]:
            g.line(ax, ay, ax + 2.5 * scale, ay - 1.5 * scale, colour, scale)
    g.ellipse(n * 0.5, n * 0.92, n * 0.46, n * 0.2, "d", "k")
    g.ellipse(n * 0.38, n * 0.86, n * 0.12, n * 0.05, "s")


def floppy(n=24):
    g = Glyph(n)
    g.rect(2, 2, n - 2, n - 2, "y")
    g.rect(3, 3, n - 3, n - 3, "k")
    g.polygon([(n - 7, 2), (n - 2, 2), (n - 2, 7)], ".")
    g.rect(7, 3, n - 8, 9, "s")
    g.rect(n - 12, 4, n - 10, 8, "k")
    g.rect(6, n - 10, n - 6, n - 3, "w")
    g.rect(8, n - 8, n - 8, n - 7, "d")
    return g


def fish_pair(n):
    g = Glyph(n)
    fish(g, n * 0.42, n * 0.32, n * 0.62, n * 0.36, "r", right=True)
    fish(g, n * 0.58, n * 0.70, n * 0.62, n * 0.36, "b", right=False)
    return g


def double_arrow(n, colour="y"):
    g = Glyph(n)
    c, r, w = n / 2, n * 0.30, max(2.0, n / 10)
    # Two half turns with gaps between them, each ending in a head: a turning round.
    end1 = g.arc(c, c, r, 175, 45, colour, w)
    g.arrow_head(end1, math.radians(45 - 90), n * 0.2, colour)
    end2 = g.arc(c, c, r, -5, -135, colour, w)
    g.arrow_head(end2, math.radians(-135 - 90), n * 0.2, colour)
    return g


def single_arrow(n, colour="y"):
    g = Glyph(n)
    c, r, w = n / 2, n * 0.30, max(2.0, n / 9)
    end = g.arc(c, c, r, 150, -110, colour, w)
    g.arrow_head(end, math.radians(-110 - 90), n * 0.25, colour)
    return g


def exit_sign(n=32):
    g = Glyph(n)
    g.rect(1, 4, n - 1, n - 4, "b")
    g.rect(3, 6, n - 3, n - 6, "g")
    # The door, open on its right side.
    g.rect(18, 9, 27, n - 8, "w")
    g.rect(20, 11, 27, n - 8, "k")
    # The running figure heading into the door.
    g.ellipse(13, 10.5, 2, 2, "w")
    g.line(12.5, 13, 10.5, 19, "w", 2)
    g.line(12, 14.5, 16.5, 15.5, "w", 1.5)
    g.line(12, 14.5, 8, 17, "w", 1.5)
    g.line(10.5, 19, 15, 21, "w", 1.6)
    g.line(15, 21, 16, 24, "w", 1.6)
    g.line(10.5, 19, 7, 23, "w", 1.6)
    return g


def program_icon(n=32):
    g = Glyph(n)
    plants_on_rock(g, 1.3)
    fish(g, n * 0.40, n * 0.36, n * 0.50, n * 0.28, "r", right=True)
    fish(g, n * 0.62, n * 0.62, n * 0.50, n * 0.28, "b", right=False)
    return g


def plants(n):
    g = Glyph(n)
    plants_on_rock(g, n / 24)
    return g


def silhouette(n, background):
    g = Glyph(n, background)
    fish(g, n * 0.5, n * 0.5, n * 0.85, n * 0.5, "k", outline=None, fin="k")
    return g


def grey_fish_on_yellow(n=24):
    g = Glyph(n, "y")
    g.frame(0, 0, n, n, "o")
    fish(g, n * 0.5, n * 0.5, n * 0.82, n * 0.48, "d", fin="d")
    return g


def blue_red_fish(n, background):
    g = Glyph(n, background)
    fish(g, n * 0.5, n * 0.5, n * 0.85, n * 0.52, "b", fin="r")
    # Red stripes across the blue body.
    for x in (n * 0.42, n * 0.62):
        g.line(x, n * 0.33, x - 1, n * 0.67, "r", max(1.5, n / 14))
    g.set(int(n * 0.75), int(n * 0.44), "w")
    return g


def grey_white_fish(n=32):
    g = Glyph(n)
    fish(g, n * 0.5, n * 0.5, n * 0.85, n * 0.5, "w", fin="d")
    g.ellipse(n * 0.45, n * 0.62, n * 0.26, n * 0.1, "d")
    return g


def burst(n=24):
    g = Glyph(n, "w")
    c = n / 2
    for i in range(12):
        a = math.radians(i * 30 + 15)
        inner, outer = (n * 0.18, n * 0.42) if i % 2 == 0 else (n * 0.22, n * 0.34)
        g.line(c + inner * math.cos(a), c - inner * math.sin(a),
               c + outer * math.cos(a), c - outer * math.sin(a), "k" if i % 2 == 0 else "d", 1.3)
    return g


def shadow_load(n=24):
    g = Glyph(n, "o")
    fish(g, n * 0.5, n * 0.28, n * 0.7, n * 0.34, "d", fin="d")
    end = g.arc(n * 0.5, n * 0.58, n * 0.28, 200, 340, "y", 2.2)
    g.arrow_head(end, math.radians(340 - 90), n * 0.18, "y")
    return g


GLYPHS = {
    # Main window tool bar.
    "fish_pair_24": lambda: fish_pair(24),
    "rotate_double_32": lambda: double_arrow(32),
    "plants_rock_24": lambda: plants(24),
    "exit_sign_32": exit_sign,
    "program_icon_32": program_icon,
    # Tool-bar buttons of the child windows.
    "floppy_24": floppy,
    "fish_silhouette_24": lambda: silhouette(24, "w"),
    "grey_fish_yellow_24": grey_fish_on_yellow,
    "blue_red_fish_24": lambda: blue_red_fish(24, "w"),
    "burst_24": burst,
    "shadow_load_24": shadow_load,
    "rotate_arrow_24": lambda: single_arrow(24),
    # Window icons of the child windows.
    "fish_silhouette_32": lambda: silhouette(32, "."),
    "blue_red_fish_32": lambda: blue_red_fish(32, "."),
    "grey_white_fish_32": grey_white_fish,
    "plants_rock_32": lambda: plants(32),
}


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "glyphs")
    os.makedirs(folder, exist_ok=True)
    for name, draw in GLYPHS.items():
        draw().write(os.path.join(folder, name + ".xpm"), name)


if __name__ == "__main__":
    main()
