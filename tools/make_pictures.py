#!/usr/bin/env python3
"""Draws the program's own pictures into resources/ and writes the Qt
resource file resources/tarvolin.qrc that lists them.

Needs ImageMagick's convert and the DejaVu fonts (for the splash text).
Run from anywhere:  python3 tools/make_pictures.py
Every run draws the same pictures (the random choices are seeded).

Resource layout (":/<type>/<name>.png", names lower-case; each picture also
as <name>@2x.png, drawn at twice the size for screens of two device pixels a
point):
  icon/100..102      window and tray icons: playing, paused, stopped
  bitmap/play, pause, stop   transport button pictures (one-colour shapes)
  bitmap/101..120    rating stars (28 x 136) by class and star colour set
  bitmap/600..619    class bars (94 x 18) by class and star colour set
  bitmap/121..187    animation frames of the information window (116 x 96)
  bitmap/splash      the start-up picture
  custom/85..123     main pictures of the information window
  custom/125, 126    its second, small picture
"""
import math
import os
import random
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "resources")
FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
FONT_ITALIC = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Oblique.ttf"

made = []  # resource paths relative to resources/


def convert(args, rel, kind="PNG32"):
    """Runs convert with args, writing resources/<rel>. kind: PNG32 (with
    transparency), PNG24 (opaque) or PNG8 (64 colours, for flat drawings)."""
    path = os.path.join(OUT, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    fmt = ["-dither", "None", "-colors", "64", "PNG8:" + path] if kind == "PNG8" else [f"{kind}:" + path]
    cmd = ["convert"] + args + ["-strip", "-define", "png:compression-level=9",
                                "-define", "png:exclude-chunks=date,time"] + fmt
    subprocess.run(cmd, check=True)
    made.append(rel)


def picture(rel, make, kind="PNG32"):
    """Draws resources/<rel> twice: make(1) gives the convert arguments at its
    size for a screen of one device pixel a point, make(2) at twice the size,
    written beside it as <name>@2x.png for screens of two."""
    convert(make(1), rel, kind)
    base, ext = os.path.splitext(rel)
    convert(make(2), f"{base}@2x{ext}", kind)


def scaled(draw, s):
    """An MVG drawing made at the 1x size, drawn s times larger."""
    return f"scale {s},{s}\n" + draw


def canvas(w, h, background="none", s=1):
    return ["-size", f"{w * s}x{h * s}", f"xc:{background}"]


# ---------------------------------------------------------------- shapes

def star_points(cx, cy, outer, inner, rotation=-90.0):
    pts = []
    for i in range(10):
        r = outer if i % 2 == 0 else inner
        a = math.radians(rotation + i * 36)
        pts.append(f"{cx + r * math.cos(a):.2f},{cy + r * math.sin(a):.2f}")
    return " ".join(pts)


# A light rim around the dark edge of the stars and bars: on a light window
# it hardly shows and the dark edge outlines the picture, on a dark window
# it does.
HALO = "#f4f4f4"


def star(cx, cy, outer, fill, stroke, width=1.2):
    points = star_points(cx, cy, outer, outer * 0.42)
    return (f"fill '{HALO}' stroke '{HALO}' stroke-width {width + 2} polygon {points}\n"
            f"fill '{fill}' stroke '{stroke}' stroke-width {width} polygon {points}\n")


def note(cx, cy, scale, angle, colour, double=False):
    """A quaver (or two beamed quavers) centred near (cx, cy)."""
    body = (
        "push graphic-context\n"
        f"translate {cx:.2f},{cy:.2f}\n"
        f"rotate {angle:.2f}\n"
        f"scale {scale:.3f},{scale:.3f}\n"
        f"fill '{colour}'\n"
        "stroke none\n"
    )
    heads = [(-6, 12)] if not double else [(-14, 14), (10, 10)]
    for hx, hy in heads:
        body += (
            "push graphic-context\n"
            f"translate {hx},{hy}\n"
            "rotate -25\n"
            "ellipse 0,0 7.5,5.2 0,360\n"
            "pop graphic-context\n"
            f"rectangle {hx + 6},{hy - 36} {hx + 8.6},{hy - 1}\n"
        )
    if double:
        body += "polygon -8,-22 18.6,-28 18.6,-21 -8,-15\n"
    else:
        body += "path 'M 0,-24 C 8,-20 15,-13 11,-1 C 11,-10 6,-14 1,-15 Z'\n"
    body += "pop graphic-context\n"
    return body


# ---------------------------------------------------------------- icons and transport

def make_icons():
    states = {
        100: ("#2e9e4f", "#1d6b34", "polygon 19,14 36,24 19,34"),
        101: ("#e0a020", "#9a6b00", "rectangle 16,14 21,34 rectangle 27,14 32,34"),
        102: ("#5b6b7f", "#36414f", "rectangle 15,15 33,33"),
    }
    for number, (fill, rim, symbol) in states.items():
        draw = (f"fill '{fill}' stroke '{rim}' stroke-width 2 circle 24,24 24,2\n"
                f"fill white stroke none {symbol}\n")
        picture(f"icon/{number}.png", lambda s, draw=draw: canvas(48, 48, s=s) + ["-draw", scaled(draw, s)])


def make_transport():
    shapes = {
        "play": "polygon 9,6 26,16 9,26",
        "pause": "rectangle 8,6 13,26 rectangle 19,6 24,26",
        "stop": "rectangle 8,8 24,24",
        "next": "polygon 6,8 16,16 6,24 polygon 16,8 26,16 16,24",
        "previous": "polygon 26,8 16,16 26,24 polygon 16,8 6,16 16,24",
        "ahead": "polygon 6,8 18,16 6,24 rectangle 22,8 26,24",
        "back": "polygon 26,8 14,16 26,24 rectangle 6,8 10,24",
    }
    # One-colour shapes: the program draws them in the text colour of the
    # button they are on, so that they stand out on light and dark buttons.
    for name, shape in shapes.items():
        draw = f"fill black stroke black stroke-width 1 {shape}\n"
        picture(f"bitmap/{name}.png", lambda s, draw=draw: canvas(32, 32, s=s) + ["-draw", scaled(draw, s)])


# ---------------------------------------------------------------- rating stars and class bars

GOLD = ("#f2b705", "#9a6b00")
BLUE = ("#2f6fdf", "#173f8a")
BLACK_BLUE = ("#0d1b3d", "#3a7bff")
MIX = [("#f2b705", "#9a6b00"), ("#f26b05", "#8a3a00"), ("#d62d4a", "#7a1020"),
       ("#8e3bd6", "#4a1a7a"), ("#2f6fdf", "#173f8a")]  # bottom to top
EMPTY_LIGHT = ("#ececec", "#7a7a7a")
EMPTY_DARK = ("#3a3a46", "#6a6a7a")


def star_column(filled, colours, empty):
    """Five stars, bottom to top; the lowest `filled` are coloured."""
    draw = ""
    for k in range(5):
        cy = 136 - (13.6 + 27.2 * k)
        fill, stroke = (colours[k] if isinstance(colours, list) else colours) if k < filled else empty
        draw += star(14, cy, 12.5, fill, stroke)
    return draw


def make_stars():
    # class -> number of stars: X 1, C 2, B 3, A 4, S 5.
    sets = [(GOLD, EMPTY_LIGHT), (BLUE, EMPTY_LIGHT), (BLACK_BLUE, EMPTY_DARK), (MIX, EMPTY_DARK)]
    pictures = {101: (0, GOLD, EMPTY_DARK), 102: (0, GOLD, EMPTY_LIGHT),
                119: (5, BLUE, EMPTY_LIGHT), 120: (5, GOLD, EMPTY_LIGHT)}
    for stars, top in ((1, 106), (2, 110), (3, 114), (4, 118)):
        for c, (colours, empty) in enumerate(sets):
            pictures[top - c] = (stars, colours, empty)
    for number in sorted(pictures):
        stars, colours, empty = pictures[number]
        draw = star_column(stars, colours, empty)
        picture(f"bitmap/{number}.png", lambda s, draw=draw: canvas(28, 136, s=s) + ["-draw", scaled(draw, s)])


def bar(number, light, dark, rim):
    def make(s):
        def frame(inset, colour):
            a, r, b = inset * s + (s - 1) / 2, 94 * s - inset * s - (s + 1) / 2, 18 * s - inset * s - (s + 1) / 2
            return ["-stroke", colour, "-draw", f"rectangle {a},{a} {r},{b}"]
        return (["-size", f"{94 * s}x{18 * s}", "-define", "gradient:direction=east", f"gradient:{light}-{dark}",
                 "-fill", "none", "-strokewidth", f"{s}"] + frame(0, HALO) + frame(1, rim))
    picture(f"bitmap/{number}.png", make)


def make_bars():
    bars = {
        600: ("#f4f4f4", "#c4c4c4", "#707070"),  # unclassified, gold and blue sets
        601: ("#6a6a76", "#2a2a33", "#1a1a20"),  # unclassified, dark sets
        602: ("#ffe27a", "#d89a00", "#9a6b00"),  # X to A, gold
        603: ("#b4d0ff", "#2f6fdf", "#173f8a"),  # X to A, blue
        604: ("#2a4a8a", "#0d1b3d", "#3a7bff"),  # X to A, black blue and mix
        614: ("#ffe27a", "#f2b705", "#9a6b00"),  # mix: X chosen
        615: ("#ffc08a", "#f26b05", "#8a3a00"),  # mix: C chosen
        616: ("#f59aab", "#d62d4a", "#7a1020"),  # mix: B chosen
        617: ("#d2a8f5", "#8e3bd6", "#4a1a7a"),  # mix: A chosen
        618: ("#fff3b0", "#f2b705", "#9a6b00"),  # S: gold set, and mix with S chosen
        619: ("#6f9cff", "#0d1b3d", "#3a7bff"),  # S: the other sets
    }
    # 605 to 613 complete the numbered set as a row of hues.
    for i, number in enumerate(range(605, 614)):
        hue = i * 40
        bars[number] = (f"hsl({hue},90%,80%)", f"hsl({hue},75%,45%)", f"hsl({hue},75%,25%)")
    for number in sorted(bars):
        bar(number, *bars[number])


# ---------------------------------------------------------------- splash

def make_fallback_art():
    # Shown in the compact window when a folder has no album picture.
    draw = ("fill '#1f2a3a' stroke none rectangle 0,0 119,119\n"
            "fill '#3b4d66' stroke '#5b7aa0' stroke-width 3 circle 60,60 60,14\n"
            "fill '#1f2a3a' stroke none circle 60,60 60,52\n")
    picture("bitmap/fallback_art.png", lambda s: canvas(120, 120, s=s) + ["-draw", scaled(draw, s)])


def make_splash():
    w, h = 420, 260
    draw = ""
    rnd = random.Random(7)
    for _ in range(9):
        draw += note(rnd.uniform(20, w - 20), rnd.uniform(30, h - 30), rnd.uniform(0.6, 1.3),
                     rnd.uniform(-30, 30), "rgba(255,255,255,0.18)", rnd.random() < 0.4)
    font_ok = os.path.exists(FONT_BOLD) and os.path.exists(FONT_ITALIC)

    def make(s):
        args = ["-size", f"{w * s}x{h * s}", "gradient:#0d1b3d-#2f6fdf", "-draw", scaled(draw, s)]
        args += (["-font", FONT_BOLD] if font_ok else []) + [
            "-fill", "white", "-pointsize", f"{64 * s}", "-gravity", "center",
            "-annotate", f"+0-{30 * s}", "tarvolin"]
        args += (["-font", FONT_ITALIC] if font_ok else []) + [
            "-fill", "#ffe27a", "-pointsize", f"{20 * s}", "-annotate", f"+0+{40 * s}",
            "Press once and let it play..."]
        return args
    picture("bitmap/splash.png", make, "PNG24")


# ---------------------------------------------------------------- information window

def make_custom_pictures():
    w, h = 360, 270
    for number in list(range(85, 124)):
        rnd = random.Random(number)
        hue = (number * 137) % 360
        top = f"hsl({hue},55%,30%)"
        bottom = f"hsl({(hue + 40) % 360},60%,70%)"
        draw = ""
        for _ in range(rnd.randint(3, 6)):
            cx, cy, r = rnd.uniform(0, w), rnd.uniform(0, h), rnd.uniform(20, 90)
            draw += (f"fill 'rgba(255,255,255,{rnd.uniform(0.08, 0.25):.2f})' stroke none "
                     f"circle {cx:.1f},{cy:.1f} {cx + r:.1f},{cy:.1f}\n")
        # A staff of five lines across the picture, gently waved.
        base = rnd.uniform(70, 150)
        amp, phase = rnd.uniform(4, 14), rnd.uniform(0, 6.28)
        for line in range(5):
            pts = " ".join(f"{x},{base + line * 9 + amp * math.sin(x / 50 + phase):.1f}" for x in range(0, w + 1, 12))
            draw += f"fill none stroke 'rgba(255,255,255,0.55)' stroke-width 1.2 polyline {pts}\n"
        for _ in range(rnd.randint(2, 4)):
            draw += note(rnd.uniform(30, w - 30), base + rnd.uniform(-5, 40), rnd.uniform(0.8, 1.6),
                         rnd.uniform(-15, 15), "rgba(255,255,255,0.9)", rnd.random() < 0.5)
        picture(f"custom/{number}.png", lambda s, draw=draw, top=top, bottom=bottom: [
            "-size", f"{w * s}x{h * s}", f"gradient:{top}-{bottom}", "-draw", scaled(draw, s)], "PNG24")
    for number, (fill, back) in ((125, ("#f2b705", "#0d1b3d")), (126, ("#ffffff", "#8e3bd6"))):
        draw = (f"fill '{back}' stroke '{fill}' stroke-width 3 circle 48,48 48,4\n"
                + note(50, 50, 1.3, 0, fill, number == 126))
        picture(f"custom/{number}.png", lambda s, draw=draw: canvas(96, 96, s=s) + ["-draw", scaled(draw, s)])


FRAME_BACK = "#f7f3ea"
NOTE_COLOUR = "#1d4f9c"


def frame(number, draw):
    picture(f"bitmap/{number}.png", lambda s: canvas(116, 96, FRAME_BACK, s) + ["-draw", scaled(draw, s)], "PNG8")


def make_frames():
    # 121-137: the waiting loop, a note swinging to and fro (seamless).
    n = 17
    for i in range(n):
        angle = 28 * math.sin(2 * math.pi * i / n)
        ring = 30 + 4 * math.sin(2 * math.pi * i / n)
        draw = (f"fill none stroke '#c9c1ad' stroke-width 2 circle 58,50 {58 + ring:.1f},50\n"
                + note(58, 50, 1.5, angle, NOTE_COLOUR))
        frame(121 + i, draw)
    # 138-158: a full turn while the note shrinks away.
    n = 21
    for i in range(n):
        t = i / (n - 1)
        frame(138 + i, note(58, 48, 1.6 * (1 - t) + 0.05, 360 * t, NOTE_COLOUR))
    # 159-168: the note bounces and leaves to the right.
    n = 10
    for i in range(n):
        t = i / (n - 1)
        x = 30 + 100 * t
        y = 70 - 45 * abs(math.sin(math.pi * 2 * t))
        frame(159 + i, note(x, y, 1.2, 15 * t, NOTE_COLOUR))
    # 169-187: two beamed notes rise and small notes drift up beside them.
    n = 19
    for i in range(n):
        t = i / (n - 1)
        draw = note(58, 100 - 120 * t, 1.3, -10 + 20 * t, NOTE_COLOUR, True)
        draw += note(22, 90 - 60 * t, 0.6, 10, "#6f9cff")
        draw += note(96, 80 - 80 * t, 0.7, -10, "#8e3bd6")
        frame(169 + i, draw)


# ---------------------------------------------------------------- resource file

def write_qrc():
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/">']
    lines += [f"    <file>{rel}</file>" for rel in sorted(made)]
    lines += ["</qresource>", "</RCC>", ""]
    with open(os.path.join(OUT, "tarvolin.qrc"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def main():
    make_icons()
    make_transport()
    make_stars()
    make_bars()
    make_fallback_art()
    make_splash()
    make_custom_pictures()
    make_frames()
    write_qrc()
    total = sum(os.path.getsize(os.path.join(OUT, rel)) for rel in made)
    print(f"{len(made)} pictures, {total // 1024} KiB")
    return 0


if __name__ == "__main__":
    sys.exit(main())
