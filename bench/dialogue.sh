#!/usr/bin/env bash
# A scripted run's cost: N territory points piped through a Release geochain
# (each answered "1", the last "0"), standard output to /dev/null, in a
# temporary directory. Prints microseconds per point, peak memory over the
# whole run, system calls per point (with strace), and start-up to exit on
# empty input beside /bin/true.
#
# usage: bench/dialogue.sh [N]     (default 10000)
set -euo pipefail
cd "$(dirname "$0")/.."
points=${1:-10000}

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j2 --target geochain >/dev/null
exe=$PWD/build-bench/geochain

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v n="$points" 'BEGIN {
    for (i = 0; i < n; i++) {
        printf "%.3f %.3f %.1f\n%s\n", 935000 + (i * 7919) % 295000, 431000 + (i * 104729) % 474000,
               150 + i % 900, (i == n - 1 ? "0" : "1")
    }
}' > "$work/input"
cd "$work"

now_us() { local t=${EPOCHREALTIME/./}; echo "$t"; }

rm -f fi.txt
start=$(now_us)
"$exe" < input > /dev/null
end=$(now_us)
echo "points:                 $points"
awk -v t=$((end - start)) -v n="$points" 'BEGIN { printf "time per point:         %.2f us\n", t / n }'
test "$(wc -l < fi.txt)" -eq $((4 * points))

# Peak memory needs GNU time (-f %M) and the system calls need strace: both
# are Linux tools, and elsewhere these two figures are left out.
if /usr/bin/time -f %M true >/dev/null 2>&1; then
    rm -f fi.txt
    peak=$(/usr/bin/time -f %M "$exe" < input 2>&1 >/dev/null | tail -n 1)
    awk -v k="$peak" -v n="$points" 'BEGIN { printf "peak memory, %d points: %d KiB (%.2f MiB)\n", n, k, k / 1024 }'
fi

if command -v strace >/dev/null; then
    rm -f fi.txt
    strace -f -o trace -e trace=all "$exe" < input > /dev/null
    awk -v n="$points" '
        /^[0-9]+ +write\(1,/ { out++ }
        /^[0-9]+ +write\(3,/ { log_writes++ }
        /openat\(AT_FDCWD, "fi.txt"/ { opens++ }
        /^[0-9]+ +close\(3\)/ { closes++ }
        /^[0-9]+ +read\(0,/ { reads++ }
        /^[0-9]+ +[a-z_0-9]+\(/ { total++ }
        END {
            printf "writes to stdout/point: %.3f\n", out / n
            printf "log writes/point:       %.3f\n", log_writes / n
            printf "fi.txt opens, closes:   %.3f, %.3f per point\n", opens / n, closes / n
            printf "stdin reads/point:      %.4f (64 KiB blocks)\n", reads / n
            printf "other calls/point:      %.4f (start-up and exit, spread over the run)\n",
                   (total - out - log_writes - opens - closes - reads) / n
        }' trace
else
    echo "strace not installed: no system call counts"
fi

# Start-up to exit on empty input: the fastest of 30 runs, each followed by
# a run of /bin/true, so that both see the same state of the machine.
fastest_us() { printf '%s\n' "$@" | sort -n | head -n 1; }
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
echo "start-up to exit:       $ours us (fastest of 30)"
echo "/bin/true:              $truth us (fastest of 30, interleaved)"
awk -v a="$ours" -v b="$truth" 'BEGIN { printf "ratio:                  %.2f\n", a / b }'
