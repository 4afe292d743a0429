#!/usr/bin/env bash
# Lists every #include that goes from a folder to one that is not below it in the layering the
# README's layout table states (its "uses" column, read transitively), and fails when there is
# one. A folder of the table is matched by the longest prefix, so audio/engine/ is its own folder.
# tests/ and bench/ may use anything and are not checked.
set -euo pipefail
cd "$(dirname "$0")/.."
awk '
  # Table rows: | `folder/` | what it holds | `a/`, `b/` |
  FNR == NR {
    if ($0 !~ /^\| *`[a-z_\/]+\/` *\|/) next
    n = split($0, cell, "|")
    if (n < 5) next
    match(cell[2], /`[a-z_\/]+\/`/)
    folder = substr(cell[2], RSTART + 1, RLENGTH - 2)
    folders[folder] = 1
    rest = cell[4]
    while (match(rest, /`[a-z_\/]+\/`/)) {
      uses[folder, substr(rest, RSTART + 1, RLENGTH - 2)] = 1
      rest = substr(rest, RSTART + RLENGTH)
    }
    next
  }
  function owner(path,   f, best) {
    best = ""
    for (f in folders) if (index(path, f) == 1 && length(f) > length(best)) best = f
    return best
  }
  function below(a, b,   c, key, seen) {  # true when a reaches b through the uses column
    if ((a, b) in uses) return 1
    if ((a, b) in reach) return reach[a, b]
    reach[a, b] = 0  # a cycle in the table reaches nothing through itself
    for (key in uses) {
      split(key, c, SUBSEP)
      if (c[1] == a && below(c[2], b)) { reach[a, b] = 1; return 1 }
    }
    return 0
  }
  /^[ \t]*#[ \t]*include[ \t]*"/ {
    match($0, /"[^"]+"/)
    target = substr($0, RSTART + 1, RLENGTH - 2)
    from = owner(FILENAME); to = owner(target)
    if (from == "" || to == "" || from == to) next
    if (!below(from, to)) {
      printf "%s:%d: %s includes %s, which is not below it\n", FILENAME, FNR, from, target
      bad++
    }
  }
  END {
    for (key in uses) { split(key, c, SUBSEP); if (below(c[2], c[1])) { print "README: " c[1] " and " c[2] " use each other"; bad++ } }
    if (bad) { print bad " include(s) against the layering"; exit 1 }
  }
' README.md $(git ls-files '*.cpp' '*.h' | grep -vE '^(tests|bench)/')
echo "layering: every include goes down"
