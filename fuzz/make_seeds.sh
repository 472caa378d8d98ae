#!/usr/bin/env bash
# Builds the seed corpora of the fuzz targets into OUT/level, OUT/names,
# OUT/pak, OUT/zip, OUT/bsp and OUT/formats: the levels of the example tree
# and of the shared corpus of real levels (big ones cut into pieces at line
# breaks, so each seed stays quick to run), a few hand-made hostile levels, the
# resource names those levels use together with hand-made hostile names, paks
# and zips of the example tree, sound and damaged, the compiled levels and
# textures found beside the levels, and small generated textures, models,
# palette pictures and compiled levels (the generated ones need python3).
# Usage: fuzz/make_seeds.sh OUT [LEVEL_DIR...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:?usage: make_seeds.sh OUT [LEVEL_DIR...]}"
shift
dirs=("$root/examples" "$root/tests/fixtures/levels" "$@")
[ -d "$root/../shared/corpus" ] && dirs+=("$root/../shared/corpus")

mkdir -p "$out/level" "$out/names" "$out/pak" "$out/zip" "$out/bsp" "$out/formats"
names="$(mktemp)"
trap 'rm -f "$names"' EXIT

n=0
while IFS= read -r -d '' map; do
  n=$((n + 1))
  # Pieces of at most 16 KiB, each made of whole lines.
  split -C 16k -d -a 4 "$map" "$out/level/map$n-"
  # Face lines name their texture after the third point; "noise" lines quote a sound.
  awk '/^ *\(/ { for (i = 1; i <= NF; i++) if ($i == ")") c++; if (c >= 3) { split($0, a, ")"); split(a[4], b, " "); if (b[1] != "") print b[1] } c = 0 }' "$map" >>"$names" || true
  grep -a 'noise' "$map" | awk -F'"' 'NF >= 5 { print $4 }' >>"$names" || true
done < <(find "${dirs[@]}" -type f -name '*.map' -print0 2>/dev/null)

i=0
sort -u "$names" | head -n 2000 | while IFS= read -r name; do
  i=$((i + 1))
  printf '%s' "$name" >"$out/names/real$i"
done

hostile=(
  '../../etc/passwd' '..\..\windows\win.ini' 'harbor/../../x' 'a/b/../../..' '/etc/passwd'
  '//server/share/x' '\\server\share' 'C:\x' 'c:x' 'harbor/..' '..' '.' './x' 'a//b' 'a\b/c'
  'harbor/$(rm -rf ~)' 'x/*?*' '*****************************a' 'sky?bk.*'
)
i=0
for name in "${hostile[@]}"; do
  i=$((i + 1))
  printf '%s' "$name" >"$out/names/hostile$i"
done
printf 'harbor/\001\002\377\200name' >"$out/names/bytes"
printf 'harbor/planks\000/home/me/game' >"$out/names/withdir"
printf 'x\000C:\\' >"$out/names/windrive"

printf '{\n"classname" "worldspawn"\n"sky" "../../x"\n{\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) ../../../etc/passwd 0 0 0 1 1\n( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) C:\\x 0 0 0 1 1\n}\n}\n{\n"noise" "../../../x"\n}\n' >"$out/level/hostile1"
printf '{\r"sky" "a"\r{\r( 0 0 0 ) ( 1 0 0 ) ( 0 1 0 ) a/\001\377 0 0 0 1 1\r}\r}' >"$out/level/hostile2"
printf '{\n{\n( ( ( ( ) ) ) ) ) ) ) )\n"\n"noise"\n""""""""\n' >"$out/level/hostile3"
if command -v python3 >/dev/null 2>&1; then
  python3 - "$root/examples/harbor" "$out" <<'PY'
import io, os, struct, sys, zipfile
tree, out = sys.argv[1], sys.argv[2]
files = []
for folder, _, names in sorted(os.walk(tree)):
    for name in sorted(names):
        path = os.path.join(folder, name)
        files.append((os.path.relpath(path, tree), open(path, "rb").read()[:2048]))

def pak(entries):
    data, directory = b"", b""
    for name, body in entries:
        directory += name.encode()[:56].ljust(56, b"\0") + struct.pack("<ii", 12 + len(data), len(body))
        data += body
    return b"PACK" + struct.pack("<ii", 12 + len(data), len(directory)) + data + directory

