#!/usr/bin/env python3
"""Generate the data for the Corvane benchmarks.

    python3 bench/make_data.py OUT_DIR [--scale S] [--seed N]

OUT_DIR receives:

    OUT_DIR/tree/maps/bench.map     a level that names every resource below
    OUT_DIR/tree/maps/bench.bsp     a placeholder compiled level
    OUT_DIR/tree/textures/<folder>/<name>.wal
    OUT_DIR/tree/sound/<folder>/<name>.wav
    OUT_DIR/tree/env/benchsky<face>.tga
    OUT_DIR/expected.txt            the files a transfer with --sky must copy,
                                    relative to the target folder, one a line
    OUT_DIR/big/big.map             a big level for the scan: about 2 million
                                    lines and 120 MB
    OUT_DIR/sizes/                  a target tree of 100,000 files in nested
                                    folders, for the byte total
    OUT_DIR/sizes.txt               its file count and byte total
    OUT_DIR/pool-200/maps/          a target's maps folder with 200 levels
    OUT_DIR/pool-100/maps/          the first 100 of them (hard links)
    OUT_DIR/pool-50/maps/           the first 50 of them (hard links)
    OUT_DIR/pool-1000/maps/         the 200 (hard links) and 800 more, each a
                                    copy of one of them with its own names
    OUT_DIR/results.json            what scanning the big level and pooling
                                    each maps folder must list
    OUT_DIR/basegame/               a game's own folder of 10,000 files: three
                                    paks, a pk3 and loose files
    OUT_DIR/basegame.txt            its number of distinct names

At scale 1 the working tree holds about 5,000 resource files totalling about
500 MB.  The scale multiplies the number of resource files (and the size of
the .bsp), the lines of the big level and of each pooled level, and the files
of the size tree; the number of pooled levels stays 50, 100, 200 and 1,000.  The same
seed and scale give the same bytes on every run.
"""

import argparse
import json
import os
import random
import struct
import sys
from pathlib import Path

TEXTURE_FOLDERS = [
    "base_wall", "base_floor", "base_trim", "base_light", "base_door",
    "city_wall", "city_floor", "city_trim", "city_sign", "city_glass",
    "tech_panel", "tech_pipe", "tech_grate", "tech_screen", "tech_crate",
    "rock_cave", "rock_cliff", "liquid", "metal_rust", "wood_old",
]
SOUND_FOLDERS = ["amb", "doors", "machines", "voices", "water", "weapons"]

TEXTURE_FILES = 4400   # at scale 1
SOUND_FILES = 594      # at scale 1; with the 6 sky images: 5,000 resources

# (edge length in pixels, weight): most textures are small or medium.
TEXTURE_SIZES = [(64, 20), (128, 35), (256, 33), (512, 12)]

SKY_NAME = "benchsky"
SKY_FACES = ["bk", "ft", "lf", "rt", "dn", "up"]
SKY_EDGE = 512

LEVEL = "bench"
BSP_BYTES = 8 << 20    # at scale 1


def write(path, data):
    path.parent.mkdir(parents=True, exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def wal_bytes(rng, name, edge):
    """A texture: 100-byte header, then four mip levels of palette indices."""
    offsets = []
    pos = 100
    for level in range(4):
        offsets.append(pos)
        pos += (edge >> level) * (edge >> level)
    header = struct.pack("<32sII4I32sIII", name.encode("ascii")[:31], edge, edge,
                         *offsets, b"", 0, 0, 0)
    return header + rng.randbytes(pos - 100)


def wav_bytes(rng, samples):
    """8-bit mono PCM at 22050 Hz; the samples are noise."""
    rate = 22050
    data = rng.randbytes(samples)
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate, 1, 8)
    body = (b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
            + b"data" + struct.pack("<I", len(data)) + data)
    if samples & 1:
        body += b"\x00"
    return b"RIFF" + struct.pack("<I", len(body)) + body


def tga_bytes(rng, edge):
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0,
                         edge, edge, 24, 0x20)
    return header + rng.randbytes(edge * edge * 3)


