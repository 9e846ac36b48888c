#!/usr/bin/env bash
# Builds everything and runs every test headless: once as built for users, once with
# AddressSanitizer and UndefinedBehaviorSanitizer. The window tests (label "window") run once more
# on an X server (Xvfb), one at a time, so that no test's window takes another's focus.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
"$src/scripts/install-deps.sh"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for variant in release asan; do
  dir="$src/build-test-$variant"
  opts=(-DCMAKE_BUILD_TYPE=RelWithDebInfo -DTORVANA_WERROR=ON)
  [ "$variant" = asan ] && opts+=(-DTORVANA_SANITIZE=ON -DTORVANA_BENCH=OFF)
  "$src/scripts/build.sh" "$dir" "${opts[@]}"
  echo "== tests ($variant)"
  ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)"
  if [ "$variant" = release ]; then
    echo "== window tests on an X server ($variant)"
    TORVANA_TEST_PLATFORM=xcb xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24" \
      ctest --test-dir "$dir" --label-regex '^window$' --output-on-failure
  fi
done
