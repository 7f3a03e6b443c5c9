#!/usr/bin/env python3
"""Writes the hand-made seeds of fuzz/corpus/ (the specials, key colour and help
document seeds are the shipped files). Run from the repository's folder."""
import struct

CORPUS = "fuzz/corpus/"


def code(action, tool=0, stroke=0, kind=0):
    return action | tool << 4 | stroke << 8 | kind << 12


def point(x, y, flag=False):
    p = (x * 65536 + y) & 0xFFFFFFFF
    if flag:
        p = (-p) & 0xFFFFFFFF
    return struct.unpack("<i", struct.pack("<I", p))[0]


def replay(entries):
    """A replay file: the count, the code words 1..N, the values 0..N."""
    n = len(entries)
    codes = [c for c, _ in entries]
    values = [n] + [v for _, v in entries]
    return struct.pack("<I", n) + struct.pack("<%dI" % n, *codes) + struct.pack("<%di" % (n + 1), *values)


def header(tool, width, mode):
    # Tool, spec, copy mode, pen mode, pen width and the three field colours.
    return [(code(4), tool), (code(12), 7 | 5 << 16), (code(0), 0x00CC0020), (code(7), mode),
            (code(3), width), (code(9), 0x0000FF), (code(9), 0xFF0000), (code(9), 0x00FF00)]


def drag(tool, start, points, stroke=2, wild=False):
    out = [(code(1, tool), point(*start, wild))]
    out += [(code(5, tool, stroke), point(x, y, wild)) for x, y in points]
    return out


def fnv32(words):
    h = 0x811C9DC5
    for b in struct.pack("<%dI" % len(words), *words):
        h = ((h ^ b) * 0x01000193) & 0xFFFFFFFF
    return h


def size_record(width, height, version=1):
    """The size record after a replay file's values: magic, version, size, check."""
    words = [0x5A534C51, version, width, height]
    return struct.pack("<5I", *words, fnv32(words))


def write(name, data):
    with open(CORPUS + name, "wb") as f:
        f.write(data)


write("replay_file/empty.qlr", replay([]))
write("replay_file/cpu-wide.qlr",
      replay(header(8, 1024, 4) + drag(8, (500, 380), [(520, 400), (560, 430), (600, 300)])))
write("replay_file/doloop-xor.qlr",
      replay(header(9, 64, 14) + drag(9, (300, 300), [(340, 320), (360, 200)], stroke=3, wild=True)))
# Pattern figures with pens far wider than the screen, which draw as wide as its
# diagonal, in copy, xor and merge. The shape entry takes the tool from its code word.
for name, tool, mode in (("cpu-huge-copy", 8, 4), ("doloop-huge-xor", 9, 14),
                         ("twister-huge-merge", 10, 10)):
    write("replay_time/%s.qlr" % name,
          replay(header(tool, 3000000, mode) + [(code(4, tool), tool)] +
                 drag(tool, (500, 380), [(520, 400), (560, 430)], wild=True)))
write("replay_file/shapes.qlr",
      replay(header(2, 3, 13) + drag(2, (100, 100), [(150, 130)]) +
             [(code(4), 3)] + drag(3, (400, 400), [(300, 450)], stroke=1) +
             [(code(4), 5), (code(10), 3), (code(14), 2), (code(15), 1)] +
             drag(5, (512, 384), [(600, 300), (700, 200)])))
write("replay_file/sized-640x480.qlr",
      replay(header(8, 2, 4) + drag(8, (300, 200), [(340, 260), (500, 100)])) +
      size_record(640, 480))
write("replay_file/sized-damaged.qlr",
      replay(header(1, 1, 4) + drag(1, (10, 10), [(600, 700)])) + size_record(800, 600)[:-1] + b"\0")


def demo(entries):
    """The demonstration log: 6000 16-bit code words (word 0 the count), 6000 values."""
    codes = [len(entries)] + [c & 0xFFFF for c, _ in entries]
    values = [0] + [v for _, v in entries]
    codes += [0] * (6000 - len(codes))
    values += [0] * (6000 - len(values))
    return struct.pack("<6000H", *codes) + struct.pack("<6000i", *values)


