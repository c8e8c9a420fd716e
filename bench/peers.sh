#!/usr/bin/env bash
# Times the whole-process HEX conversion of one 64 KB image: `tal hex` and `tal unhex` against
# objcopy (binutils) and srec_cat (srecord) doing the same conversion on the same image, run in
# turn so that the machine's load falls on all alike. Prints the median wall time and the median
# CPU time (user + system) of each; on a busy machine the CPU time is the steadier figure, the
# wall time also holds waiting for the disk (`tal` syncs what it writes before the rename).
#
#   bench/peers.sh [BUILD_DIR] [RUNS]      (defaults: build-release, 31)
#
# Build first:  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release && ninja -C build-release tal pk2cmd-sim interleaved_runs
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-release}"
runs="${2:-31}"
tal="$build/tal"
sim="$build/pk2cmd-sim"
for tool in "$tal" "$sim" "$build/bench/interleaved_runs"; do
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

timer="$build/bench/interleaved_runs"
echo "median of $runs rounds, whole process, 64 KB image; each round runs every command once, in turn"
echo "-- image -> Intel HEX"
"$timer" "$runs" \
    "tal hex" -- "$tal" hex "$work/image.bin" -o "$work/tal.hex" ";;" \
    "objcopy -I binary -O ihex" -- objcopy -I binary -O ihex "$work/image.bin" "$work/objcopy.hex" ";;" \
    "srec_cat -binary -o -intel" -- srec_cat "$work/image.bin" -binary -o "$work/srec.hex" -intel \
    -output_block_size=16
echo "-- programmer's Intel HEX -> image"
"$timer" "$runs" \
    "tal unhex" -- "$tal" unhex "$work/read.hex" -o "$work/tal.bin" ";;" \
    "objcopy -I ihex -O binary" -- objcopy -I ihex -O binary "$work/read.hex" "$work/objcopy.bin" ";;" \
    "srec_cat -intel -o -binary" -- srec_cat "$work/read.hex" -intel -o "$work/srec.bin" -binary

for out in tal objcopy srec; do
    cmp -s "$work/image.bin" "$work/$out.bin" || { echo "$out.bin differs from the image" >&2; exit 1; }
done
