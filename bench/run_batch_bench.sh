#!/usr/bin/env bash
# Measures propdesk-native2ascii on 1,000 native files of 2 KB: -inplace on their folder against a
# loop of 1,000 separate runs that each convert one file onto itself, both from a fresh copy of the
# files before every run, and -check on the same folder. Prints medians and the time per file.
# Usage: bench/run_batch_bench.sh [RUNS]   (needs hyperfine and python3)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
count=1000
build=build-bench
data=bench-data
results=$(mktemp -d)
# The copies live beside the corpus, on the disk the project is on, so that writes cost what they do there.
work=$(mkdir -p "$data" && mktemp -d "$PWD/$data/batch-XXXXXX")
trap 'rm -rf "$results" "$work"' EXIT

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPROPDESK_BUILD_SHELL=OFF \
  -DPROPDESK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target propdesk-native2ascii >/dev/null
cli=$PWD/$build/src/cli/propdesk-native2ascii
[ "$(ls "$data/files" 2>/dev/null | wc -l)" -eq "$count" ] || python3 bench/make_corpus.py --out "$data" --file-set "$count"

fresh="rm -rf $work/files && cp -r $data/files $work/files"
# name|command
cases=("inplace|$cli -inplace $work/files"
       "loop|for f in $work/files/*.properties; do $cli \"\$f\" \"\$f\"; done"
       "check|$cli -check $work/files >/dev/null || true")
for entry in "${cases[@]}"; do
  IFS='|' read -r name command <<<"$entry"
  hyperfine --style none --runs "$runs" --prepare "$fresh" --export-json "$results/$name.json" "$command" \
    >"$results/$name.log" 2>&1 || { cat "$results/$name.log"; exit 1; }
done

python3 - "$results" "$count" <<'PY'
import json, statistics, sys
folder, count = sys.argv[1], int(sys.argv[2])
median = {name: statistics.median(json.load(open(f"{folder}/{name}.json"))["results"][0]["times"])
          for name in ("inplace", "loop", "check")}
print(f"{'case':<10}{'median s':>10}{'ms per file':>13}")
for name, seconds in median.items():
    print(f"{name:<10}{seconds:>10.3f}{seconds / count * 1000:>13.3f}")
print(f"loop / inplace: {median['loop'] / median['inplace']:.1f}x")
PY
