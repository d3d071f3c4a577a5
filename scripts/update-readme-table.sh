#!/usr/bin/env bash
# Rewrites the README's decision table (between its two marker lines) from the
# decision code itself.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/build-env.sh
build_preset host decision_table
table="$(build/host/bin/decision_table)"
/usr/bin/python3 - "$table" <<'PY'
import re, sys
table = sys.argv[1] + "\n"
text = open("README.md", encoding="utf-8").read()
begin, end = "<!-- decision table: begin -->\n", "<!-- decision table: end -->"
start, stop = text.index(begin) + len(begin), text.index(end)
open("README.md", "w", encoding="utf-8").write(text[:start] + table + text[stop:])
PY
