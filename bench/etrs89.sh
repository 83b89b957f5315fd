#!/usr/bin/env bash
# ETRS89 by ČÚZK's method as a user runs it: N points inside the correction
# table's data (X 1050-1150 km, Y 560-760 km, H 150-1050 m), "X Y H" a
# line, from a file to a file, `geochain --table --etrs89`, beside PROJ's
# cs2cs on the same points (EPSG:5514+8357 to EPSG:4937, easting -Y and
# northing -X, the grid pipeline only), fastest of three runs each, in the
# same run. PROJ 9.7.1 or later with ČÚZK's two grids in its data folder
# computes the same method; PROJ_RUN names how to start it (for instance
# "chroot /srv/sid", a Debian development root with proj-bin and the grids
# copied into its /usr/share/proj). Also the largest difference of the
# ETRS89 fi, lambda (on the ground) and h between the two, in metres.
#
# usage: PROJ_RUN="chroot /srv/sid" bench/etrs89.sh [N]     (default 1000000)
set -euo pipefail
cd "$(dirname "$0")/.."
points=${1:-1000000}
run=${PROJ_RUN:-}

cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j2 --target geochain >/dev/null
exe=$PWD/build-bench/geochain

work=$(mktemp -d -p "${PROJ_WORK:-${TMPDIR:-/tmp}}")  # PROJ_WORK: where to work
trap 'rm -rf "$work"' EXIT
awk -v n="$points" 'BEGIN { for (i = 0; i < n; i++)
    printf "%.3f %.3f %.3f\n", 1050000 + (i * 7919) % 100000 + (i % 997) / 997,
                               560000 + (i * 104729) % 200000 + (i % 991) / 991, 150 + i % 900 }' \
    > "$work/points.txt"
awk '{ printf "%.3f %.3f %s\n", -$2, -$1, $3 }' "$work/points.txt" > "$work/en.txt"

fastest() {  # command...: the fastest of three wall times, in seconds
    local best=
    for _ in 1 2 3; do
        local start end
        start=$(date +%s.%N)
        "$@"
        end=$(date +%s.%N)
        best=$(echo "$start $end ${best:-1e9}" | awk '{ t = $2 - $1; print (t < $3 ? t : $3) }')
    done
    echo "$best"
}
ours=$(cd "$work" && fastest sh -c "'$exe' --table --etrs89 points.txt > rows.txt")
echo "geochain --table --etrs89: $(awk -v t="$ours" -v n="$points" 'BEGIN { printf "%.2f s, %.2f us a point", t, t / n * 1e6 }')"
if [ -n "$run" ] || command -v cs2cs >/dev/null; then
    # The points go in and out through the shell's own redirections, so a
    # chroot needs no copy of them.
    proj=$(fastest sh -c "$run cs2cs --only-best -f %.10f EPSG:5514+8357 EPSG:4937 \
        < '$work/en.txt' > '$work/proj.txt'")
    echo "cs2cs: $(awk -v t="$proj" 'BEGIN { printf "%.2f s", t }'); geochain is $(awk -v a="$proj" -v b="$ours" 'BEGIN { printf "%.1f", a / b }') times as fast"
    # Columns of a row: fi_etrs 20, lambda_etrs 21, h_etrs 23.
    paste <(tail -n +2 "$work/rows.txt" | cut -f20,21,23) "$work/proj.txt" | awk '
        { dn = ($1 - $4) * 111200; de = ($2 - $5) * 111200 * cos($4 / 57.29578); dh = $3 - $6
          p = sqrt(dn * dn + de * de); if (p > pos) pos = p; if (dh < 0) dh = -dh; if (dh > h) h = dh }
        END { printf "largest difference from PROJ: %.6f m in position, %.6f m in h\n", pos, h }'
fi
