#!/usr/bin/env bash
# Opens and saves escaped files of 1, 16 and 64 MiB through the document operations and the Qt edit
# view (bench/document_bench.cpp). Every run is a fresh process, as a person's first open after
# starting the editor, so that peak memory is that of one size; the sizes take turns so that a
# change in the machine's load touches them alike. Prints medians of wall-clock and CPU time, of
# the page faults (first touches of new memory, costly in a virtual machine), and peak memory as
# the process's peak and as its growth over the started, still empty window.
# Usage: bench/run_document_bench.sh [RUNS]   (default 7; needs python3)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
build=build-bench-shell
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPROPDESK_BUILD_BENCH=ON \
  -DPROPDESK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target document_bench >/dev/null
python3 bench/make_corpus.py --out bench-data >/dev/null

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
for run in $(seq "$runs"); do
  for size in 1 16 64; do
    QT_QPA_PLATFORM=offscreen "$build/bench/document_bench" --benchmark_filter="/$size/" \
      --benchmark_out="$results/$size-$run.json" --benchmark_out_format=json >/dev/null 2>"$results/stderr" ||
      { cat "$results/stderr"; exit 1; }
  done
done
echo "load after:  $(cut -d' ' -f1-3 /proc/loadavg)"

python3 - "$results" <<'PY'
import collections, glob, json, statistics, sys
rows = collections.defaultdict(list)
for path in glob.glob(sys.argv[1] + "/*.json"):
    for b in json.load(open(path))["benchmarks"]:
        if b.get("error_occurred"):
            sys.exit(f"{b['name']}: {b['error_message']}")
        rows[b["name"].split("/iterations")[0]].append(b)
print(f"{'case':<10}{'runs':>5}{'wall ms':>10}{'cpu ms':>10}{'page faults':>13}{'peak MiB':>10}{'x file':>8}"
      f"{'growth x file':>15}")
for name in sorted(rows, key=lambda n: (int(n.split("/")[1]), n)):
    runs = rows[name]
    median = lambda key: statistics.median(r[key] for r in runs)
    print(f"{name:<10}{len(runs):>5}{median('real_time'):>10.1f}{median('cpu_time'):>10.1f}{median('page_faults'):>13.0f}"
          f"{median('peak_MiB'):>10.1f}{median('peak_x_file'):>8.2f}{median('growth_x_file'):>15.2f}")
PY
