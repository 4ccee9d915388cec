"""Writes a generated HTML novel of about the given size in MB to a file: a
contents list linking its chapters, then chapters (<h1>, scenes under <h2>)
of paragraphs with entities and accented words, lists and tables.

    extract_html_novel.py FILE MB ENCODING    (utf-8, windows-1252 or gbk)
"""
import random
import sys

path, megabytes, encoding = sys.argv[1], float(sys.argv[2]), sys.argv[3]
random.seed(7)
words = ("the salt road ran east from village through marshes where ground was white in summer grey "
         "winter carts had worn two deep tracks café naïve façade").split()
if encoding == "gbk":
    words += "盐路 向东 穿过 村庄 沼泽 夏天 冬天".split()


def sentence(count):
    return " ".join(random.choice(words) for _ in range(count))


def paragraph():
    text = sentence(random.randint(40, 120)).capitalize()
    return f"<p>{text} &mdash; &ldquo;{sentence(5)}&rdquo; &amp; <i>{sentence(3)}</i>.</p>\n"


def chapter(number):
    parts = [f'<h1 id="c{number}">Chapter {number}: {sentence(3).title()}</h1>\n']
    for scene in range(1, 4):
        parts.append(f"<h2>Scene {number}.{scene}</h2>\n")
        for _ in range(12):
            kind = random.random()
            if kind < 0.06:
                items = "".join(f"<li>{sentence(6)}</li>\n" for _ in range(4))
                parts.append(f"<ul>\n{items}</ul>\n")
            elif kind < 0.1:
                rows = "".join(f"<tr><td>{sentence(2)}</td><td>{random.randint(1, 999)}&nbsp;km</td></tr>\n"
                               for _ in range(3))
                parts.append(f"<table>\n{rows}</table>\n")
            else:
                parts.append(paragraph())
    return "".join(parts)


chapters, size = [], 0
while size < megabytes * 1_000_000:
    chapters.append(chapter(len(chapters) + 1))
    size += len(chapters[-1].encode(encoding, "replace"))
charset = {"utf-8": "utf-8", "windows-1252": "windows-1252", "gbk": "gbk"}[encoding]
contents = "".join(f'<li><a href="#c{k}">Chapter {k}</a></li>\n' for k in range(1, len(chapters) + 1))
page = (f'<!DOCTYPE html>\n<html><head><meta charset="{charset}"><title>The Salt Road</title>\n'
        "<style>\np { text-indent: 1em }\n</style>\n<script>var read = 0;</script></head>\n<body>\n"
        f"<ul>\n{contents}</ul>\n" + "".join(chapters) + "</body></html>\n")
with open(path, "wb") as out:
    out.write(page.encode(encoding, "replace"))
