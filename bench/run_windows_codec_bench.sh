#!/usr/bin/env bash
# Measures propdesk-native2ascii for Windows (x86_64, under Wine) against the Linux build on the
# benchmark corpora, both directions, as whole processes taking turns in the same run, and checks
# that both write the same bytes. Prints the medians and their ratio; "wine start" is a converter
# run on an empty file, what Wine adds to every process. Usage: bench/run_windows_codec_bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
data=bench-data
results=$(mktemp -d)
WINEPREFIX=$(mktemp -d)
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$results" "$WINEPREFIX"' EXIT

scripts/setup-deps.sh windows
for build in build-bench "build-bench-windows -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake"; do
  # shellcheck disable=SC2086 # the build folder and its options are separate words
  cmake -S . -B $build -G Ninja -DCMAKE_BUILD_TYPE=Release -DPROPDESK_BUILD_SHELL=OFF -DPROPDESK_BUILD_TESTS=OFF >/dev/null
  cmake --build "${build%% *}" --target propdesk-native2ascii >/dev/null
done
python3 bench/make_corpus.py --out "$data" >/dev/null
wineserver -p
timeout 300 wineboot -i >/dev/null 2>&1
: >"$results/empty"

# name|input|options
cases=("wine start|$results/empty|")
for mix in english japanese dense; do
  cases+=("$mix decode|$data/$mix.properties|-reverse" "$mix encode|$data/$mix.native|")
done
for entry in "${cases[@]}"; do
  IFS='|' read -r name input options <<<"$entry"
  for run in $(seq "$runs"); do
    for side in linux windows; do
      if [[ $side == linux ]]; then command=(build-bench/src/cli/propdesk-native2ascii); else
        command=(wine build-bench-windows/src/cli/propdesk-native2ascii.exe); fi
      start=$(date +%s%N)
      # shellcheck disable=SC2086
      "${command[@]}" $options "$input" "$results/$side.out"
      echo "$name|$side|$(( ($(date +%s%N) - start) / 1000000 ))" >>"$results/times"
    done
    [[ $run -gt 1 ]] || cmp "$results/linux.out" "$results/windows.out" || { echo "$name: outputs differ" >&2; exit 1; }
  done
done

python3 - "$results/times" <<'PY'
import collections, statistics, sys
times = collections.defaultdict(list)
for line in open(sys.argv[1]):
    name, side, ms = line.strip().split("|")
    times[name, side].append(int(ms))
print(f"{'case':<18}{'Linux ms':>10}{'Windows ms':>12}{'ratio':>8}")
for name in dict.fromkeys(name for name, _ in times):
    linux, windows = statistics.median(times[name, "linux"]), statistics.median(times[name, "windows"])
    print(f"{name:<18}{linux:>10.0f}{windows:>12.0f}{windows / linux:>8.2f}")
PY
echo "outputs: the same bytes on both sides for every case"
