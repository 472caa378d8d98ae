#!/usr/bin/env python3
"""Generate the levels for the window benchmark (bench/window.sh).

    python3 bench/make_window_data.py OUT_DIR [--scale S] [--seed N]

OUT_DIR receives:

    OUT_DIR/big/maps/big.map         the big level of make_data.py: about
                                     2 million lines and 119 MB over 400
                                     custom textures in 20 folders
    OUT_DIR/unique/maps/unique.map   a level whose brush faces use 200,000
                                     distinct custom textures in 100 folders,
                                     and 50 sounds

Both are written with make_data.py's own writers, so they have the shape of
the other benchmarks' levels.  The scale multiplies the lines of the big level
and the textures of the other one; the same seed and scale give the same
bytes on every run.
"""

import random
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import make_data  # noqa: E402  (the writers live there)

UNIQUE_TEXTURES = 200_000   # at scale 1
UNIQUE_FOLDERS = 100
UNIQUE_SOUNDS = 50


def main():
    args = make_data.parse_arguments(__doc__.split("\n")[0])
    out = args.out
    rng = random.Random(args.seed)
    lines, size, _ = make_data.make_big_level(rng, out / "big" / "maps" / "big.map", args.scale)
    print("wrote the big level: %d lines, %.1f MB" % (lines, size / 1e6))

    count = max(UNIQUE_FOLDERS, round(UNIQUE_TEXTURES * args.scale))
    textures = ["set%02d/wall_%06d" % (i % UNIQUE_FOLDERS, i) for i in range(count)]
    rng.shuffle(textures)
    sounds = ["amb/unique%02d.wav" % i for i in range(UNIQUE_SOUNDS)]
    path = out / "unique" / "maps" / "unique.map"
    path.parent.mkdir(parents=True)
    path.write_bytes(make_data.level_text(textures, sounds).encode("ascii"))
    print("wrote the level of %d distinct textures: %.1f MB" % (count, path.stat().st_size / 1e6))


if __name__ == "__main__":
    main()
