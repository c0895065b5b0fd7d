#!/usr/bin/env bash
# Times the link chooser's walk beside `find -type d` on the same generated
# tree of 100,000 directories, in the same run, and prints a table. The goal
# is a walk within 1.5 times find's time. Both are timed as whole processes,
# warm cache, best of several rounds taken alternately.
#   bench/walk/run-walk-bench.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/bench}
rounds=${2:-5}
count=100000
tree=$build/walk-tree

if [[ ! -x $build/bench/walk/walk_tree ]]; then
  cmake --preset bench >/dev/null
  cmake --build --preset bench --target walk_tree >/dev/null
fi
walker=$build/bench/walk/walk_tree

if [[ ! -f $tree.done ]]; then
  rm -rf "$tree"
  echo "Making a tree of $count directories in $tree ..." >&2
  "$walker" make "$tree" "$count" >/dev/null
  touch "$tree.done"
fi

now_us() { echo $(( $(date +%s%N) / 1000 )); }

# Runs "$@" once, prints its wall time in microseconds; its output goes to $out.
time_us() {
  local start end
  start=$(now_us)
  "$@" >"$out"
  end=$(now_us)
  echo $(( end - start ))
}

out=$(mktemp)
trap 'rm -f "$out"' EXIT

find "$tree" -type d >/dev/null  # warm the cache
best_find=; best_walk=
for ((round = 0; round < rounds; ++round)); do
  t=$(time_us find "$tree" -type d)
  find_dirs=$(wc -l <"$out")
  [[ -z $best_find || $t -lt $best_find ]] && best_find=$t
  t=$(time_us "$walker" walk "$tree")
  walk_dirs=$(cat "$out")
  [[ -z $best_walk || $t -lt $best_walk ]] && best_walk=$t
done

ratio=$(awk -v w="$best_walk" -v f="$best_find" 'BEGIN { printf "%.2f", w / f }')
verdict=$(awk -v r="$ratio" 'BEGIN { print (r <= 1.5 ? "met" : "missed") }')
printf '%-14s %12s %12s %8s\n' "tool" "directories" "best ms" "ratio"
printf '%-14s %12s %12.1f %8s\n' "find -type d" "$find_dirs" "$(awk -v t="$best_find" 'BEGIN{print t/1000}')" "1.00"
printf '%-14s %12s %12.1f %8s\n' "walk" "$walk_dirs" "$(awk -v t="$best_walk" 'BEGIN{print t/1000}')" "$ratio"
echo "Goal: walk within 1.5x of find (best of $rounds rounds): $verdict"
