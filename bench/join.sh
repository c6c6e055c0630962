#!/usr/bin/env bash
# Times `morlend --join` against `cat` of the same pieces into one file, in turns, into fresh
# folders, and prints every run and the medians. `bench/join.sh --help` lists the options;
# bench/README.md says what the figures depend on.
set -euo pipefail
exec /usr/bin/python3 "$(dirname "$0")/join.py" "$@"
