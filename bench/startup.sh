#!/usr/bin/env bash
# Times the editor's start-up: from the start of the process until the main window, with the demo
# working file open, has painted itself (`taleditor --quit-after-paint`), under one Xvfb server.
# Prints the median wall time of several runs.
#
#   bench/startup.sh [BUILD_DIR] [RUNS]      (defaults: build-release, 21)
#
# Build first:  cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release && ninja -C build-release taleditor tal
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-release}"
runs="${2:-21}"
for tool in "$build/taleditor" "$build/tal"; do
    [ -x "$tool" ] || { echo "missing $tool (build it first)" >&2; exit 2; }
done
command -v Xvfb >/dev/null || { echo "missing Xvfb" >&2; exit 2; }

work="$(mktemp -d)"
trap 'kill "${xvfb:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/bin" "$work/work" "$work/programs"
cp "$build/taleditor" "$work/bin/"
"$build/tal" blank -o "$work/bin/TAL.ini"
printf '%s\n%s\n%s\n' "ТАЛ-1" "$work/programs/" "$work/programmer/" |
    iconv -f UTF-8 -t WINDOWS-1251 >"$work/bin/TAL.cfg"
"$build/tal" init "$work/work" >/dev/null
"$build/tal" build "$root/data/demo_programs.json" -o "$work/programs/demo.bin"

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
if command -v xdpyinfo >/dev/null; then
    for _ in $(seq 50); do
        DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
else
    sleep 1
fi

cd "$work/work"
start() {
    DISPLAY="$display" QT_QPA_PLATFORM=xcb "$work/bin/taleditor" --open "$work/programs/demo.bin" \
        --quit-after-paint
}
start >/dev/null 2>&1 || { echo "the editor did not start" >&2; exit 1; }  # warms the caches
times=()
TIMEFORMAT='%3R'
for ((i = 0; i < runs; i++)); do
    times+=("$({ time start >/dev/null 2>&1; } 2>&1)")
done
median="$(printf '%s\n' "${times[@]}" | sort -n |
    awk '{ a[NR] = $1 } END { printf "%.1f", a[int((NR + 1) / 2)] * 1000 }')"
echo "editor start-up to a painted main window, demo file open: median of $runs runs $median ms"
