#!/usr/bin/python3
"""Draws the skin pictures of the program folder's images/ (run with Debian's
python3-pil): the title bar, its icon, the close and minimise glyphs, the list
arrows and the splash picture; and the program icon at 16, 32 and 48 pixels
plus a scalable one in assets/icons/. The outputs are committed; rerun after a
change.

    /usr/bin/python3 scripts/make-skin.py [output folder]
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "assets", "images")
SCALE = 4  # shapes are drawn four times larger and scaled down for smooth edges

# One palette for everything: slate title bar, leaf green accents, neutral greys.
BAR_TOP = (122, 144, 154)  # light enough at the top for the black title text
BAR_BOTTOM = (70, 90, 100)
BAR_LINE = (160, 180, 188)
LEAF_LIGHT = (150, 206, 110)
LEAF_DARK = (62, 138, 58)
LEAF_VEIN = (226, 244, 206)
GLYPH = (214, 224, 226)
GLYPH_HOVER = (255, 255, 255)
FACE_NORMAL = (58, 74, 82)
FACE_HOVER = (112, 138, 148)
CLOSE_HOVER = (196, 88, 72)
PANEL = (224, 224, 224)  # the main panel behind the list arrows
BOLD_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
PLAIN_FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"


def mix(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def vertical_gradient(size, top, bottom):
    width, height = size
    image = Image.new("RGB", size)
    draw = ImageDraw.Draw(image)
    for y in range(height):
        draw.line([(0, y), (width - 1, y)], fill=mix(top, bottom, y / max(1, height - 1)))
    return image


def title_bar(width=380, height=21):
    bar = vertical_gradient((width, height), BAR_TOP, BAR_BOTTOM)
    draw = ImageDraw.Draw(bar)
    draw.line([(0, 0), (width - 1, 0)], fill=BAR_LINE)  # a light top edge gives the bar some depth
    draw.line([(0, height - 1), (width - 1, height - 1)], fill=(30, 40, 46))
    return bar


def smooth(big):
    return big.resize((big.width // SCALE, big.height // SCALE), Image.LANCZOS)


def draw_leaf(draw, box, vein=True):
    """A leaf pointing to the upper right inside box (x0, y0, x1, y1)."""
    x0, y0, x1, y1 = box
    w, h = x1 - x0, y1 - y0
    upper = [(x0 + w * t, y1 - h * t - h * 0.42 * (4 * t * (1 - t))) for t in (i / 24 for i in range(25))]
    lower = [(x0 + w * t, y1 - h * t + h * 0.42 * (4 * t * (1 - t))) for t in (i / 24 for i in range(24, -1, -1))]
    draw.polygon(upper + lower, fill=LEAF_DARK)
    inner = [(x + (x0 + w / 2 - x) * 0.18, y + (y0 + h / 2 - y) * 0.18) for x, y in upper[2:-2]]
    inner += [(x + (x0 + w / 2 - x) * 0.18, y + (y0 + h / 2 - y) * 0.18) for x, y in lower[2:-2]]
    draw.polygon(inner, fill=LEAF_LIGHT)
    if vein:
        draw.line([(x0, y1), (x1 - w * 0.1, y0 + h * 0.1)], fill=LEAF_VEIN, width=max(1, round(w / 14)))


def title_icon():
    # Drawn on the bar's own colours behind it (the icon sits 3 pixels down).
    big = title_bar().crop((0, 3, 16, 19)).resize((16 * SCALE, 16 * SCALE), Image.NEAREST)
    draw_leaf(ImageDraw.Draw(big), (1 * SCALE, 1 * SCALE, 15 * SCALE, 15 * SCALE))
    return smooth(big)


def program_icon(size):
    """The leaf on a rounded slate tile, transparent around it."""
    big = Image.new("RGBA", (size * SCALE, size * SCALE), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    edge = size * SCALE - 1
    draw.rounded_rectangle((0, 0, edge, edge), radius=size * SCALE // 5, fill=BAR_BOTTOM + (255,), outline=BAR_LINE + (255,),
                           width=max(SCALE, size * SCALE // 24))
    inset = size * SCALE * 0.16
    draw_leaf(draw, (inset, inset, size * SCALE - inset, size * SCALE - inset), vein=size >= 32)
    return big.resize((size, size), Image.LANCZOS)


def program_icon_svg():
    """The same tile and leaf as a path, for launchers that scale."""
    def leaf(x0, y0, x1, y1, shrink):
        w, h = x1 - x0, y1 - y0
        upper = [(x0 + w * t, y1 - h * t - h * 0.42 * (4 * t * (1 - t))) for t in (i / 24 for i in range(25))]
        lower = [(x0 + w * t, y1 - h * t + h * 0.42 * (4 * t * (1 - t))) for t in (i / 24 for i in range(24, -1, -1))]
        points = upper + lower
        if shrink:
            points = [(x + (x0 + w / 2 - x) * 0.18, y + (y0 + h / 2 - y) * 0.18) for x, y in upper[2:-2] + lower[2:-2]]
        return " ".join(f"{x:.2f},{y:.2f}" for x, y in points)
    hexa = lambda c: "#%02x%02x%02x" % c
    return f"""<svg xmlns="http://www.w3.org/2000/svg" width="48" height="48" viewBox="0 0 48 48">
  <rect x="0.5" y="0.5" width="47" height="47" rx="9.6" fill="{hexa(BAR_BOTTOM)}" stroke="{hexa(BAR_LINE)}" stroke-width="2"/>
  <polygon points="{leaf(7.68, 7.68, 40.32, 40.32, False)}" fill="{hexa(LEAF_DARK)}"/>
  <polygon points="{leaf(7.68, 7.68, 40.32, 40.32, True)}" fill="{hexa(LEAF_LIGHT)}"/>
  <line x1="7.68" y1="40.32" x2="37.06" y2="10.94" stroke="{hexa(LEAF_VEIN)}" stroke-width="2.3"/>
