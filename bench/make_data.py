#!/usr/bin/env python3
"""Generate a large working tree for the Corvane benchmarks.

    python3 bench/make_data.py OUT_DIR [--scale S] [--seed N]

OUT_DIR receives:

    OUT_DIR/tree/maps/bench.map     a level that names every resource below
    OUT_DIR/tree/maps/bench.bsp     a placeholder compiled level
    OUT_DIR/tree/textures/<folder>/<name>.wal
    OUT_DIR/tree/sound/<folder>/<name>.wav
    OUT_DIR/tree/env/benchsky<face>.tga
    OUT_DIR/expected.txt            the files a transfer with --sky must copy,
                                    relative to the target folder, one a line

At scale 1 the tree holds about 5,000 resource files totalling about 500 MB;
the scale multiplies the number of files (and the size of the .bsp), so the
mix of small and large files stays the same.  The same seed and scale give
the same bytes on every run.
"""

import argparse
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


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("out", type=Path, help="folder to write (must be empty or absent)")
    parser.add_argument("--scale", type=float, default=1.0)
    parser.add_argument("--seed", type=int, default=20261207)
    args = parser.parse_args()

    if args.scale <= 0:
        sys.exit("--scale must be positive")
    repo = Path(__file__).resolve().parent.parent
    out = args.out.resolve()
    if out == repo or repo in out.parents:
        sys.exit("refusing to write the data inside the repository: %s" % out)
    if out.exists() and any(out.iterdir()):
        sys.exit("output folder is not empty: %s" % out)

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


if __name__ == "__main__":
    main()