def box_faces(mins, maxs):
    """The six planes of an axis-aligned box, each wound outwards."""
    x0, y0, z0 = mins
    x1, y1, z1 = maxs
    return [
        ((x0, y1, z1), (x0, y0, z1), (x0, y0, z0)),
        ((x0, y0, z1), (x1, y0, z1), (x1, y0, z0)),
        ((x1, y0, z0), (x1, y1, z0), (x0, y1, z0)),
        ((x0, y1, z1), (x1, y1, z1), (x1, y0, z1)),
        ((x1, y1, z0), (x1, y1, z1), (x0, y1, z1)),
        ((x1, y0, z1), (x1, y1, z1), (x1, y1, z0)),
    ]


def level_text(textures, sounds):
    """A level whose brush faces use every texture and whose speakers play
    every sound.  Brushes are 64-unit blocks in a grid on the floor."""
    def point(p):
        return "( %d %d %d )" % p

    lines = ["// Game: Quake 2", "// Format: Quake2", "// entity 0", "{",
             '"classname" "worldspawn"', '"message" "Corvane benchmark"',
             '"sky" "%s"' % SKY_NAME]
    faces_needed = max(len(textures), 6)
    brushes = (faces_needed + 5) // 6
    for b in range(brushes):
        gx, gy = b % 64, b // 64
        mins = (gx * 64, gy * 64, 0)
        maxs = (gx * 64 + 64, gy * 64 + 64, 64)
        lines += ["// brush %d" % b, "{"]
        for f, (p0, p1, p2) in enumerate(box_faces(mins, maxs)):
            tex = textures[(b * 6 + f) % len(textures)]
            lines.append("%s %s %s %s 0 0 0 1 1" % (point(p0), point(p1), point(p2), tex))
        lines.append("}")
    lines.append("}")

    lines += ["// entity 1", "{", '"classname" "info_player_start"',
              '"origin" "32 32 96"', "}"]
    for n, snd in enumerate(sounds):
        lines += ["// entity %d" % (n + 2), "{", '"classname" "target_speaker"',
                  '"spawnflags" "1"', '"noise" "%s"' % snd,
                  '"origin" "%d %d 128"' % ((n % 64) * 64 + 32, (n // 64) * 64 + 32), "}"]
    return "\n".join(lines) + "\n"


# The big level and the pooled levels ------------------------------------

STOCK_TEXTURES = [
    "e1u1/floor1_3", "e1u1/wall1_2", "e1u1/sky1", "e1u1/trigger", "e1u1/clip",
    "e1u2/wslt1_1", "e1u3/metal4_2", "e1u4/crate1_5", "e2u1/flat1_1",
    "e2u2/door1_2", "e2u3/grass1_3", "e3u1/wstlt1_2", "e3u2/color1_4",
    "e3u3/stone2_1",
]
# The game's own texture folders: a name whose first four characters are one
# of them is not a custom texture.
STOCK_FOLDERS = {"e1u1", "e1u2", "e1u3", "e1u4", "e2u1", "e2u2", "e2u3", "e3u1", "e3u2", "e3u3"}
STOCK_SOUNDS = ["world/amb10.wav", "world/drip1.wav", "world/wind2.wav", "world/lava1.wav"]
BIG_LEVEL_LINES = 2_000_000    # at scale 1
BIG_TEXTURES = 400
BIG_SOUNDS = 120

# A face: three plane points, the texture, its offsets, rotation and scales,
# then the content flags, surface flags and light value of the format.
FACE = "( %d %d %d ) ( %d %d %d ) ( %d %d %d ) %s %d %d %d %s %s %d %d %d\n"


def zipf_weights(n):
    """Cumulative weights that favour the first names, as real levels do."""
    total = 0.0
    out = []
    for rank in range(1, n + 1):
        total += 1.0 / rank
        out.append(total)
    return out


class LevelWriter:
    """Writes a level text in the usual shape: a worldspawn with a sky and
    many brushes, then point entities (lights, speakers) and brush entities
    (doors with sounds).  Most faces of a brush share its texture; a quarter
    of the brushes are textured from the game's own folders."""

    def __init__(self, rng, textures, sounds, sky):
        self.rng = rng
        self.textures = textures
        self.tex_weights = zipf_weights(len(textures))
        self.sounds = sounds
        self.sky = sky
        self.lines = 0
        self.parts = []
        self.used_textures = set()   # custom textures the level names
        self.used_sounds = set()     # custom sounds the level names

    def add(self, text, lines):
        self.parts.append(text)
        self.lines += lines

    def texture(self):
        rng = self.rng
        if rng.random() < 0.25:
            return rng.choice(STOCK_TEXTURES)
        return rng.choices(self.textures, cum_weights=self.tex_weights)[0]

    def surface(self):
        roll = self.rng.random()
        if roll < 0.9:
            return (0, 0, 0)
        if roll < 0.97:
            return (1, 16, 0)
        return (0, 1, 300)

    def brush(self, number):
        rng = self.rng
        x = rng.randrange(-8192, 8192, 16)
        y = rng.randrange(-8192, 8192, 16)
        z = rng.randrange(-4096, 4096, 16)
        w, d, h = (rng.choice((16, 32, 64, 128, 256)) for _ in range(3))
        x1, y1, z1 = x + w, y + d, z + h
        main = self.texture()
        planes = (
            (x, y1, z1, x, y, z1, x, y, z),
            (x, y, z1, x1, y, z1, x1, y, z),
            (x1, y, z, x1, y1, z, x, y1, z),
            (x, y1, z1, x1, y1, z1, x1, y, z1),
            (x1, y1, z, x1, y1, z1, x, y1, z1),
            (x1, y, z1, x1, y1, z1, x1, y1, z),
        )
        out = ["// brush %d\n{\n" % number]
        for plane in planes:
            tex = main if rng.random() < 0.7 else self.texture()
            self.used_textures.add(tex)
            scale = "1" if rng.random() < 0.8 else "0.5"
            out.append(FACE % (plane + (tex, rng.randrange(0, 64, 8), rng.randrange(0, 64, 8),
                                        rng.choice((0, 0, 0, 90)), scale, scale)
                       + self.surface()))
        out.append("}\n")
        self.add("".join(out), 9)

    def speaker(self, number):
        rng = self.rng
        sound = (rng.choice(STOCK_SOUNDS) if rng.random() < 0.2
                 else self.sounds[rng.randrange(len(self.sounds))])
        self.used_sounds.add(sound)
        text = ('// entity %d\n{\n"classname" "target_speaker"\n"spawnflags" "%d"\n'
                '"noise" "%s"\n"origin" "%d %d %d"\n}\n'
                % (number, rng.choice((0, 1)), sound, rng.randrange(-4096, 4096),
                   rng.randrange(-4096, 4096), rng.randrange(-1024, 1024)))
        self.add(text, 7)

    def light(self, number):
        rng = self.rng
        text = ('// entity %d\n{\n"classname" "light"\n"light" "%d"\n"_color" "1 0.9 0.8"\n'
                '"origin" "%d %d %d"\n}\n'
                % (number, rng.randrange(100, 400), rng.randrange(-4096, 4096),
                   rng.randrange(-4096, 4096), rng.randrange(-1024, 1024)))
        self.add(text, 7)

    def door(self, number, brush_number):
        rng = self.rng
        opens, closes = (self.sounds[rng.randrange(len(self.sounds))] for _ in range(2))
        self.used_sounds.update((opens, closes))
        self.add('// entity %d\n{\n"classname" "func_door"\n"angle" "%d"\n"speed" "100"\n'
                 '"noise1" "%s"\n"noise2" "%s"\n"message" "opens/closes"\n'
                 % (number, rng.choice((0, 90, 180, 270, -1)), opens, closes), 8)
        self.brush(brush_number)
        self.add("}\n", 1)

    def expected(self):
        """What a scan of the level must find: the custom names it uses, each
        texture with ".wal" added, in ascending byte order."""
        textures = {t + ".wal" for t in self.used_textures if t[:4] not in STOCK_FOLDERS}
        sounds = {s for s in self.used_sounds if not s.startswith("world")}
        return {"textures": sorted(textures, key=str.encode),
                "sounds": sorted(sounds, key=str.encode), "sky": self.sky}

    def write(self, path, lines):
        """Writes about `lines` lines to path."""
        path.parent.mkdir(parents=True, exist_ok=True)
        world = int(lines * 0.85)
        with open(path, "w", encoding="ascii", newline="\n") as f:
            self.add('// Game: Quake 2\n// Format: Quake2\n// entity 0\n{\n"classname" "worldspawn"\n'
                     '"message" "Corvane benchmark: sky/fog test"\n"sky" "%s"\n"skyaxis" "0 0 1"\n'
                     % self.sky, 8)
            brush = 0
            while self.lines < world:
                self.brush(brush)
                brush += 1
                if len(self.parts) >= 4096:
                    f.write("".join(self.parts))
                    self.parts = []
            self.add("}\n", 1)
            entity = 1
            while self.lines < lines:
                kind = self.rng.random()
                if kind < 0.4:
                    self.speaker(entity)
                elif kind < 0.8:
                    self.light(entity)
                else:
                    self.door(entity, brush)
                    brush += 1
                entity += 1
                if len(self.parts) >= 4096:
                    f.write("".join(self.parts))
                    self.parts = []
            f.write("".join(self.parts))
            self.parts = []
        return self.lines


def make_big_level(rng, path, scale):
    textures = ["%s/big%03d" % (TEXTURE_FOLDERS[i % len(TEXTURE_FOLDERS)], i)
                for i in range(BIG_TEXTURES)]
    sounds = ["%s/big%03d.wav" % (SOUND_FOLDERS[i % len(SOUND_FOLDERS)], i)
              for i in range(BIG_SOUNDS)]
    rng.shuffle(textures)
    writer = LevelWriter(rng, textures, sounds, "bigsky_")
    lines = writer.write(path, max(1000, int(BIG_LEVEL_LINES * scale)))
    return lines, path.stat().st_size, writer.expected()


POOL_LEVELS = 200
POOL_MORE_LEVELS = 1000        # the biggest pool: the 200 and copies of them
POOL_LEVEL_LINES = 10_000      # at scale 1, each
POOL_SHARED_TEXTURES = 1000
POOL_SHARED_SOUNDS = 100


def own_prefix(n):
    """The folder of level n's own textures and sounds."""
    return "lvl%03d/" % n


def make_pool(rng, out, scale):
    """200 levels, each with textures and sounds from a shared set and of its
    own, so that the pooled lists grow to thousands of names; and 1,000 levels
    that go on growing them: the 200, and copies of them that differ in their
    own names."""
    shared_tex = ["%s/shared%04d" % (TEXTURE_FOLDERS[i % len(TEXTURE_FOLDERS)], i)
                  for i in range(POOL_SHARED_TEXTURES)]
    shared_snd = ["%s/shared%03d.wav" % (SOUND_FOLDERS[i % len(SOUND_FOLDERS)], i)
                  for i in range(POOL_SHARED_SOUNDS)]
    lines = max(200, int(POOL_LEVEL_LINES * scale))
    full = out / ("pool-%d" % POOL_LEVELS) / "maps"
    full.mkdir(parents=True)
    total = 0
    found = []     # what each level names
    for n in range(POOL_LEVELS):
        own_tex = ["%swall%02d" % (own_prefix(n), i) for i in range(25)]
        own_snd = ["%ssnd%d.wav" % (own_prefix(n), i) for i in range(4)]
        textures = rng.sample(shared_tex, 60) + own_tex
        rng.shuffle(textures)
        sounds = rng.sample(shared_snd, 8) + own_snd
        path = full / ("lvl%03d.map" % n)
        writer = LevelWriter(rng, textures, sounds, "pool%d_" % (n % 7))
        writer.write(path, lines)
        found.append(writer.expected())
        total += path.stat().st_size
        with open(full / ("lvl%03d.bsp" % n), "wb") as f:
            f.write(b"IBSP" + struct.pack("<i", 38))
    for count in (50, 100):
        maps = out / ("pool-%d" % count) / "maps"
        maps.mkdir(parents=True)
        for n in range(count):
            os.link(full / ("lvl%03d.map" % n), maps / ("lvl%03d.map" % n))
    # Level n of the 1,000 beyond the first 200 is level n % 200 with its own
    # folder renamed: the same size and shape, its own 25 textures and 4 sounds.
    more = out / ("pool-%d" % POOL_MORE_LEVELS) / "maps"
    more.mkdir(parents=True)
    for n in range(POOL_MORE_LEVELS):
        name = "lvl%03d.map" % n
        if n < POOL_LEVELS:
            os.link(full / name, more / name)
            continue
        source = n % POOL_LEVELS
        old, new = own_prefix(source).encode(), own_prefix(n).encode()
        text = (full / ("lvl%03d.map" % source)).read_bytes()
        (more / name).write_bytes(text.replace(old, new))
        found.append({kind: sorted((x.replace(own_prefix(source), own_prefix(n)) for x in names),
                                   key=str.encode)
                      for kind, names in found[source].items() if kind != "sky"})
    expected = {}
    for count in (50, 100, POOL_LEVELS, POOL_MORE_LEVELS):
        expected["pool-%d" % count] = {
            kind: sorted(set().union(*(level[kind] for level in found[:count])), key=str.encode)
            for kind in ("textures", "sounds")}
    return total, expected


SIZE_TREE_FILES = 100_000      # at scale 1


def make_size_tree(rng, root, scale):
    """Files in nested folders: ten top folders, each with up to four levels
    of sub-folders; most folders hold files.  Sizes are log-uniform between
    16 bytes and 16 KB, with some empty files."""
    n_files = max(100, int(SIZE_TREE_FILES * scale))
    folders = []

    def grow(path, depth):
        folders.append(path)
        if depth < 4:
            for i in range(rng.randint(2, 5) if depth else 10):
                grow(path / ("d%d_%d" % (depth, i)), depth + 1)

    grow(root, 0)
    for folder in folders:
        folder.mkdir(parents=True, exist_ok=True)
    blob = rng.randbytes(1 << 14)
    total = 0
    for i in range(n_files):
        folder = folders[rng.randrange(len(folders))]
        size = 0 if rng.random() < 0.02 else int(2 ** rng.uniform(4, 14))
        with open(folder / ("f%06d.dat" % i), "wb") as f:
            f.write(blob[:size])
        total += size
    return n_files, len(folders), total


# A base game as an installation has it, 10,000 files in all at any scale:
# (where, how many files).  Names are distinct, so the index holds them all.
BASEGAME_PARTS = [("pak0.pak", 4000), ("pak1.pak", 2000), ("pak2.pak", 1000), ("pak3.pk3", 2000),
                  ("loose", 1000)]
BASEGAME_FOLDERS = ["textures/e%du%d" % (e, u) for e in (1, 2, 3) for u in (1, 2, 3)] + \
    ["sound/world", "sound/weapons", "models/items", "pics", "env", "sprites"]


def pak_bytes(entries):
    """A pak: header, the entries' data, then the 64-byte directory entries."""
    data = bytearray()
    directory = bytearray()
    for name, body in entries:
        directory += name.encode("ascii").ljust(56, b"\0")
        directory += struct.pack("<ii", 12 + len(data), len(body))
        data += body
    return b"PACK" + struct.pack("<ii", 12 + len(data), len(directory)) + bytes(data) + bytes(directory)


def make_basegame(rng, root):
    """Writes the base game and returns its number of distinct names."""
    import zipfile
    root.mkdir(parents=True)
    number = 0
    for where, count in BASEGAME_PARTS:
        entries = []
        for _ in range(count):
            folder = BASEGAME_FOLDERS[number % len(BASEGAME_FOLDERS)]
            entries.append(("%s/file%05d.dat" % (folder, number), rng.randbytes(rng.randint(64, 1024))))
            number += 1
        if where.endswith(".pak"):
            write(root / where, pak_bytes(entries))
        elif where.endswith(".pk3"):
            with zipfile.ZipFile(root / where, "w", zipfile.ZIP_DEFLATED) as z:
                for name, body in entries:
                    info = zipfile.ZipInfo(name, (1980, 1, 1, 0, 0, 0))
                    info.compress_type = zipfile.ZIP_DEFLATED
                    z.writestr(info, body)
        else:
            for name, body in entries:
                write(root / name, body)
    return number


def parse_arguments(description):
    """The generators' command line: OUT_DIR [--scale S] [--seed N].  Returns
    the arguments with OUT_DIR made absolute, after refusing a folder inside
    the repository or one that is not empty."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("out", type=Path, help="folder to write (must be empty or absent)")
    parser.add_argument("--scale", type=float, default=1.0)
    parser.add_argument("--seed", type=int, default=20261207)
    args = parser.parse_args()

    if args.scale <= 0:
        sys.exit("--scale must be positive")
    repo = Path(__file__).resolve().parent.parent
    args.out = args.out.resolve()
    if args.out == repo or repo in args.out.parents:
        sys.exit("refusing to write the data inside the repository: %s" % args.out)
    if args.out.exists() and any(args.out.iterdir()):
        sys.exit("output folder is not empty: %s" % args.out)
    return args


def main():
    args = parse_arguments(__doc__.split("\n")[0])
    out = args.out
    rng = random.Random(args.seed)
    tree = out / "tree"
    expected = []
    total = 0

    n_textures = max(len(TEXTURE_FOLDERS), round(TEXTURE_FILES * args.scale))
    n_sounds = max(len(SOUND_FOLDERS), round(SOUND_FILES * args.scale))

    edges = [e for e, _ in TEXTURE_SIZES]
    weights = [w for _, w in TEXTURE_SIZES]
    textures = []
    for i in range(n_textures):
        folder = TEXTURE_FOLDERS[i % len(TEXTURE_FOLDERS)]
        name = "%s/tex%04d" % (folder, i // len(TEXTURE_FOLDERS))
        data = wal_bytes(rng, name, rng.choices(edges, weights)[0])
        write(tree / "textures" / (name + ".wal"), data)
        textures.append(name)
        expected.append("textures/%s.wal" % name)
        total += len(data)

    sounds = []
    for i in range(n_sounds):
        folder = SOUND_FOLDERS[i % len(SOUND_FOLDERS)]
        name = "%s/snd%04d.wav" % (folder, i // len(SOUND_FOLDERS))
        # log-uniform length between 16 KB and 1 MB of samples
        samples = int(2 ** rng.uniform(14, 20))
        data = wav_bytes(rng, samples)
        write(tree / "sound" / name, data)
        sounds.append(name)
        expected.append("sound/%s" % name)
        total += len(data)

    for face in SKY_FACES:
        rel = "env/%s%s.tga" % (SKY_NAME, face)
        data = tga_bytes(rng, SKY_EDGE)
        write(tree / rel, data)
        expected.append(rel)
        total += len(data)

    level = level_text(textures, sounds).encode("ascii")
    write(tree / "maps" / (LEVEL + ".map"), level)
    bsp = b"IBSP" + struct.pack("<i", 38) + rng.randbytes(max(256, int(BSP_BYTES * args.scale)))
    write(tree / "maps" / (LEVEL + ".bsp"), bsp)
    expected += ["maps/%s.map" % LEVEL, "maps/%s.bsp" % LEVEL]
    total += len(level) + len(bsp)

    expected.sort()
    (out / "expected.txt").write_text("\n".join(expected) + "\n")
    print("wrote %d resource files (%d textures, %d sounds, %d sky images), "
          "%d files in all, %.1f MB, below %s"
          % (n_textures + n_sounds + len(SKY_FACES), n_textures, n_sounds,
             len(SKY_FACES), len(expected), total / 1e6, tree))

    lines, size, big_expected = make_big_level(rng, out / "big" / "big.map", args.scale)
    print("wrote the big level: %d lines, %.1f MB" % (lines, size / 1e6))

    files, folders, size_total = make_size_tree(rng, out / "sizes", args.scale)
    (out / "sizes.txt").write_text("%d %d\n" % (files, size_total))
    print("wrote the size tree: %d files in %d folders, %.1f MB" % (files, folders, size_total / 1e6))

    pool_total, pool_expected = make_pool(rng, out, args.scale)
    print("wrote %d levels for pooling, %.1f MB, and %d more made from them"
          % (POOL_LEVELS, pool_total / 1e6, POOL_MORE_LEVELS - POOL_LEVELS))

    names = make_basegame(rng, out / "basegame")
    (out / "basegame.txt").write_text("%d\n" % names)
    print("wrote the base game: %d files in 3 paks, a pk3 and loose files" % names)

    results = dict(pool_expected, big=big_expected)
    (out / "results.json").write_text(json.dumps(results, indent=1) + "\n")


if __name__ == "__main__":
    main()