</svg>
"""


def glyph_button(kind, hover):
    # The glyph buttons sit 4 pixels down on the bar; their corners show the bar.
    big = title_bar().crop((0, 4, 16, 20)).resize((16 * SCALE, 16 * SCALE), Image.NEAREST)
    draw = ImageDraw.Draw(big)
    face = (CLOSE_HOVER if kind == "close" else FACE_HOVER) if hover else FACE_NORMAL
    draw.rounded_rectangle([0, 0, 16 * SCALE - 1, 16 * SCALE - 1], radius=3 * SCALE, fill=face,
                           outline=mix(face, (255, 255, 255), 0.25), width=SCALE)
    colour = GLYPH_HOVER if hover else GLYPH
    stroke = round(1.7 * SCALE)
    if kind == "close":
        a, b = 4.5 * SCALE, 11.5 * SCALE
        draw.line([(a, a), (b, b)], fill=colour, width=stroke)
        draw.line([(a, b), (b, a)], fill=colour, width=stroke)
    else:
        draw.line([(4.5 * SCALE, 11 * SCALE), (11.5 * SCALE, 11 * SCALE)], fill=colour, width=stroke)
    return smooth(big)


def arrow_button(direction, hover):
    width, height = 31, 30
    big = Image.new("RGB", (width * SCALE, height * SCALE), PANEL)
    face = vertical_gradient((width * SCALE, height * SCALE),
                             (236, 246, 255) if hover else (252, 252, 252),
                             (170, 208, 244) if hover else (214, 218, 220))
    mask = Image.new("L", big.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, big.width - 1, big.height - 1], radius=4 * SCALE, fill=255)
    big.paste(face, (0, 0), mask)
    draw = ImageDraw.Draw(big)
    draw.rounded_rectangle([0, 0, big.width - 1, big.height - 1], radius=4 * SCALE,
                           outline=(64, 108, 161) if hover else (140, 146, 150), width=SCALE)
    cx, cy = big.width / 2, big.height / 2
    half, rise = 7 * SCALE, 4 * SCALE
    tip = -rise if direction == "up" else rise
    colour = (44, 84, 130) if hover else (70, 80, 86)
    draw.polygon([(cx - half, cy - tip), (cx + half, cy - tip), (cx, cy + tip)], fill=colour)
    return smooth(big)


def splash():
    width, height = 212, 356
    big = vertical_gradient((width * SCALE, height * SCALE), (250, 252, 247), (214, 232, 200))
    draw = ImageDraw.Draw(big)
    # The upper part stays pale and plain: the home-page label is read there.
    draw.ellipse([-70 * SCALE, (height - 62) * SCALE, (width + 70) * SCALE, (height + 120) * SCALE],
                 fill=(104, 160, 86))
    draw.ellipse([-40 * SCALE, (height - 40) * SCALE, (width + 100) * SCALE, (height + 140) * SCALE],
                 fill=(78, 136, 66))
    # A stack of pages with a leaf across it: a book made from documents.
    for i, shade in enumerate([(226, 230, 222), (238, 240, 234), (255, 255, 255)]):
        x, y = (58 + i * 7) * SCALE, (92 - i * 6) * SCALE
        draw.rounded_rectangle([x, y, x + 86 * SCALE, y + 110 * SCALE], radius=3 * SCALE, fill=shade,
                               outline=(150, 160, 150), width=SCALE)
    for row in range(7):
        y = (100 + row * 12) * SCALE
        draw.line([(82 * SCALE, y), ((144 if row % 3 != 2 else 124) * SCALE, y)], fill=(196, 204, 196),
                  width=2 * SCALE)
    draw_leaf(draw, (46 * SCALE, 112 * SCALE, 124 * SCALE, 190 * SCALE))
    image = smooth(big)
    draw = ImageDraw.Draw(image)
    name_font = ImageFont.truetype(BOLD_FONT, 30)
    tag_font = ImageFont.truetype(PLAIN_FONT, 11)
    for text, font, top, colour in (("Leafmill", name_font, 222, (36, 70, 40)),
                                    ("books for iPod Notes", tag_font, 260, (52, 84, 54))):
        left = (width - draw.textlength(text, font=font)) / 2
        draw.text((left + 1, top + 1), text, font=font, fill=(255, 255, 255))
        draw.text((left, top), text, font=font, fill=colour)
    draw.line([(0, height - 1), (width - 1, height - 1)], fill=(72, 112, 64))
    return image


def save_gif(image, name):
    image.convert("P", palette=Image.ADAPTIVE, colors=255).save(os.path.join(OUT, name))


def main():
    os.makedirs(OUT, exist_ok=True)
    save_gif(title_bar(), "tbk.gif")
    save_gif(title_icon(), "tit.gif")
    for state, hover in ((0, False), (1, True)):
        save_gif(glyph_button("close", hover), f"iclose{state}.gif")
        save_gif(glyph_button("min", hover), f"min{state}.gif")
        save_gif(arrow_button("up", hover), f"arrup{state}.gif")
        save_gif(arrow_button("down", hover), f"arrdown{state}.gif")
    splash().save(os.path.join(OUT, "loading.jpg"), quality=92)
    icons = os.path.join(OUT, "..", "icons")
    os.makedirs(icons, exist_ok=True)
    for size in (16, 32, 48):
        program_icon(size).save(os.path.join(icons, f"leafmill-{size}.png"))
    with open(os.path.join(icons, "leafmill.svg"), "w") as svg:
        svg.write(program_icon_svg())


if __name__ == "__main__":
    main()
