#!/usr/bin/env python3
"""Writes the seed corpora fuzz/corpus/<target>/ from the game's own files.

    fuzz/make-seeds.py GAME_DIR USER_DAT SMALL_PAK

GAME_DIR is a built runtime folder (build/game); USER_DAT a profile file
written by the game (totem-save-crash leaves one); SMALL_PAK a pack of a few
small files made with totem-pak. Each corpus gets a few shipped files and
damaged copies of them: cut short, bytes flipped, counts and sizes made huge.
The pictures are drawn here, one per layout the decoders read. Seeds found by
fuzzing are added beside these by hand and kept.
"""
import os
import random
import struct
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def put(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def damaged(target, name, data, seed):
    """The file as shipped, then cut in half, cut to one byte short and with
    a few bytes flipped."""
    rng = random.Random(seed)
    put(target, name, data)
    put(target, name + ".half", data[: len(data) // 2])
    put(target, name + ".short", data[:-1])
    flipped = bytearray(data)
    for _ in range(max(1, len(data) // 200)):
        flipped[rng.randrange(len(flipped))] ^= 1 << rng.randrange(8)
    put(target, name + ".flipped", bytes(flipped))


def xml_seeds(target, name, data, seed):
    damaged(target, name, data, seed)
    text = data.decode("latin-1")
    # Numbers nothing can hold, an unclosed element and one without a root.
    huge = text.replace('"', '"1e39 -1e39 ', 8).encode("latin-1")
    put(target, name + ".huge", huge)
    put(target, name + ".open", data.rsplit(b"</", 1)[0])
    put(target, name + ".noroot", data.split(b">", 2)[-1])


def bmp(width, height, bpp, top_down=False, masks=None, palette=None):
    stride = ((width * bpp + 31) // 32) * 4
    rows = []
    for y in range(height):
        row = bytearray()
        if bpp < 8:
            bits = 0
            nbits = 0
            for x in range(width):
                bits = (bits << bpp) | ((x + y) % (1 << bpp))
                nbits += bpp
                if nbits == 8:
                    row.append(bits)
                    bits = nbits = 0
            if nbits:
                row.append(bits << (8 - nbits))
        else:
            for x in range(width):
                v = (x * 37 + y * 91) & 0xFFFFFFFF
                row += struct.pack("<I", v | 0x80000000)[: bpp // 8]
        rows.append(bytes(row) + b"\0" * (stride - len(row)))
    pixels = b"".join(rows)
    compression = 3 if masks else 0
    extra = b"".join(struct.pack("<I", m) for m in masks) if masks else b""
    pal = b""
    if bpp <= 8:
        count = palette or (1 << bpp)
        pal = b"".join(struct.pack("<BBBB", i * 7 & 255, i * 13 & 255, i * 29 & 255, 0) for i in range(count))
    header = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bpp, compression,
                         len(pixels), 2835, 2835, palette or 0, 0)
    offset = 14 + len(header) + len(extra) + len(pal)
    body = header + extra + pal + pixels
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


def tga(width, height, kind, bits, rle=False, descriptor=0, mapped=None):
    map_bytes = b""
    map_spec = struct.pack("<HHB", 0, 0, 0)
    if mapped:
        map_spec = struct.pack("<HHB", 0, mapped, 24)
        map_bytes = b"".join(struct.pack("<BBB", i * 5 & 255, i * 11 & 255, i * 17 & 255) for i in range(mapped))
    size = (bits + 7) // 8
    pixels = [struct.pack("<I", ((x // 3) * 0x010203 + y * 0x300000) | 0xFF000000)[:size]
              if not mapped else bytes([(x + y) % mapped]) for y in range(height) for x in range(width)]
    if rle:
        body = b""
        i = 0
        while i < len(pixels):
            run = 1
            while i + run < len(pixels) and run < 128 and pixels[i + run] == pixels[i]:
                run += 1
            if run > 1:
                body += bytes([0x80 | (run - 1)]) + pixels[i]
                i += run
            else:
                body += b"\0" + pixels[i]
                i += 1
    else:
        body = b"".join(pixels)
    image_type = kind + (8 if rle else 0)
    header = struct.pack("<BBB", 2, 1 if mapped else 0, image_type) + map_spec + \
        struct.pack("<HHHHBB", 0, 0, width, height, bits, descriptor)
    return header + b"id" + map_bytes + body


def picture_seeds():
    put("bmp", "pal1.bmp", bmp(13, 5, 1))
    put("bmp", "pal4.bmp", bmp(9, 4, 4, palette=10))
    put("bmp", "pal8.bmp", bmp(7, 6, 8, top_down=True))
    put("bmp", "rgb16.bmp", bmp(5, 3, 16))
    put("bmp", "rgb24.bmp", bmp(6, 4, 24))
    put("bmp", "rgb32.bmp", bmp(4, 4, 32))
    put("bmp", "fields16.bmp", bmp(5, 5, 16, masks=[0xF800, 0x07E0, 0x001F]))
    put("bmp", "fields32.bmp", bmp(3, 7, 32, masks=[0xFF0000, 0xFF00, 0xFF]))
    big = bytearray(bmp(4, 4, 24))
    struct.pack_into("<ii", big, 18, 16384, 2048)  # asks for far more rows than it holds
    put("bmp", "huge.bmp", bytes(big))
    short = bmp(6, 4, 24)
    put("bmp", "short.bmp", short[: len(short) - 5])

    put("tga", "true24.tga", tga(6, 4, 2, 24))
    put("tga", "true32_top.tga", tga(5, 3, 2, 32, descriptor=0x28))
    put("tga", "true16_right.tga", tga(4, 4, 2, 16, descriptor=0x10))
    put("tga", "grey8.tga", tga(7, 2, 3, 8))
    put("tga", "mapped.tga", tga(6, 5, 1, 8, mapped=12))
    put("tga", "rle24.tga", tga(9, 4, 2, 24, rle=True))
    put("tga", "rle_mapped.tga", tga(8, 3, 1, 8, rle=True, mapped=6))
    big = bytearray(tga(3, 3, 2, 24, rle=True))
    struct.pack_into("<HH", big, 12, 8192, 4096)  # millions of pixels from a few packets
    put("tga", "huge_rle.tga", bytes(big))
    short = tga(6, 4, 2, 24)
    put("tga", "short.tga", short[:-4])


def main():
    game, user_dat, pak = sys.argv[1:4]
    media = os.path.join(game, "media")
    xml_seeds("xml", "res.xml", read(os.path.join(game, "res.xml")), 1)
    xml_seeds("gui", "gui.xml", read(os.path.join(game, "gui.xml")), 2)
    xml_seeds("levels", "levels.xml", read(os.path.join(media, "levels.xml")), 3)
    xml_seeds("skins", "skins.xml", read(os.path.join(media, "skins.xml")), 4)
    effects = os.path.join(os.path.dirname(ROOT), "..", "assets", "effects")
    for i, name in enumerate(["line.xml", "button.xml", "note_star.xml"]):
        xml_seeds("effect", name, read(os.path.join(effects, name)), 10 + i)
    for name in ["map.xml", "water.xml", "impulse_longnote.xml", "bonus50_pick.xml"]:
        put("effect", name, read(os.path.join(effects, name)))

    fonts = os.path.join(media, "fonts")
    for i, name in enumerate(["font_main.fnt", "font_menu.fnt"]):
        damaged("fnt", name, read(os.path.join(fonts, name)), 20 + i)
    table = bytearray(read(os.path.join(fonts, "font_main.fnt")))
    struct.pack_into("<ii", table, 8, 0x7FFFFFFF, 0x7FFFFFFF)  # counts nothing can hold
    put("fnt", "huge_count.fnt", bytes(table))
    struct.pack_into("<ii", table, 8, -5, -1)
    put("fnt", "negative_count.fnt", bytes(table))

    text = read(os.path.join(media, "StringE.dat"))
    damaged("stringe", "StringE.dat", text, 30)
    put("stringe", "big_endian.dat", bytes(b for i in range(0, len(text) - 1, 2) for b in (text[i + 1], text[i])))
    put("stringe", "no_mark.dat", text[2:])
    put("stringe", "lone_surrogates.dat", b"\xff\xfe" + "999 x\r\n-12 y\r\n".encode("utf-16-le") + b"\x00\xd8\x00\xdc\x41\x00")

    options = read(os.path.join(game, "options.dat"))
    put("options", "options.dat", options)
    put("options", "short.dat", options[:3])
    put("options", "long.dat", options + b"\0\0")
    put("options", "nan.dat", b"\x00\x00\xc0\x7f\x01")
    put("options", "loud.dat", struct.pack("<f", 7.5) + b"\x02")

    put("timing", "timing.ini", b"# written by the game\naudio_offset_ms = 35\nvideo_offset_ms = -20\n")
    put("timing", "odd.ini", b"  audio_offset_ms=+999\r\nvideo_offset_ms = 1.5\nmetronome = on\n= 4\n")
    put("timing", "junk.ini", bytes(range(256)))

    damaged("userdat", "User.dat", read(user_dat), 40)
    damaged("pak", "small.pak", read(pak), 50)
    songs = os.path.join(media, "songs")
    for i, song in enumerate(["moonlit_shore", "sunrise_skank"]):
        damaged("midi", song + ".mid", read(os.path.join(songs, song, "notes.mid")), 60 + i)
    picture_seeds()


if __name__ == "__main__":
    main()
