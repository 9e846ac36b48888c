#!/usr/bin/env bash
# build.sh <build-dir> [cmake options...]: configures and builds the whole tree.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
dir=$1; shift
cmake -S "$src" -B "$dir" -G Ninja "$@"
cmake --build "$dir" --parallel "$(nproc)"
