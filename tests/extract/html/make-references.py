#!/usr/bin/env python3
"""Writes references.txt, the character each reference must give: every
named entity of HTML 4 (Python's html.entities) and &apos;, with &nbsp; as a
plain space so that words around it part in any code page; and &#128; to
&#159;, which pages mean as windows-1252 (U+FFFD where it has no character)."""
import html.entities, pathlib

rows = {name: code for name, code in html.entities.name2codepoint.items()}
rows.update(apos=0x27, nbsp=0x20)
lines = [f"{name} {code:04X}" for name, code in sorted(rows.items())]
for byte in range(0x80, 0xA0):
    try:
        code = ord(bytes([byte]).decode("cp1252"))
    except UnicodeDecodeError:
        code = 0xFFFD
    lines.append(f"#{byte} {code:04X}")
(pathlib.Path(__file__).parent / "references.txt").write_text("\n".join(lines) + "\n")
