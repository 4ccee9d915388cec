#!/usr/bin/env python3
"""Writes a realistic Word (.docx) and OpenDocument (.odt) text of about
SCALE x 300 KB of text: chapters with headings, paragraphs with bold and
italic runs, numbered and bulleted lists, a table now and then, footnotes,
and the styles and list definitions that name them.

  extract_package_make.py SCALE OUT.docx OUT.odt
"""
import random
import sys
import zipfile

# Words of two or three syllables, varied as prose is: the package deflates
# about as much as a real document's does.
SYLLABLES = ("ta ren sol mar vik lo pe and the ost ril cha dun bre ka mo sti ver lin gar "
             "ho nu ep sal tor wen fi dra que bo lum ser ni gal thor ya cen pri do").split()
WORDS = sorted({a + b + c for a in SYLLABLES for b in SYLLABLES for c in ("", "s", "en", "ing")})


def esc(text):
    return text.replace("&", "&amp;").replace("<", "&lt;")


def sentence(rng, count):
    return " ".join(rng.choice(WORDS) for _ in range(count)).capitalize() + "."


def blocks(scale):
    """The document as (kind, payload) blocks, the same for both formats."""
    rng = random.Random(7)
    written, target, chapter, notes = 0, scale * 300_000, 0, 0
    while written < target:
        chapter += 1
        yield "heading", f"Chapter {chapter}"
        for k in range(12):
            text = " ".join(sentence(rng, rng.randint(6, 16)) for _ in range(4))
            written += len(text)
            note = sentence(rng, 8)
            notes += k % 5 == 2
            # A plain half, a bold half, and now and then a footnote (its number and text).
            yield "para", (esc(text[:len(text) // 2]), esc(text[len(text) // 2:]), notes if k % 5 == 2 else 0, esc(note))
        yield "list", [sentence(rng, 6) for _ in range(4)]
        if chapter % 3 == 0:
            yield "table", [[sentence(rng, 3) for _ in range(3)] for _ in range(5)]


W = 'xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main"'
R = 'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"'


def docx(scale, path):
    body, notes = [], []
    for kind, payload in blocks(scale):
        if kind == "heading":
            body.append(f'<w:p><w:pPr><w:pStyle w:val="Heading1"/></w:pPr><w:r><w:t>{payload}</w:t></w:r></w:p>')
        elif kind == "para":
            plain, bold, note, extra = payload
            run = (f'<w:r><w:t xml:space="preserve">{plain}</w:t></w:r>'
                   f'<w:r><w:rPr><w:b/></w:rPr><w:t xml:space="preserve">{bold}</w:t></w:r>')
            if note:
                run += f'<w:r><w:rPr><w:rStyle w:val="FootnoteReference"/></w:rPr><w:footnoteReference w:id="{note}"/></w:r>'
                notes.append(f'<w:footnote w:id="{note}"><w:p><w:r><w:footnoteRef/></w:r>'
                             f'<w:r><w:t xml:space="preserve"> {extra}</w:t></w:r></w:p></w:footnote>')
            body.append(f'<w:p><w:pPr><w:pStyle w:val="Normal"/></w:pPr>{run}</w:p>')
        elif kind == "list":
            for item in payload:
                body.append('<w:p><w:pPr><w:numPr><w:ilvl w:val="0"/><w:numId w:val="1"/></w:numPr></w:pPr>'
                            f'<w:r><w:t>{esc(item)}</w:t></w:r></w:p>')
        else:
            rows = "".join("<w:tr>" + "".join(f"<w:tc><w:p><w:r><w:t>{esc(c)}</w:t></w:r></w:p></w:tc>" for c in row)
                           + "</w:tr>" for row in payload)
            body.append(f"<w:tbl><w:tblPr/><w:tblGrid/>{rows}</w:tbl>")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr("[Content_Types].xml",
                   '<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
                   '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
                   '<Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" '
                   'ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>'
                   '</Types>')
        z.writestr("_rels/.rels",
                   '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                   '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
                   'officeDocument" Target="word/document.xml"/></Relationships>')
        rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/"
        z.writestr("word/_rels/document.xml.rels",
                   '<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
                   + "".join(f'<Relationship Id="rId{i}" Type="{rel}{kind}" Target="{kind}.xml"/>'
                             for i, kind in enumerate(("styles", "numbering", "footnotes"), 2))
                   + "</Relationships>")
        z.writestr("word/styles.xml",
                   f'<?xml version="1.0"?><w:styles {W}><w:style w:type="paragraph" w:styleId="Normal"><w:name w:val="Normal"/>'
                   '</w:style><w:style w:type="paragraph" w:styleId="Heading1"><w:name w:val="heading 1"/><w:pPr>'
                   '<w:outlineLvl w:val="0"/></w:pPr></w:style></w:styles>')
        z.writestr("word/numbering.xml",
                   f'<?xml version="1.0"?><w:numbering {W}><w:abstractNum w:abstractNumId="0"><w:lvl w:ilvl="0">'
                   '<w:start w:val="1"/><w:numFmt w:val="decimal"/><w:lvlText w:val="%1."/></w:lvl></w:abstractNum>'
                   '<w:num w:numId="1"><w:abstractNumId w:val="0"/></w:num></w:numbering>')
        z.writestr("word/footnotes.xml", f'<?xml version="1.0"?><w:footnotes {W}>' + "".join(notes) + "</w:footnotes>")
        z.writestr("word/document.xml", f'<?xml version="1.0" encoding="UTF-8"?><w:document {W} {R}><w:body>'
                   + "\n".join(body) + '<w:sectPr/></w:body></w:document>')


def odt(scale, path):
    ns = ('xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
          'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
          'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
          'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"')
    body = []
    for kind, payload in blocks(scale):
        if kind == "heading":
            body.append(f'<text:h text:outline-level="1">{payload}</text:h>')
        elif kind == "para":
            plain, bold, note, extra = payload
            inner = f'{plain}<text:span text:style-name="T1">{bold}</text:span>'
            if note:
                inner += (f'<text:note text:id="ftn{note}" text:note-class="footnote"><text:note-citation>{note}'
                          f'</text:note-citation><text:note-body><text:p>{extra}</text:p></text:note-body></text:note>')
            body.append(f'<text:p text:style-name="P1">{inner}</text:p>')
        elif kind == "list":
            body.append('<text:list text:style-name="L1">'
                        + "".join(f"<text:list-item><text:p>{esc(i)}</text:p></text:list-item>" for i in payload)
                        + "</text:list>")
        else:
            rows = "".join("<table:table-row>" + "".join(f"<table:table-cell><text:p>{esc(c)}</text:p></table:table-cell>"
                                                         for c in row) + "</table:table-row>" for row in payload)
            body.append(f'<table:table table:name="T"><table:table-column table:number-columns-repeated="3"/>{rows}</table:table>')
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as z:
        z.writestr(zipfile.ZipInfo("mimetype"), "application/vnd.oasis.opendocument.text")
        z.writestr("META-INF/manifest.xml",
                   '<?xml version="1.0"?><manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0">'
                   '<manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.text"/>'
                   '<manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"/></manifest:manifest>')
        z.writestr("styles.xml", f'<?xml version="1.0"?><office:document-styles {ns} office:version="1.3"><office:styles>'
                   '<style:style style:name="Standard" style:family="paragraph"/></office:styles></office:document-styles>')
        z.writestr("content.xml", f'<?xml version="1.0" encoding="UTF-8"?><office:document-content {ns} office:version="1.3">'
                   '<office:automatic-styles><text:list-style style:name="L1"><text:list-level-style-number '
                   'text:level="1" style:num-suffix="." style:num-format="1"/></text:list-style></office:automatic-styles>'
                   '<office:body><office:text>' + "\n".join(body) + "</office:text></office:body></office:document-content>")


if __name__ == "__main__":
    scale = int(sys.argv[1])
    docx(scale, sys.argv[2])
    odt(scale, sys.argv[3])
