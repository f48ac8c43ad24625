#!/usr/bin/env bash
# Measures propdesk-native2ascii as a whole process on the benchmark corpora, both directions and
# every mix, beside `cat FILE > /dev/null` in the same run, and prints medians, MB/s of input and
# peak memory (MB/s: 10^6 bytes of input per second of the median). Usage: bench/run_codec_bench.sh [RUNS]   (needs hyperfine and python3)
set -euo pipefail
cd "$(dirname "$0")/.."
for tool in hyperfine python3; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (Debian package $tool)" >&2; exit 1; }
done
runs=${1:-15}
build=build-bench
data=bench-data
results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPROPDESK_BUILD_SHELL=OFF \
  -DPROPDESK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target propdesk-native2ascii >/dev/null
cli=$build/src/cli/propdesk-native2ascii
python3 bench/make_corpus.py --out "$data"

# name|input file|command
cases=()
for mix in english japanese dense; do
  cases+=("$mix cat|$data/$mix.properties|cat $data/$mix.properties"
          "$mix decode|$data/$mix.properties|$cli -reverse $data/$mix.properties"
          "$mix encode|$data/$mix.native|$cli $data/$mix.native")
done

for entry in "${cases[@]}"; do
  IFS='|' read -r name input command <<<"$entry"
  slug=${name// /-}
  # Standard output goes to /dev/null for every command alike.
  hyperfine -N --style none --warmup 3 --runs "$runs" --export-json "$results/$slug.json" "$command" \
    >"$results/$slug.log" 2>&1 || { cat "$results/$slug.log"; exit 1; }
  /usr/bin/time -f %M -o "$results/$slug.rss" $command >/dev/null
  echo "$name|$input|$results/$slug.json|$results/$slug.rss" >>"$results/index"
done

python3 - "$results/index" <<'PY'
import json, os, statistics, sys
rows = [line.rstrip("\n").split("|") for line in open(sys.argv[1])]
cat_median = {}
print(f"{'case':<18}{'median ms':>11}{'min ms':>9}{'MB/s':>9}{'x cat':>8}{'peak RSS MB':>13}")
for name, path, result, rss in rows:
    times = json.load(open(result))["results"][0]["times"]
    median = statistics.median(times)
    mix, what = name.split()
    if what == "cat":
        cat_median[mix] = median
    speed = os.path.getsize(path) / 1e6 / median
    peak = int(open(rss).read().split()[-1]) / 1024
    print(f"{name:<18}{median * 1000:>11.1f}{min(times) * 1000:>9.1f}{speed:>9.0f}{median / cat_median[mix]:>8.2f}"
          f"{peak:>13.1f}")
PY