write("demo_log/twister.log", demo(header(10, 8, 4) + drag(10, (512, 384), [(530, 390), (600, 420)])))
write("demo_log/web.log", demo(header(6, 2, 15) + drag(6, (200, 200), [(230, 260), (260, 300)])))

write("col/sets.col", struct.pack("<12I", 0x0000FF, 0xFF0000, 0x00FF00, 0xFFFFFF, 0, 0x808080,
                                  0x123456, 0x654321, 0xABCDEF, 0xFF00FF, 0x00FFFF, 0xFFFF00))
write("col/short.col", struct.pack("<5I", 1, 2, 3, 4, 5))
write("kcl/short.kcl", bytes(range(40)))
write("specials/short.spl", bytes([7, 0, 5]))

write("render_args/plain", b"drawing.qlr\0drawing.png")
write("render_args/all", b"--size\0" b"1920x1080\0--speed\0" b"8\0--frames\0a.qlr\0b.bmp")
write("render_args/demo", b"--demo\0Newonee.log\0demo.png")
write("render_args/bad-size", b"--size\0" b"99999999999x10\0a\0b")

write("command_line/file", b"drawing.qlr")
write("command_line/after-dashes", b"--\0-dash.qlr")
write("command_line/help", b"--help")
write("command_line/version-extra", b"--version\0extra")
write("command_line/two-files", b"a.qlr\0b.qlr")

# The picture seeds again: as the renderer reads them, and offered on the clipboard
# (the first byte picks the format: 0 PNG, 1 BMP).
for name in ("huge-sides.bmp", "long-text-chunk.png", "small.bmp", "small.png"):
    with open(CORPUS + "picture/" + name, "rb") as f:
        picture = f.read()
    write("render_picture/" + name, picture)
    write("clipboard/" + name, bytes([0 if name.endswith(".png") else 1]) + picture)


def fnv(sum, word):
    return ((sum ^ word) * 0x100000001B3) & 0xFFFFFFFFFFFFFFFF


def kept(entries, position, width, height, pixels):
    """A drawing kept for a restart: the log's length, the log with what ties it to
    the picture, and the picture in the scripted platform's raw format."""
    picture_sum = fnv(fnv(0xCBF29CE484222325, width), height)
    for p in pixels:
        picture_sum = fnv(picture_sum, p & 0xFFFFFF)
    log = replay(entries) + struct.pack("<6I", 0x53414C51, position, width, height,
                                        picture_sum & 0xFFFFFFFF, picture_sum >> 32)
    bytes_sum = 0xCBF29CE484222325
    for b in log:
        bytes_sum = fnv(bytes_sum, b)
    log += struct.pack("<I", bytes_sum & 0xFFFFFFFF)
    return (struct.pack("<I", len(log)) + log + struct.pack("<2i", width, height) +
            struct.pack("<%dI" % len(pixels), *pixels))


stroke = header(8, 3, 4) + drag(8, (20, 20), [(30, 25), (40, 40)])
write("autosave/kept.bin", kept(stroke, len(stroke) - 1, 8, 6, [0x102030 + i for i in range(48)]))
write("autosave/start.bin", kept([], 0, 4, 4, [0] * 16))

write("rtf/tables.rtf",
      b"{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\fswiss Deja Vu;}}"
      b"{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
      b"\\pard\\qc\\f1\\fs40\\cf2 Title\\par\\pard\\plain\\b bold\\b0 \\i it\\ul u\\ulnone\\tab x\\line y\\par}")
write("rtf/unicode.rtf",
      b"{\\rtf1\\uc1 caf\\'e9 \\'80 \\u8364? \\u-10179?\\u-8704? \\uc2\\u55357xx\\emdash"
      b"\\bullet{\\*\\generator skipped}\\~\\{\\}\\\\}")
write("rtf/deep.rtf", b"{\\rtf1" + b"{\\b" * 120 + b"deep" + b"}" * 130 + b"after\\par}")
