#!/bin/sh
# Each folder of the core may include only itself and the folders below it:
# platform -> archive, formats, settings, map -> transfer -> pool -> the front ends. The front
# ends (cli, ui) may include any folder but each other. A folder this script
# does not know yet is reported and left unchecked until it is given a place.
# Prints every include that reaches upwards or sideways and fails on any.
set -eu
src=$1
status=0
allowed() {
    case $1 in
        platform) echo "platform" ;;
        archive) echo "platform archive" ;;
        formats) echo "platform formats" ;;
        settings) echo "platform settings" ;;
        map) echo "platform map" ;;
        transfer) echo "platform archive formats map transfer" ;;
        pool) echo "platform archive formats map transfer pool" ;;
        cli) echo "* !ui" ;;
        ui) echo "* !cli" ;;
        *) echo "" ;;
    esac
}
for dir in "$src"/*/; do
    folder=$(basename "$dir")
    ok=$(allowed "$folder")
    if [ -z "$ok" ]; then
        echo "note: src/$folder has no place in the layers yet (see $(basename "$0"))"
        continue
    fi
    for used in $(grep -rhoE '#include "[a-z_]+/' "$dir" | sed 's/#include "//; s|/$||' | sort -u); do
        case " $ok " in
            *" !$used "*) ;;
            *" $used "* | *" * "*) continue ;;
        esac
        echo "src/$folder includes src/$used:"
        grep -rnE "#include \"$used/" "$dir" | sed "s|^$src/|  src/|"
        status=1
    done
done
exit $status
