#!/usr/bin/env bash
# Prints deb822 deb-src stanzas for every Debian suite apt is configured with (deb822 and
# one-line sources alike), so source packages come from the same archive as the binaries.
set -euo pipefail
shopt -s nullglob
{
  for f in /etc/apt/sources.list.d/*.sources; do
    awk 'BEGIN{RS=""; FS="\n"}
         /(^|\n)Types:[^\n]*deb/ && /debian/ {
           uris=""; suites=""; comps=""; key=""
           for (i = 1; i <= NF; i++) {
             if ($i ~ /^URIs:/) uris=$i
             if ($i ~ /^Suites:/) suites=$i
             if ($i ~ /^Components:/) comps=$i
             if ($i ~ /^Signed-By:/) key=$i
           }
           if (uris != "" && suites != "") print uris "\t" suites "\t" comps "\t" key
         }' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    awk '$1 == "deb" && $0 ~ /debian/ {
           i = 2; if ($2 ~ /^\[/) { while ($i !~ /\]$/) i++; i++ }
           comps=""; for (j = i + 2; j <= NF; j++) comps = comps " " $j
           print "URIs: " $i "\tSuites: " $(i+1) "\tComponents:" comps "\t"
         }' "$f"
  done
} | sort -u | while IFS=$'\t' read -r uris suites comps key; do
  printf 'Types: deb-src\n%s\n%s\n%s\n' "$uris" "$suites" "${comps:-Components: main}"
  [ -n "$key" ] && printf '%s\n' "$key"
  echo
done
