#!/usr/bin/env bash
# Times Morlend's cutting run against `split -b SIZE -d -a 6` on the same source, on the same
# file system, and prints the median of each, the ratio ours / split and our peak memory. Beside
# them it times bare_cut, which makes the same pieces with one read and one write each and
# nothing else: the floor under our run on this machine.
# With --sparse it cuts a sparse source with Morlend alone and checks that the peak memory
# stays under the piece size plus 64 MiB.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
bench=$repo/build/bench/morlend_bench
bare=$repo/build/bench/bare_cut
source_size=1G
piece_size=1457664
runs=5
sparse=false
warm_up=true
work_parent=$repo/build
keep=false

usage() {
    cat <<EOF
usage: bench/compare.sh [options]
  --source-size SIZE  size of the source: bytes, or with K, M, G (powers of 1024); default 1G
  --piece-size BYTES  size of each piece; default 1457664
  --runs N            rounds of one run of each, taking turns at going first; default 5
  --sparse            memory check: a sparse source, Morlend alone, peak memory against the
                      limit of the piece size plus 64 MiB
  --no-warm-up        time each run right after the one before it, without the untimed
                      bare cut that otherwise comes first (see the README)
  --work DIR          folder in which the source and the pieces are made; default build/
  --bench PATH        the benchmark program; default build/bench/morlend_bench
  --keep              keep the work folder
EOF
}

while (($#)); do
    case $1 in
    --source-size) source_size=$2; shift ;;
    --piece-size) piece_size=$2; shift ;;
    --runs) runs=$2; shift ;;
    --sparse) sparse=true ;;
    --no-warm-up) warm_up=false ;;
    --work) work_parent=$2; shift ;;
    --bench) bench=$2; shift ;;
    --keep) keep=true ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
    esac
    shift
done

source_bytes=$(numfmt --from=iec "$source_size")
for program in "$bench" "$bare"; do
    if [[ ! -x $program ]]; then
        echo "compare.sh: $program is missing; build it with tools/build" >&2
        exit 2
    fi
done
if ((piece_size <= 0 || source_bytes <= 0 || runs <= 0)); then
    echo "compare.sh: sizes and the number of runs must be positive" >&2
    exit 2
fi

mkdir -p "$work_parent"
work=$(mktemp -d "$work_parent/morlend-bench.XXXXXX")
# ext4 without a journal passes over the inodes freed in the last minutes each time it makes
# a file, which would slow the next comparison of thousands of pieces many times over: the
# script notes when it last removed its pieces and lets that time pass first.
removed_stamp=$work_parent/.morlend-bench-removed
settle_time=360
if [[ -f $removed_stamp ]]; then
    wait=$((settle_time - ($(date +%s) - $(stat -c %Y "$removed_stamp"))))
    if ((wait > 0)); then
        echo "waiting ${wait} s for the file system to settle after the last comparison"
        sleep "$wait"
    fi
fi
cleanup() {
    [[ $keep == true ]] && return
    rm -rf "$work"
    sync
    touch "$removed_stamp"
}
trap cleanup EXIT

source=$work/source.bin
pieces=$(((source_bytes + piece_size - 1) / piece_size))
if [[ $sparse == true ]]; then
    truncate -s "$source_bytes" "$source"
    echo "source: $source_size sparse ($source_bytes bytes), $pieces pieces of $piece_size bytes"
else
    head -c "$source_bytes" /dev/urandom >"$source"
    # Both tools read the source from memory, not from the disk.
    cat "$source" >/dev/null
    echo "source: $source_size in the page cache ($source_bytes bytes), $pieces pieces of" \
        "$piece_size bytes"
fi

