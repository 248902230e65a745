#!/usr/bin/env python3
"""Draws the bundled toolbar and window icons (16x16 pixel art) as PNG files.

Each icon is a grid of palette letters; run this script after editing one and
commit the PNG files it writes next to it. Only the standard library is used.
"""
import os
import struct
import zlib

PALETTE = {
    '.': None,
    'k': (40, 40, 40),      # outline
    'w': (255, 255, 255),   # paper
    'g': (150, 150, 150),   # grey text lines, shadows
    's': (211, 215, 207),   # light grey
    'y': (237, 196, 74),    # folder
    'Y': (176, 132, 24),    # folder, dark side
    'b': (52, 101, 164),    # blue
    'B': (114, 159, 207),   # light blue
    'r': (204, 0, 0),       # red
    'o': (245, 121, 0),     # orange
    'n': (143, 89, 2),      # brown (clipboard, pencil)
    'G': (78, 154, 6),      # green
}

ICONS = {
    'new': [
        '..kkkkkkkk......',
        '..kwwwwwwkk.....',
        '..kwwwwwwkwk....',
        '..kwwwwwwkwwk...',
        '..kwwwwwwkkkkk..',
        '..kwwwwwwwwwwk..',
        '..kwwwwwwwwwwk..',
        '..kwwwwwwwwwwk..',
        '..kwwwwwwwwwwk..',
        '..kwwwwwwwwwwk..',
        '..kwwwwwwwwo.k..',
        '..kwwwwwwwoyo...',
        '..kwwwwwwwwoyoo.',
        '..kwwwwwwwwoyo..',
        '..kkkkkkkkkko...',
        '................',
    ],
    'open': [
        '................',
        '................',
        '.kkkk...........',
        'kyyyyk..........',
        'kyyyyykkkkkkk...',
        'kyyyyyyyyyyyk...',
        'kyyyyyyyyyyyk...',
        'kyykkkkkkkkkkkkk',
        'kyykYYYYYYYYYYYk',
        'kykYYYYYYYYYYYk.',
        'kykYYYYYYYYYYYk.',
        'kkYYYYYYYYYYYk..',
        'kkYYYYYYYYYYYk..',
        'kkkkkkkkkkkkk...',
        '................',
        '................',
    ],
    'save': [
        '................',
        '.kkkkkkkkkkkkkk.',
        '.kbbkwwwwwwkbbk.',
        '.kbbkwggggwkbbk.',
        '.kbbkwwwwwwkbbk.',
        '.kbbkwggggwkbbk.',
        '.kbbkwwwwwwkbbk.',
        '.kbbbkkkkkkbbbk.',
        '.kbbbbbbbbbbbbk.',
        '.kbbkkkkkkkkbbk.',
        '.kbbkssskggkbbk.',
        '.kbbkssskggkbbk.',
        '.kbbkssskggkbbk.',
        '.kbbkssssssksbk.',
        '..kkkkkkkkkkkkk.',
        '................',
    ],
    'edittext': [
        '.kkkkkkkk.......',
        '.kwwwwwwkk......',
        '.kwggggwkwk.....',
        '.kwwwwwwkkkk....',
        '.kwggggggwwk....',
        '.kwwwwwwwwwk....',
        '.kwgggggggwk..k.',
        '.kwwwwwwwwwk.kok',
        '.kwggggggwwkkook',
        '.kwwwwwwwwkkook.',
        '.kwgggggwkyook..',
        '.kwwwwwwkyyok...',
        '.kwggggwknyk....',
        '.kwwwwwwkkk.....',
        '.kkkkkkkkk......',
        '................',
    ],
    'cut': [
        '...k.......k....',
        '...kk.....kk....',
        '....kk...kk.....',
        '....kk...kk.....',
        '.....kk.kk......',
        '.....kk.kk......',
        '......kkk.......',
        '.......k........',
        '......r.r.......',
        '....rrr.rrr.....',
        '...r..r.r..r....',
        '..r...r.r...r...',
        '..r...r.r...r...',
        '..r..r...r..r...',
        '...rr.....rr....',
        '................',
    ],
    'copy': [
        'kkkkkkkk........',
        'kwwwwwwkk.......',
        'kwggggwkwk......',
        'kwwwwwwkkkk.....',
        'kwgggkkkkkkkk...',
        'kwwwwkwwwwwwkk..',
        'kwgggkwggggwkwk.',
        'kwwwwkwwwwwwkkkk',
        'kwgggkwggggggwwk',
        'kwwwwkwwwwwwwwwk',
        'kkkkkkwggggggwwk',
        '.....kwwwwwwwwwk',
        '.....kwgggggggwk',
        '.....kwwwwwwwwwk',
        '.....kkkkkkkkkkk',
        '................',
    ],
    'paste': [
        '.....kkkkk......',
        '.kkkkksssskkkk..',
        '.knnnkkkkkknnk..',
        '.knnnnnnnnnnnk..',
        '.knnnnkkkkkkkkk.',
        '.knnnnkwwwwwwkk.',
        '.knnnnkwggggwkwk',
        '.knnnnkwwwwwwkkk',
        '.knnnnkwggggggwk',
        '.knnnnkwwwwwwwwk',
        '.knnnnkwggggggwk',
        '.knnnnkwwwwwwwwk',
        '.knnnnkwgggggwwk',
        '.kkkkkkwwwwwwwwk',
        '......kkkkkkkkkk',
        '................',
    ],
    'undo': [
        '................',
        '................',
        '....kk..........',
        '...kbk..........',
        '..kbbkkkkkkk....',
        '.kbbbbbbbbbbkk..',
        'kbbbbbbbbbbbbbk.',
        '.kbbbbbbbbbbbbbk',
        '..kbbkkkkkkkbbbk',
        '...kbk.....kbbbk',
        '....kk......kbbk',
        '............kbbk',
        '...........kbbk.',
        '.........kkbbk..',
        '.........kkkk...',
        '................',
    ],
    'redo': [
        '................',
        '................',
        '..........kk....',
        '..........kbk...',
        '....kkkkkkkbbk..',
        '..kkbbbbbbbbbbk.',
        '.kbbbbbbbbbbbbbk',
        'kbbbbbbbbbbbbbk.',
        'kbbbkkkkkkkbbk..',
        'kbbbk.....kbk...',
        'kbbk......kk....',
        'kbbk............',
        '.kbbk...........',
        '..kbbkk.........',
        '...kkkk.........',
        '................',
    ],
    'find': [
        '................',
        '....kkkkk.......',
        '...kBBBBBk......',
        '..kBwwBBBBk.....',
        '.kBwwBBBBBBk....',
        '.kBwBBBBBBBk....',
        '.kBBBBBBBBBk....',
        '.kBBBBBBBBBk....',
        '.kBBBBBBBBBk....',
        '..kBBBBBBBk.....',
        '...kBBBBBkkk....',
        '....kkkkkkkkk...',
        '..........kkkk..',
        '...........kkkk.',
        '............kkk.',
        '................',
    ],
    'cursordata': [
        'kkkkkkkkkkkkkkkk',
        'kbbbbbbbbbbbbbbk',
        'kkkkkkkkkkkkkkkk',
        'kwwwwwwwwwwwwwwk',
        'kwgggwkkkkkkkwwk',
        'kwwwwwkwwwwwkwwk',
        'kwgggwkkkkkkkwwk',
        'kwwwwwwwwwwwwwwk',
        'kwgggwkkkkkkkwwk',
        'kwwwwwkrrwwwkwwk',
        'kwgggwkkkkkkkwwk',
        'kwwwwwwwwwwwwwwk',
        'kwgggwkkkkkkkwwk',
        'kwwwwwkwwwwwkwwk',
        'kwwwwwkkkkkkkwwk',
        'kkkkkkkkkkkkkkkk',
    ],
    'quexo': [
        '.kkkkkkkkkkkkkk.',
        'kbbbbbbbbbbbbbbk',
        'kbBBBBBBBBBBBBbk',
        'kbBwwBBBBBBBBBbk',
        'kbwBBwBBBBBBBBbk',
        'kbwBBwBwBBBwBBbk',
        'kbwBBwBBwBwBBBbk',
        'kbwBBwBBBwBBBBbk',
        'kbwBBwBBwBwBBBbk',
        'kbBwwBBwBBBwBBbk',
        'kbBBBBBBBBBBBBbk',
        'kbBoooooBBBBBBbk',
        'kbBBBBBBBBBBBBbk',
        'kbbbbbbbbbbbbbbk',
        '.kkkkkkkkkkkkkk.',
        '................',
    ],
}


def png(width, height, rows):
    raw = b''.join(b'\x00' + bytes(row) for row in rows)
    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body))
    header = struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)  # RGBA
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def pixels(art, scale):
    rows = []
    for line in art:
        assert len(line) == 16, line
        row = []
        for ch in line:
            colour = PALETTE[ch]
            rgba = (0, 0, 0, 0) if colour is None else colour + (255,)
            row.extend(rgba * scale)
        for _ in range(scale):
            rows.append(row)
    assert len(rows) == 16 * scale
    return rows


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for name, art in ICONS.items():
        with open(os.path.join(here, name + '.png'), 'wb') as out:
            out.write(png(16, 16, pixels(art, 1)))
        with open(os.path.join(here, name + '@2x.png'), 'wb') as out:
            out.write(png(32, 32, pixels(art, 2)))


if __name__ == '__main__':
    main()
