#!/usr/bin/env bash
# Times the whole-process HEX conversion of one 64 KB image: `tal hex` and `tal unhex` against
# objcopy (binutils) and srec_cat (srecord) doing the same conversion on the same image.
# Prints the median wall time of several runs of each.
#
#   bench/peers.sh [BUILD_DIR] [RUNS]      (defaults: build-release, 31)
#
# Build first:  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release && ninja -C build-release tal pk2cmd-sim
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-release}"
runs="${2:-31}"
tal="$build/tal"
sim="$build/pk2cmd-sim"
for tool in "$tal" "$sim"; do
    [ -x "$tool" ] || { echo "missing $tool (build it first)" >&2; exit 2; }
done
for tool in objcopy srec_cat; do
    command -v "$tool" >/dev/null || { echo "missing $tool" >&2; exit 2; }
done

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
head -c 65536 /dev/urandom >"$work/image.bin"
# The file the programmer tool writes when reading the EEPROM back (LF line ends).
"$tal" hex "$work/image.bin" -o "$work/export.hex"
PK2CMD_SIM_EEPROM="$work/eeprom.bin" "$sim" /P25LC512 "/F$work/export.hex" /M >/dev/null
PK2CMD_SIM_EEPROM="$work/eeprom.bin" "$sim" /P25LC512 "/GF$work/read.hex" >/dev/null

# measure NAME COMMAND...: runs COMMAND $runs times; prints the median wall time and the median
# CPU time (user + system) in milliseconds. On a busy machine the CPU time is the steadier figure;
# the wall time also holds waiting for the disk (the editor's files are synced before the rename).
measure() {
    local name="$1"
    shift
    "$@" >/dev/null 2>&1 || { echo "$name failed" >&2; exit 1; }
    local walls=() cpus=() line
    local TIMEFORMAT='%3R %3U %3S'
    for ((i = 0; i < runs; i++)); do
        line="$({ time "$@" >/dev/null 2>&1; } 2>&1)"
        read -r real user sys <<<"$line"
        walls+=("$real")
        cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.3f", u + s }')")
    done
    printf '%-34s wall %7s ms   cpu %7s ms\n' "$name" "$(median "${walls[@]}")" "$(median "${cpus[@]}")"
}

# median SECONDS...: the median, in milliseconds.
median() {
    printf '%s\n' "$@" | sort -n | awk '{ a[NR] = $1 } END { printf "%.2f", a[int((NR + 1) / 2)] * 1000 }'
}

echo "median of $runs runs, whole process, 64 KB image"
echo "-- image -> Intel HEX"
measure "tal hex" "$tal" hex "$work/image.bin" -o "$work/tal.hex"
measure "objcopy -I binary -O ihex" objcopy -I binary -O ihex "$work/image.bin" "$work/objcopy.hex"
measure "srec_cat -binary -o -intel" srec_cat "$work/image.bin" -binary -o "$work/srec.hex" -intel \
    -output_block_size=16
echo "-- programmer's Intel HEX -> image"
measure "tal unhex" "$tal" unhex "$work/read.hex" -o "$work/tal.bin"
measure "objcopy -I ihex -O binary" objcopy -I ihex -O binary "$work/read.hex" "$work/objcopy.bin"
measure "srec_cat -intel -o -binary" srec_cat "$work/read.hex" -intel -o "$work/srec.bin" -binary

for out in tal objcopy srec; do
    cmp -s "$work/image.bin" "$work/$out.bin" || { echo "$out.bin differs from the image" >&2; exit 1; }
done