def zipped(entries, method):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w", method) as z:
        for name, body in entries:
            info = zipfile.ZipInfo(name, (1980, 1, 1, 0, 0, 0))
            info.compress_type = method
            z.writestr(info, body)
    return buffer.getvalue()

hostile = [("../../etc/passwd", b"x"), ("/abs", b"x"), ("a\\b", b"x"), ("ok.wal", b"fine")]
seeds = {
    "pak/harbor": pak(files[:12]),
    "pak/hostile": pak(hostile),
    "pak/one": pak(files[:1]),
    "zip/harbor-deflate": zipped(files[:12], zipfile.ZIP_DEFLATED),
    "zip/harbor-stored": zipped(files[:6], zipfile.ZIP_STORED),
    "zip/hostile": zipped(hostile, zipfile.ZIP_DEFLATED),
    "zip/bzip2": zipped(files[:3], zipfile.ZIP_BZIP2),
}
for name, data in seeds.items():
    open(os.path.join(out, name), "wb").write(data)
PY
fi

# Compiled levels and textures of the trees (only small ones: seeds stay quick).
find "${dirs[@]}" -type f -size -64k -name '*.bsp' -exec cp -t "$out/bsp" {} + 2>/dev/null || true
find "${dirs[@]}" -type f -size -64k \( -name '*.wal' -o -name '*.tga' \) -exec cp -t "$out/formats" {} + 2>/dev/null || true

# Generated files of each kind, well formed, for the fuzzer to damage.
if command -v python3 >/dev/null 2>&1; then
  python3 - "$out" <<'PY'
import struct, sys
out = sys.argv[1]

def field(text, width):
    return text.encode()[:width].ljust(width, b"\0")

def wal(name, anim, w, h):
    sizes = [max(1, w >> i) * max(1, h >> i) for i in range(4)]
    offsets = [100 + sum(sizes[:i]) for i in range(4)]
    pixels = bytes(i % 256 for i in range(sum(sizes)))
    return field(name, 32) + struct.pack("<6I", w, h, *offsets) + field(anim, 32) + struct.pack("<3I", 0, 0, 0) + pixels

def md2(skins):
    end = 68 + 64 * len(skins)
    return b"IDP2" + struct.pack("<10I6I", 8, 64, 64, 0, len(skins), 0, 0, 0, 0, 0, 68, *[end] * 5) + b"".join(field(s, 64) for s in skins)

def pcx():
    header = bytearray(128)
    header[0:4] = b"\x0a\x05\x01\x08"
    header[65], header[66], header[68] = 1, 2, 1
    return bytes(header) + b"\0\0\x0c" + bytes((i * 3 + c) % 256 for i in range(256) for c in range(3))

def bsp(entities, textures):
    ents = entities.encode() + b"\0"
    infos = b"".join(bytes(40) + field(t, 32) + struct.pack("<i", -1) for t in textures)
    end = 160 + len(ents) + len(infos)
    lumps = [(160, len(ents)) if i == 0 else (160 + len(ents), len(infos)) if i == 5 else (end, 0) for i in range(19)]
    return b"IBSP" + struct.pack("<I", 38) + b"".join(struct.pack("<ii", *l) for l in lumps) + ents + infos

seeds = {
    "formats/wal4": wal("harbor/water1", "harbor/water2", 4, 4),
    "formats/wal16x8": wal("harbor/rope", "", 16, 8),
    "formats/md2": md2(["models/boat/skin.pcx", "models/boat/pain.pcx"]),
    "formats/pcx": pcx(),
    "bsp/small": bsp('{\n"classname" "worldspawn"\n"sky" "harborsky"\n}\n', ["harbor/water1", "e1u1/floor1_1"]),
    "bsp/keys": bsp('{\r\n"model" "*1"\r\n"noise_start" "doors/open"\r\n}\r\n{\n"model" "models/boat/tris.md2"\n"image" "harbor/sign"\n}\n', ["harbor/rope"] * 3),
    "bsp/empty": bsp("", []),
}
for name, data in seeds.items():
    with open(f"{out}/{name}", "wb") as f:
        f.write(data)
PY
fi
echo "seeds: $(find "$out/level" -type f | wc -l) levels, $(find "$out/names" -type f | wc -l) names," \
  "$(find "$out/pak" -type f | wc -l) paks, $(find "$out/zip" -type f | wc -l) zips," \
  "$(find "$out/bsp" -type f | wc -l) compiled levels, $(find "$out/formats" -type f | wc -l) files of other formats" >&2
