#!/usr/bin/env python3
"""Writes a realistic FictionBook of about SCALE x 1 MB: a description with a
cover picture, chapters of Russian prose (about 50 sections at 1x, some
nested) with epigraphs, poems, emphasis and note references, and a notes
body after the main one, in the encoding given (windows-1251 or utf-8).

  extract_fb2_make.py SCALE ENCODING OUT.fb2
"""
import base64
import random
import sys

WORDS = ("поезд пришёл на станцию поздно вечером когда над лесом уже стояла луна вера вышла пустую платформу "
         "огляделась ни носильщика извозчика только старый фонарь качался ветру дом стоял краю деревни "
         "под высокими соснами дверь открыла женщина сером платке молча пропустила гостью тёплую кухню").split()


def sentence(rng, count):
    return " ".join(rng.choice(WORDS) for _ in range(count))


def paragraph(rng, notes):
    words = sentence(rng, rng.randint(30, 90)).split()
    at = rng.randrange(len(words))
    words[at] = f"<emphasis>{words[at]}</emphasis>"
    mark = ""
    if rng.random() < 0.08:
        notes.append(f'<section id="n{len(notes) + 1}"><title><p>{len(notes) + 1}</p></title>'
                     f"<p>{sentence(rng, 15).capitalize()}.</p></section>")
        mark = f'<a l:href="#n{len(notes)}" type="note">[{len(notes)}]</a>'
    return f"<p>{' '.join(words).capitalize()}.{mark}</p>"


def chapter(rng, number, notes):
    parts = [f"<section><title><p>Глава {number}</p></title>"]
    if rng.random() < 0.3:
        parts.append(f"<epigraph><p>{sentence(rng, 12).capitalize()}.</p><text-author>Автор</text-author></epigraph>")
    for part in range(2):
        parts.append(f"<section><title><p>Часть {part + 1}</p></title>")
        parts.extend(paragraph(rng, notes) for _ in range(rng.randint(35, 55)))
        if rng.random() < 0.2:
            verses = "".join(f"<v>{sentence(rng, 5)}</v>" for _ in range(4))
            parts.append(f"<poem><stanza>{verses}</stanza></poem>")
        parts.append("</section>")
    parts.append("</section>")
    return "\n".join(parts)


def main():
    scale, encoding, out = float(sys.argv[1]), sys.argv[2], sys.argv[3]
    rng = random.Random(29)
    cover = base64.b64encode(bytes(rng.randrange(256) for _ in range(30000))).decode()
    notes, chapters, size, number = [], [], 0, 0
    while size < scale * 1_000_000:
        number += 1
        text = chapter(rng, number, notes)
        size += len(text.encode(encoding))
        chapters.append(text)
    book = (f'<?xml version="1.0" encoding="{encoding}"?>\n'
            '<FictionBook xmlns="http://www.gribuser.ru/xml/fictionbook/2.0" xmlns:l="http://www.w3.org/1999/xlink">\n'
            '<description><title-info><genre>prose</genre><author><first-name>Анна</first-name>'
            '<last-name>Ветрова</last-name></author><book-title>Зимняя дорога</book-title>'
            '<coverpage><image l:href="#cover.jpg"/></coverpage><lang>ru</lang></title-info></description>\n'
            '<body><title><p>Анна Ветрова</p><p>Зимняя дорога</p></title>\n'
            + "\n".join(chapters) + '\n</body>\n<body name="notes"><title><p>Примечания</p></title>\n'
            + "\n".join(notes) + '\n</body>\n'
            f'<binary id="cover.jpg" content-type="image/jpeg">{cover}</binary>\n</FictionBook>\n')
    with open(out, "wb") as f:
        f.write(book.encode(encoding))


main()
