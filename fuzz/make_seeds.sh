#!/usr/bin/env bash
# Builds the seed corpora of the fuzz targets into OUT/level and OUT/names:
# the levels of the example tree and of the shared corpus of real levels (big
# ones cut into pieces at line breaks, so each seed stays quick to run), a few
# hand-made hostile levels, and the resource names those levels use together
# with hand-made hostile names.
# Usage: fuzz/make_seeds.sh OUT [LEVEL_DIR...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="${1:?usage: make_seeds.sh OUT [LEVEL_DIR...]}"
shift
dirs=("$root/examples" "$root/tests/fixtures/levels" "$@")
[ -d "$root/../shared/corpus" ] && dirs+=("$root/../shared/corpus")

mkdir -p "$out/level" "$out/names"
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
echo "seeds: $(find "$out/level" -type f | wc -l) levels, $(find "$out/names" -type f | wc -l) names" >&2
