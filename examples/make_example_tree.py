#!/usr/bin/env python3
"""Build the example working tree examples/harbor/ for Corvane.

The tree holds one level source file (maps/harbor.map), a placeholder
compiled level beside it, and the textures, sounds and sky images that the
level uses, mixed with a few that it does not use.  Everything is generated
here; no file is taken from any game.

Run it from any folder:

    python3 examples/make_example_tree.py

It deletes examples/harbor/ and writes it anew.  The output is the same,
byte for byte, on every run: only integer arithmetic and fixed tables are
used, and no clock, random source or locale is read.
"""

import shutil
import struct
import sys
import zlib
from pathlib import Path

EXAMPLES_DIR = Path(__file__).resolve().parent
TREE_DIR = EXAMPLES_DIR / "harbor"


# ---------------------------------------------------------------------------
# Small helpers


def write_bytes(relpath, data):
    """Write data to TREE_DIR/relpath, creating folders as needed."""
    path = TREE_DIR / relpath
    path.parent.mkdir(parents=True, exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def name_seed(name):
    """A stable 32-bit number derived from a name (CRC-32 of its bytes)."""
    return zlib.crc32(name.encode("ascii")) & 0xFFFFFFFF


class Lcg:
    """A tiny linear congruential generator with a fixed seed."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xFFFFFFFF
        return self.state >> 16  # 16 bits


# ---------------------------------------------------------------------------
# The level source file


def box_faces(mins, maxs):
    """The six planes of an axis-aligned box, in the order editors save them.

    Each plane is three points; the points of every face wind so that the
    face normal points out of the brush.
    """
    x0, y0, z0 = mins
    x1, y1, z1 = maxs
    return [
        ((x0, y1, z1), (x0, y0, z1), (x0, y0, z0)),  # -x
        ((x0, y0, z1), (x1, y0, z1), (x1, y0, z0)),  # -y
        ((x1, y0, z0), (x1, y1, z0), (x0, y1, z0)),  # -z
        ((x0, y1, z1), (x1, y1, z1), (x1, y0, z1)),  # +z
        ((x1, y1, z0), (x1, y1, z1), (x0, y1, z1)),  # +y
        ((x1, y0, z1), (x1, y1, z1), (x1, y1, z0)),  # +x
    ]


FACE_NORMALS = [(-1, 0, 0), (0, -1, 0), (0, 0, -1), (0, 0, 1), (0, 1, 0), (1, 0, 0)]


def check_winding(mins, maxs):
    """Fail loudly if a generated face would point into its brush."""
    for (p0, p1, p2), want in zip(box_faces(mins, maxs), FACE_NORMALS):
        t1 = [a - b for a, b in zip(p0, p1)]
        t2 = [a - b for a, b in zip(p2, p1)]
        n = (
            t1[1] * t2[2] - t1[2] * t2[1],
            t1[2] * t2[0] - t1[0] * t2[2],
            t1[0] * t2[1] - t1[1] * t2[0],
        )
        sign = tuple((c > 0) - (c < 0) for c in n)
        if sign != want:
            raise SystemExit("bad face winding for box %r %r" % (mins, maxs))


# A surface: texture name and the trailing numbers of a standard face line
# (x offset, y offset, rotation, x scale, y scale, and optionally contents,
# surface flags and value).
def surf(tex, extra=""):
    return (tex, "0 0 0 1 1" + ((" " + extra) if extra else ""))


PLANKS = surf("harbor/planks")
PLANKS2 = surf("harbor/planks2")
QUAYWALL = surf("harbor/quaywall")
ROPE = surf("harbor/rope")
CRATE = surf("harbor/Crate1")
WATER = surf("harbor/water1", "32 24 0")  # water contents, warp + 33% translucent
RAIL = surf("harbor_trim/rail")
EDGE = surf("harbor_trim/metal_edge")
LAMP = surf("harbor_trim/lamp1", "0 1 300")  # light-emitting surface
STOCK_METAL = surf("e1u1/metal2_1")
STOCK_FLOOR = surf("e2u3/floor1_1")
STOCK_SKY = surf("e1u1/sky1", "0 4 0")  # sky surface
CLIP = surf("clip", "65536 128 0")  # player clip, not drawn
TRIGGER = surf("trigger", "0 128 0")  # not drawn


def brush(mins, maxs, surfaces):
    """A brush as (mins, maxs, six surfaces in box_faces order).

    surfaces is either one surface for every face, or a dict naming the
    surface of some faces ("-x", "-y", "-z", "+z", "+y", "+x") with the
    key "*" for all others.
    """
    order = ["-x", "-y", "-z", "+z", "+y", "+x"]
    if isinstance(surfaces, tuple):
        per_face = [surfaces] * 6
    else:
        per_face = [surfaces.get(k, surfaces["*"]) for k in order]
    check_winding(mins, maxs)
    return (mins, maxs, per_face)


WORLD_BRUSHES = [
    # quay floor
    brush((-528, -256, -16), (528, 528, 0),
          {"*": QUAYWALL, "+z": PLANKS, "-z": STOCK_FLOOR}),
    # harbour basin floor and its water
    brush((-528, -528, -128), (528, -256, -112),
          {"*": QUAYWALL, "-z": STOCK_FLOOR}),
    brush((-512, -512, -112), (512, -256, -24), WATER),
    # walls
    brush((-528, 512, -128), (528, 528, 256),
          {"*": QUAYWALL, "+y": STOCK_METAL, "+z": EDGE}),
    brush((-528, -528, -128), (528, -512, 256),
          {"*": QUAYWALL, "-y": STOCK_METAL, "+z": EDGE}),
    brush((-528, -512, -128), (-512, 512, 256),
          {"*": QUAYWALL, "-x": STOCK_METAL, "+z": EDGE}),
    brush((512, -512, -128), (528, 512, 256),
          {"*": QUAYWALL, "+x": STOCK_METAL, "+z": EDGE}),
    # sky
    brush((-528, -528, 256), (528, 528, 272), STOCK_SKY),
    # pier into the basin, with a rail along it
    brush((-64, -480, -24), (64, -256, 0),
          {"*": RAIL, "+z": PLANKS2}),
    brush((-72, -480, 0), (-64, -256, 40),
          {"*": RAIL, "+z": EDGE}),
    # crates and a coil of rope on the quay
    brush((192, 128, 0), (256, 192, 64), CRATE),
    brush((256, 128, 0), (304, 176, 48), {"*": CRATE, "-z": STOCK_METAL}),
    brush((-320, 256, 0), (-272, 304, 16), ROPE),
    # harbour lamp on the north wall
    brush((-16, 496, 160), (16, 512, 192), {"*": EDGE, "-y": LAMP}),
    # keep players off the lamp ledge
    brush((-512, 448, 128), (512, 512, 256), CLIP),
]

GATE_BRUSH = brush((320, -256, 0), (448, -240, 128),
                   {"*": PLANKS2, "+z": EDGE, "-z": EDGE})
TRIGGER_BRUSH = brush((-64, -272, 0), (64, -240, 96), TRIGGER)

WORLDSPAWN_KEYS = [
    ("classname", "worldspawn"),
    ("message", "The Old Harbor"),
    ("sounds", "7"),
    # Editors often write "skyaxis" and "skyrotate" before "sky"; only the
    # "sky" key itself names the sky.
    ("skyaxis", "0 0 1"),
    ("skyrotate", "2"),
    ("sky", "harborsky"),
    ("_tb_textures", "textures/harbor;textures/harbor_trim"),
]

POINT_ENTITIES = [
    [("classname", "info_player_start"), ("angle", "270"),
     ("origin", "0 384 24")],
    [("classname", "info_player_deathmatch"), ("angle", "180"),
     ("origin", "384 320 24")],
    [("classname", "light"), ("light", "300"), ("origin", "0 448 176")],
    [("classname", "light"), ("light", "200"), ("_color", "1 0.85 0.6"),
     ("origin", "-320 0 128")],
    [("classname", "light"), ("light", "200"), ("_color", "1 0.85 0.6"),
     ("origin", "320 0 128")],
    [("classname", "target_speaker"), ("spawnflags", "1"),
     ("noise", "harbor/gulls.wav"), ("attenuation", "3"),
     ("origin", "-256 -384 192")],
    [("classname", "target_speaker"), ("spawnflags", "1"),
     ("noise", "harbor/gulls.wav"), ("attenuation", "3"),
     ("origin", "256 -384 192")],
    [("classname", "target_speaker"), ("targetname", "t1"),
     ("noise", "harbor/bell"), ("attenuation", "-1"),
     ("origin", "0 -496 160")],
    [("classname", "target_speaker"), ("spawnflags", "1"),
     ("noise", "world/amb10.wav"), ("volume", "0.5"),
     ("origin", "0 0 64")],
    [("classname", "misc_model"), ("model", "models/buoy/tris.md2"),
     ("origin", "192 -448 16")],
]

GATE_KEYS = [
    ("classname", "func_door"),
    ("angle", "-1"),
    ("speed", "60"),
    ("lip", "8"),
    ("wait", "4"),
    ("sounds", "1"),
]

TRIGGER_KEYS = [
    ("classname", "trigger_multiple"),
    ("wait", "10"),
    ("target", "t1"),
]


def fmt_point(p):
    return "( %d %d %d )" % p


def brush_lines(number, b):
    mins, maxs, surfaces = b
    lines = ["// brush %d" % number, "{"]
    for (p0, p1, p2), (tex, rest) in zip(box_faces(mins, maxs), surfaces):
        lines.append("%s %s %s %s %s" % (fmt_point(p0), fmt_point(p1),
                                         fmt_point(p2), tex, rest))
    lines.append("}")
    return lines


def entity_lines(number, keys, brushes=()):
    lines = ["// entity %d" % number, "{"]
    lines += ['"%s" "%s"' % kv for kv in keys]
    for i, b in enumerate(brushes):
        lines += brush_lines(i, b)
    lines.append("}")
    return lines


def level_text():
    lines = ["// Game: Quake 2", "// Format: Quake2"]
    entities = [(WORLDSPAWN_KEYS, WORLD_BRUSHES)]
    entities += [(keys, ()) for keys in POINT_ENTITIES[:5]]
    entities.append((GATE_KEYS, [GATE_BRUSH]))
    entities += [(keys, ()) for keys in POINT_ENTITIES[5:]]
    entities.append((TRIGGER_KEYS, [TRIGGER_BRUSH]))
    for n, (keys, brushes) in enumerate(entities):
        lines += entity_lines(n, keys, brushes)
    return "\n".join(lines) + "\n"


# ---------------------------------------------------------------------------
# Textures (.wal): 100-byte header, then four mip levels of palette indices


def wal_bytes(name, size, flags=0, contents=0, value=0, anim=""):
    seed = name_seed(name)
    base = 16 + (seed % 14) * 16        # a row of the palette
    accent = 16 + ((seed >> 8) % 14) * 16
    cell = 4 if size <= 16 else 8
    pixels = bytearray()
    for y in range(size):
        for x in range(size):
            checker = ((x // cell) + (y // cell)) & 1
            shade = (x + 2 * y + (seed >> 16)) % 8
            pixels.append((accent if checker else base) + shade)
    mips = []
    for level in range(4):
        step = 1 << level
        m = bytearray()
        for y in range(0, size, step):
            for x in range(0, size, step):
                m.append(pixels[y * size + x])
        mips.append(bytes(m))
    offsets = []
    pos = 100
    for m in mips:
        offsets.append(pos)
        pos += len(m)
    header = struct.pack("<32sII4I32sIII",
                         name.encode("ascii"), size, size, *offsets,
                         anim.encode("ascii"), flags, contents, value)
    assert len(header) == 100
    return header + b"".join(mips)


# The water is animated: each frame names the next in its header, and the
# last names the first again. The level names only the first.
ANIMATION = {
    "harbor/water1": "harbor/water2",
    "harbor/water2": "harbor/water3",
    "harbor/water3": "harbor/water1",
}

# (name without .wal, size, flags, contents, value)
USED_TEXTURES = [
    ("harbor/Crate1", 32, 0, 0, 0),
    ("harbor/planks", 32, 0, 0, 0),
    ("harbor/planks2", 32, 0, 0, 0),
    ("harbor/quaywall", 32, 0, 0, 0),
    ("harbor/rope", 16, 0, 0, 0),
    ("harbor/water1", 32, 24, 32, 0),
    ("harbor_trim/lamp1", 16, 1, 0, 300),
    ("harbor_trim/metal_edge", 16, 0, 0, 0),
    ("harbor_trim/rail", 16, 0, 0, 0),
]

# Frames of the animated water: used, though the level does not name them.
FRAME_TEXTURES = [
    ("harbor/water2", 32, 24, 32, 0),
    ("harbor/water3", 32, 24, 32, 0),
]

UNUSED_TEXTURES = [
    ("harbor/planks_old", 16, 0, 0, 0),
    ("harbor_trim/rail_broken", 16, 0, 0, 0),
    ("other/brick1", 16, 0, 0, 0),
    ("other/grate", 16, 0, 0, 0),
]


# ---------------------------------------------------------------------------
# Sounds (.wav): 8-bit unsigned mono PCM, 11025 Hz


RATE = 11025


def wav_bytes(samples):
    data = bytes(samples)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)
    body = (b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"data" + struct.pack("<I", len(data)) + data)
    if len(data) & 1:
        body += b"\x00"
    return b"RIFF" + struct.pack("<I", len(body)) + body


def triangle(phase):
    """Triangle wave for a 16-bit phase, result in -128..127."""
    p = phase & 0xFFFF
    if p < 0x8000:
        return (p >> 7) - 128
    return 127 - ((p - 0x8000) >> 7)


def tone(count, hz_start, hz_end, decay, noise=0, seed=1):
    """A gliding triangle tone with a linear fade and optional noise."""
    rng = Lcg(seed)
    out = []
    phase = 0
    for i in range(count):
        hz = hz_start + (hz_end - hz_start) * i // count
        phase += hz * 65536 // RATE
        v = triangle(phase)
        if noise:
            v += ((rng.next() & 0xFF) - 128) * noise // 100
        # envelope: short attack, then fall towards (100 - decay)% at the end
        attack = min(i, 110) * 100 // 110
        fall = 100 - decay * i // count
        v = v * attack // 100 * fall // 100
        out.append(max(0, min(255, 128 + v * 3 // 4)))
    return out


def gulls():
    n = RATE // 5
    half = n // 2
    return (tone(half, 1800, 2600, 80, noise=10, seed=7)
            + tone(n - half, 2400, 1500, 90, noise=10, seed=11))


def bell():
    n = RATE // 5
    a = tone(n, 660, 660, 95, seed=3)
    b = tone(n, 1320, 1320, 99, seed=5)
    return [max(0, min(255, (x + y) // 2)) for x, y in zip(a, b)]


def horn():
    return tone(RATE // 5, 110, 100, 40, noise=3, seed=13)


# ---------------------------------------------------------------------------
# Sky images


FACES = ["bk", "ft", "lf", "rt", "dn", "up"]


def sky_pixel(sky_seed, face_index, x, y, size):
    """An RGB colour: a vertical gradient from horizon to zenith."""
    t = y * 255 // (size - 1)
    if FACES[face_index] == "up":
        return (40 + t // 8, 60 + t // 6, 140 + t // 3)
    if FACES[face_index] == "dn":
        return (20, 40 + t // 8, 70 + t // 6)
    tint = (sky_seed >> (face_index * 4)) & 0x1F
    return (220 - t * 3 // 4 + tint // 2,
            150 - t // 3 + tint,
            110 + t // 2)


def tga_bytes(sky_seed, face_index, size=32):
    # uncompressed true-colour image, 24 bits, origin at the top left
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0,
                         size, size, 24, 0x20)
    pixels = bytearray()
    for y in range(size):
        for x in range(size):
            r, g, b = sky_pixel(sky_seed, face_index, x, y, size)
            pixels += bytes((b, g, r))
    return header + bytes(pixels)


def pcx_bytes(sky_seed, face_index, size=32):
    """An 8-bit run-length encoded image with a 256-colour palette.

    The palette is a ramp of the face's own gradient colours; each pixel is
    the index of its row's colour, so the rows encode as runs.
    """
    palette = bytearray()
    for i in range(256):
        y = i * (size - 1) // 255
        palette += bytes(sky_pixel(sky_seed, face_index, 0, y, size))
    header = struct.pack("<BBBBHHHHHH48sBBHHHH54s",
                         0x0A, 5, 1, 8, 0, 0, size - 1, size - 1, 72, 72,
                         b"", 0, 1, size, 1, 0, 0, b"")
    assert len(header) == 128
    body = bytearray()
    for y in range(size):
        row = [y * 255 // (size - 1)] * size
        x = 0
        while x < size:
            v = row[x]
            run = 1
            while x + run < size and row[x + run] == v and run < 63:
                run += 1
            if run > 1 or v >= 0xC0:
                body += bytes((0xC0 | run, v))
            else:
                body.append(v)
            x += run
    return header + bytes(body) + b"\x0C" + bytes(palette)


# ---------------------------------------------------------------------------
# Placeholder compiled level


def bsp_placeholder(level):
    """ "IBSP", version 38 and 19 lumps, all empty but the texture infos
    (lump 5): one 76-byte entry per texture of the level, its name at 40, so
    that the compiled level names the textures its source uses."""
    names = sorted({line.split(") ")[-1].split()[0]
                    for line in level.splitlines() if line.startswith("( ")})
    texinfo = b"".join(bytes(40) + struct.pack("<32si", n.encode("ascii"), -1)
                       for n in names)
    assert len(texinfo) == 76 * len(names)
    lumps = [(0, 0)] * 19
    lumps[5] = (8 + 19 * 8, len(texinfo))
    header = b"IBSP" + struct.pack("<i", 38) + b"".join(
        struct.pack("<ii", offset, length) for offset, length in lumps)
    return header + texinfo


# ---------------------------------------------------------------------------
# A true-colour picture beside a texture (.png), written with zlib


def png_bytes(name, size=32):
    seed = name_seed(name)
    raw = bytearray()
    for y in range(size):
        raw.append(0)  # no filter
        for x in range(size):
            raw += bytes(((x * 8 + seed) % 256, (y * 8) % 256, (x * y + (seed >> 8)) % 256))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    ihdr = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
            + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


# ---------------------------------------------------------------------------
# A placeholder model (.md2) that names its skin


def md2_placeholder(skins):
    """ "IDP2", version 8, a 32x32 skin size, no frames or triangles; the
    skin names (64 bytes each) right after the 68-byte header."""
    names = b"".join(struct.pack("64s", s.encode("ascii")) for s in skins)
    end = 68 + len(names)
    header = b"IDP2" + struct.pack("<16i", 8, 32, 32, 0, len(skins), 0, 0, 0, 0, 0,
                                   68, end, end, end, end, end)
    return header + names


# ---------------------------------------------------------------------------


def main():
    if TREE_DIR.name != "harbor" or TREE_DIR.parent != EXAMPLES_DIR:
        sys.exit("unexpected output folder: %s" % TREE_DIR)
    if TREE_DIR.exists():
        shutil.rmtree(TREE_DIR)

    level = level_text()
    write_bytes("maps/harbor.map", level.encode("ascii"))
    write_bytes("maps/harbor.bsp", bsp_placeholder(level))

    for name, size, flags, contents, value in (USED_TEXTURES + FRAME_TEXTURES
                                               + UNUSED_TEXTURES):
        write_bytes("textures/%s.wal" % name,
                    wal_bytes(name, size, flags, contents, value,
                              ANIMATION.get(name, "")))
    # a true-colour picture that modern engines load in place of the .wal
    write_bytes("textures/harbor/Crate1.png", png_bytes("harbor/Crate1"))

    write_bytes("models/buoy/tris.md2", md2_placeholder(["models/buoy/skin.pcx"]))
    write_bytes("models/buoy/skin.pcx", pcx_bytes(name_seed("buoy"), 0))

    write_bytes("sound/harbor/gulls.wav", wav_bytes(gulls()))
    write_bytes("sound/harbor/bell.wav", wav_bytes(bell()))
    write_bytes("sound/harbor/unused_horn.wav", wav_bytes(horn()))

    seed = name_seed("harborsky")
    for i, face in enumerate(FACES):
        write_bytes("env/harborsky%s.tga" % face, tga_bytes(seed, i))
    # a second image for one face, as games often ship both formats
    write_bytes("env/harborskyup.pcx", pcx_bytes(seed, FACES.index("up")))

    other = name_seed("othersky")
    for face in ("bk", "ft"):
        write_bytes("env/othersky%s.tga" % face,
                    tga_bytes(other, FACES.index(face)))

    count = sum(1 for p in TREE_DIR.rglob("*") if p.is_file())
    total = sum(p.stat().st_size for p in TREE_DIR.rglob("*") if p.is_file())
    print("wrote %d files, %d bytes, below %s" % (count, total, TREE_DIR))


if __name__ == "__main__":
    main()
