#!/usr/bin/env bash
# Times Morlend against `split -b SIZE -d -a 6` and bare_cut on the same source, on the same
# file system, and prints the medians, the ratios and our peak memory: first what a user gets
# (the built program on a virtual X server, driven from outside as the end-to-end suite drives
# it), then the offscreen, in-process diagnostics. `bench/compare.sh --help` lists the options;
# bench/README.md says what the figures depend on.
set -euo pipefail
exec /usr/bin/python3 "$(dirname "$0")/compare.py" "$@"
