#!/usr/bin/env bash
# Opens and saves escaped files of 1, 16 and 64 MiB through the document operations and the Qt edit
# view (bench/document_bench.cpp). Every run is a fresh process, as a person's first open after
# starting the editor, so that peak memory is that of one size; sizes (and programs) take turns so
# that a change in the machine's load touches them alike. Prints medians of wall-clock and CPU
# time, of the page faults (first touches of new memory, costly in a virtual machine), and peak
# memory as the process's peak and as its growth over the started, still empty window.
# Usage: [SIZES="16 64"] bench/run_document_bench.sh [RUNS] [OTHER_DOCUMENT_BENCH]
# (default 7 runs of 1, 16 and 64 MiB; needs python3). With OTHER_DOCUMENT_BENCH, a document_bench
# built from another commit runs in turn with this one; it runs the cases that it has.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
read -r -a sizes <<<"${SIZES:-1 16 64}"
# The cases that run in one process; SaveEdited and the Keep cases have a process each, so that
# the peak memory is theirs.
groups=("(Open|Save|TypeAtEnd|ScrollPage)" "SaveEdited" "Keep[A-Za-z]*")
build=build-bench-shell
programs=("this=$build/bench/document_bench")
[[ $# -ge 2 ]] && programs+=("other=$(realpath "$2")")
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPROPDESK_BUILD_BENCH=ON \
  -DPROPDESK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target document_bench >/dev/null
python3 bench/make_corpus.py --out bench-data >/dev/null

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq "$runs"); do
  for size in "${sizes[@]}"; do
    for group in "${!groups[@]}"; do
      for program in "${programs[@]}"; do
        out="$results/${program%%=*}-$size-$run-$group.json"
        QT_QPA_PLATFORM=offscreen "${program#*=}" --benchmark_filter="^${groups[$group]}/$size/" \
          --benchmark_out="$out" --benchmark_out_format=json >/dev/null 2>"$results/stderr" ||
          { cat "$results/stderr"; exit 1; }
        # A program without the group's cases writes no results, or none that count.
        [[ -s $out ]] || rm -f "$out"
      done
    done
  done
done
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$results" <<'PY'
import collections, glob, json, os, statistics, sys
rows = collections.defaultdict(list)
for path in glob.glob(sys.argv[1] + "/*.json"):
    program = os.path.basename(path).split("-")[0]
    for b in json.load(open(path))["benchmarks"]:
        if b.get("error_occurred"):
            sys.exit(f"{b['name']}: {b['error_message']}")
        rows[(b["name"].split("/iterations")[0], program)].append(b)
print(f"{'case':<18}{'program':<9}{'runs':>5}{'wall ms':>10}{'cpu ms':>10}{'page faults':>13}{'peak MiB':>10}"
      f"{'x file':>8}{'growth x file':>15}")
for case, program in sorted(rows, key=lambda k: (int(k[0].split("/")[1]), k)):
    runs = rows[(case, program)]
    median = lambda key: statistics.median(r[key] for r in runs)
    print(f"{case:<18}{program:<9}{len(runs):>5}{median('real_time'):>10.1f}{median('cpu_time'):>10.1f}"
          f"{median('page_faults'):>13.0f}{median('peak_MiB'):>10.1f}{median('peak_x_file'):>8.2f}"
          f"{median('growth_x_file'):>15.2f}")
PY
