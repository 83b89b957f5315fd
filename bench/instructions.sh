#!/usr/bin/env bash
# Instructions a point under callgrind: 4,000 territory points from a file
# to /dev/null, less a run on empty input, so that start-up does not count.
# Instructions, unlike times, are the same on every run of the same binary.
#
# usage: bench/instructions.sh COMMAND [ARGS...]
#   bench/instructions.sh --check GEOCHAIN
#        the report's and the table's figures against bench/README.md: each
#        at most 10% over the figure written there, or the exit status is 1.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk 'BEGIN { for (i = 0; i < 4000; i++)
    printf "%.3f %.3f %.1f\n", 1000000 + (i * 7919) % 200000, 480000 + (i * 104729) % 400000,
           150 + i % 900 }' > "$work/points.txt"

per_point() {  # command words
    local sample empty
    sample=$(cd "$work" && valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" \
        < points.txt 2>&1 >/dev/null | awk '/Collected/ { print $NF }')
    empty=$(cd "$work" && valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" \
        < /dev/null 2>&1 >/dev/null | awk '/Collected/ { print $NF }')
    echo $(((sample - empty) / 4000))
}

absolute() { case $1 in */*) echo "$(cd "$(dirname "$1")" && pwd)/$(basename "$1")" ;; *) echo "$1" ;; esac; }
if [ "${1:-}" != --check ]; then
    command=$(absolute "$1")
    shift
    per_point "$command" "$@"
    exit
fi
exe=$(absolute "$2")
status=0
for path in report table; do
    figure=$(awk -F'|' -v p="$path" '$2 ~ "^ *" p " *$" { gsub(/[ ,]/, "", $3); print $3 }' \
        "$here/README.md")
    if [ "$path" = table ]; then now=$(per_point "$exe" --table); else now=$(per_point "$exe"); fi
    limit=$((figure + figure / 10))
    echo "instructions a point, $path: $now (bench/README.md: $figure, at most $limit)"
    [ "$now" -le "$limit" ] || status=1
done
exit $status
