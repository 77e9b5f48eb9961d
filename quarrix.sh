#!/usr/bin/env bash
# The two commands to start with; they need nothing but bash on Debian 12 or Ubuntu:
#
#   ./quarrix.sh run    installs what is missing, builds, and starts Quarrix
#   ./quarrix.sh test   installs what is missing, builds, and runs every test
#
# What is missing is installed with apt-get (through sudo when not run as root); then the
# CMake presets take over. PRESET chooses another preset than dev, JOBS the build jobs.
set -euo pipefail
cd "$(dirname "$0")"

usage() {
  echo "usage: ./quarrix.sh run|test   (PRESET=dev and JOBS=<cores> by default)" >&2
  exit 2
}
[[ $# -eq 1 ]] || usage
command=$1
[[ "$command" == run || "$command" == test ]] || usage
preset=${PRESET:-dev}
jobs=${JOBS:-$(nproc 2>/dev/null || echo 2)}

scripts/install-deps
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "$jobs"
if [[ "$command" == run ]]; then
  exec scripts/run-demo "build/$preset"
fi
exec ctest --preset "$preset" -j "$jobs"
