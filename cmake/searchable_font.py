#!/usr/bin/env python3
"""Writes the page typeface as a font whose characters a PDF's text layer can spell.

Qt's PDF writer names each glyph by the lowest character that maps to it, and Noto CJK maps the
radical characters (U+2E80 to U+2FDF) to the glyphs of ordinary ones: 欠 and 手 would read back as
the radicals ⽋ and ⼿. Without those characters in its character map, every glyph is named by its
ordinary character; the glyphs themselves stay as they are.

usage: searchable_font.py SOURCE.ttc FACE-INDEX FAMILY OUTPUT.otf
"""
import sys

from fontTools.ttLib import TTFont

RADICALS = range(0x2E80, 0x2FE0)
FAMILY_NAME, SUBFAMILY_NAME, FULL_NAME, POSTSCRIPT_NAME = 1, 2, 4, 6
TYPOGRAPHIC_FAMILY, TYPOGRAPHIC_SUBFAMILY = 16, 17


def main(source, face, family, output):
    font = TTFont(source, fontNumber=int(face), lazy=True)
    for table in font["cmap"].tables:
        for character in [c for c in table.cmap if c in RADICALS]:
            del table.cmap[character]
    names = font["name"]
    style = names.getDebugName(SUBFAMILY_NAME) or "Regular"
    for record in list(names.names):
        if record.nameID in (TYPOGRAPHIC_FAMILY, TYPOGRAPHIC_SUBFAMILY):
            names.removeNames(nameID=record.nameID)
    for name_id, text in ((FAMILY_NAME, family), (FULL_NAME, f"{family} {style}"),
                          (POSTSCRIPT_NAME, family.replace(" ", "") + "-" + style)):
        names.setName(text, name_id, 3, 1, 0x409)
        names.setName(text, name_id, 1, 0, 0)
    font.save(output)


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    main(*sys.argv[1:])
