#!/usr/bin/env bash
# Batch input as a user runs it: N territory points (X 1000-1200 km, Y 480-880
# km, all inside S-JTSK's area, so no warnings), one "X Y h" a line, from
# a file to a file, through a Release geochain, in a temporary directory.
# Prints microseconds per point (fastest of three runs) for the reports and
# for --table, and, where PROJ's cs2cs is installed, cs2cs on the same
# points in the same run; where valgrind is installed, instructions a point
# under callgrind for each (4,000 points to /dev/null, less a run on empty
# input, so that start-up does not count); peak memory over a million
# points; system calls per point for a piped run and for a run at a terminal
# (a pseudo-terminal, with `script`); and start-up to exit on empty input
# beside /bin/true.
#
# usage: bench/dialogue.sh [N]     (default 100000)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
points=${1:-100000}

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j2 --target geochain >/dev/null
exe=$PWD/build-bench/geochain

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
generate() {  # count, then "answers" for a "1" after every point and a "0" at the end
    awk -v n="$1" -v answers="${2:-}" 'BEGIN {
        for (i = 0; i < n; i++) {
            printf "%.3f %.3f %.1f\n", 1000000 + (i * 7919) % 200000, 480000 + (i * 104729) % 400000,
                   150 + i % 900
            if (answers) print (i == n - 1 ? "0" : "1")
        }
    }'
}
generate "$points" > "$work/points.txt"
cd "$work"

now_us() { local t=${EPOCHREALTIME/./}; echo "$t"; }
fastest_us() { printf '%s\n' "$@" | sort -n | head -n 1; }
per_point() { awk -v t="$1" -v n="$points" 'BEGIN { printf "%.2f us per point", t / n }'; }
time_runs() {  # command words; the fastest of three runs from points.txt to a file
    local runs=() t0
    for _ in 1 2 3; do
        rm -f fi.txt
        t0=$(now_us)
        "$@" < points.txt > reports.txt 2> errors.txt
        test ! -s errors.txt
        runs+=($(($(now_us) - t0)))
    done
    fastest_us "${runs[@]}"
}

echo "points:                   $points, from a file to a file"
ours=$(time_runs "$exe")
test "$(wc -l < fi.txt)" -eq $((4 * points))
echo "geochain, reports:        $((ours / 1000)) ms, $(per_point "$ours") (fastest of 3)"
table=$(time_runs "$exe" --table)
test "$(wc -l < reports.txt)" -eq $((points + 1))
echo "geochain --table:         $((table / 1000)) ms, $(per_point "$table") (fastest of 3)"
if command -v cs2cs >/dev/null; then
    theirs=$(time_runs cs2cs -f %.9f EPSG:5513 EPSG:4156)
    echo "cs2cs EPSG:5513 4156:     $((theirs / 1000)) ms, $(per_point "$theirs") (fastest of 3)"
    awk -v a="$theirs" -v b="$ours" 'BEGIN { printf "reports faster by:        %.2fx\n", a / b }'
    awk -v a="$theirs" -v b="$table" 'BEGIN { printf "table faster by:          %.2fx\n", a / b }'
else
    echo "cs2cs:                    not installed (Debian: proj-bin), not compared"
fi

if command -v valgrind >/dev/null; then
    count() { "$root/bench/instructions.sh" "$@"; }
    echo "instructions a point:     reports $(count "$exe"), table $(count "$exe" --table)$(
        command -v cs2cs >/dev/null && echo ", cs2cs $(count cs2cs -f %.9f EPSG:5513 EPSG:4156)")"
fi

# Peak memory needs GNU time (-f %M), the system calls strace and script:
# Linux tools, and elsewhere these figures are left out.
if /usr/bin/time -f %M true >/dev/null 2>&1; then
    generate 1000000 > million.txt
    for run in "" --table; do
        peak=$(/usr/bin/time -f %M "$exe" $run < million.txt 2>&1 >/dev/null | tail -n 1)
        awk -v k="$peak" -v r="${run:-reports}" \
            'BEGIN { printf "peak memory, 1000000 points, %s: %d KiB (%.2f MiB)\n", r, k, k / 1024 }'
    done
fi

calls() {  # trace file, points: system calls per point, by kind
    awk -v n="$2" '
        /^[0-9]+ +write\(1,/ { out++ }
        /openat\(AT_FDCWD, "fi.txt"/ { opens++ }
        /^[0-9]+ +[a-z_0-9]+\(/ { total++ }
        END { printf "%.4f in all, %.4f writes to stdout, %.4f opens of fi.txt per point\n",
                     total / n, out / n, opens / n }' "$1"
}
if command -v strace >/dev/null; then
    rm -f fi.txt
    cat points.txt | strace -f -o trace "$exe" > /dev/null
    echo "piped, system calls:      $(calls trace "$points")"
    if command -v script >/dev/null; then
        generate 2000 answers > typed.txt
        rm -f fi.txt
        script -qec "strace -f -o trace $exe" /dev/null < typed.txt > /dev/null
        echo "at a terminal, calls:     $(calls trace 2000)"
    fi
else
    echo "strace not installed: no system call counts"
fi

# Start-up to exit on empty input: the fastest of 30 runs, each followed by
# a run of /bin/true, so that both see the same state of the machine.
ours=()
truth=()
for _ in $(seq 30); do
    t0=$(now_us)
    "$exe" < /dev/null > /dev/null 2>&1 || true
    t1=$(now_us)
    /bin/true < /dev/null > /dev/null 2>&1
    t2=$(now_us)
    ours+=($((t1 - t0)))
    truth+=($((t2 - t1)))
done
ours=$(fastest_us "${ours[@]}")
truth=$(fastest_us "${truth[@]}")
echo "start-up to exit:         $ours us (fastest of 30)"
echo "/bin/true:                $truth us (fastest of 30, interleaved)"
awk -v a="$ours" -v b="$truth" 'BEGIN { printf "ratio:                    %.2f\n", a / b }'