now() { date +%s.%N; }
elapsed() { awk -v s="$1" -v e="$2" 'BEGIN { printf "%.3f", e - s }'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END {
    printf "%.3f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
field() { awk -v k="$1" '$1 == k { print $2 }' <<<"$2"; }
mib() { awk -v k="$1" 'BEGIN { printf "%.1f", k / 1024 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

# Each run starts on a settled disk, without another's files to write back. The pieces are
# emptied and put aside rather than removed until the end: ext4 passes over the inodes freed in
# the last minutes when it makes a file, so making thousands of files right after removing
# thousands would cost either tool many times the work itself. Emptied, they give back their
# memory and disk space as a removal would.
settled=0
settle() {
    if [[ -d $work/out ]]; then
        find "$work/out" -type f -exec truncate -s 0 {} +
        mv "$work/out" "$work/done.$((++settled))"
    fi
    sync
}

# On a virtual machine that hands free memory back to its host, a run of large writes is fast
# or slow by what ran just before it: the page cache that a run of large writes frees stays in
# the guest for a moment and serves the next such run at full speed, while memory already
# handed back comes back page by page. So that no run gains from the one before it, each timed
# run follows the same untimed one, a bare cut whose pieces are then emptied. The sparse
# memory check needs no such start.
warm_up() {
    [[ $warm_up == true && $sparse == false ]] || return 0
    "$bare" "$source" "$piece_size" "$work/out"
    settle
}

# Once for each of ours and bare, untimed: the pieces in order are the source.
check_pieces() {
    if ! (cd "$work/out" && seq -f 'source.bin.%.0f' 1 "$pieces" | xargs -d '\n' cat) \
        | cmp -s - "$source"; then
        echo "compare.sh: $1's pieces differ from the source" >&2
        exit 1
    fi
}

ours_times=() ours_runs=() split_times=() bare_times=() peaks=()
run_ours() {
    local start end report
    warm_up
    start=$(now)
    report=$("$bench" "$source" "$piece_size" "$work/out" 2>"$work/bench.err") || {
        echo "compare.sh: the run failed:" >&2
        cat "$work/bench.err" - <<<"$report" >&2
        exit 1
    }
    end=$(now)
    ours_times+=("$(elapsed "$start" "$end")")
    ours_runs+=("$(field seconds "$report")")
    peaks+=("$(field peak_kib "$report")")
    ((${#ours_times[@]} > 1)) || check_pieces ours
    echo "  ours  $(printf '%8s' "${ours_times[-1]}") s  (cutting run ${ours_runs[-1]} s," \
        "peak memory $(mib "${peaks[-1]}") MiB)"
    settle
}

run_peer() {
    local name=$1 start end
    shift
    warm_up
    mkdir "$work/out"
    start=$(now)
    (cd "$work/out" && "$@")
    end=$(now)
    local -n times=${name}_times
    times+=("$(elapsed "$start" "$end")")
    echo "  $(printf '%-5s' "$name") $(printf '%8s' "${times[-1]}") s"
}
run_split() {
    run_peer split split -b "$piece_size" -d -a 6 "$source" source.bin.
    settle
}
run_bare() {
    run_peer bare "$bare" "$source" "$piece_size" .
    ((${#bare_times[@]} > 1)) || check_pieces bare
    settle
}

settle
for ((round = 1; round <= runs; ++round)); do
    echo "round $round"
    if [[ $sparse == true ]]; then
        run_ours
        continue
    fi
    # Each takes its turn at going first.
    contestants=(run_ours run_split run_bare)
    for ((turn = 0; turn < 3; ++turn)); do
        "${contestants[(round + turn - 1) % 3]}"
    done
done

peak=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
echo
echo "ours:  median $(median "${ours_times[@]}") s" \
    "(cutting run alone $(median "${ours_runs[@]}") s)"
if [[ $sparse == false ]]; then
    # The user waits on the cutting run, not on the window's start-up; split and bare_cut
    # start in a few milliseconds, so their whole processes stand for their runs.
    run_median=$(median "${ours_runs[@]}")
    split_median=$(median "${split_times[@]}")
    bare_median=$(median "${bare_times[@]}")
    echo "split: median $split_median s"
    echo "bare:  median $bare_median s"
    echo "ratio ours / split: $(ratio "$run_median" "$split_median") for the cutting run" \
        "($(ratio "$(median "${ours_times[@]}")" "$split_median") with our start-up)"
    echo "ratio bare / split: $(ratio "$bare_median" "$split_median")" \
        "(one read and one write a piece, nothing else)"
    echo "ratio ours / bare:  $(ratio "$run_median" "$bare_median")" \
        "(what the window, the progress and the script add to the run)"
fi
limit_kib=$(((piece_size + 64 * 1024 * 1024) / 1024))
echo "peak memory: $(mib "$peak") MiB (piece size + 64 MiB = $(mib "$limit_kib") MiB)"
if ((peak >= limit_kib)); then
    echo "peak memory over the limit" >&2
    exit 1
fi
