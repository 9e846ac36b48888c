#!/usr/bin/env bash
# Builds Torvana, registers its control libraries, prepares the program folder with a starter
# database when none is there, and starts the program.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
"$src/scripts/install-deps.sh"
"$src/scripts/build.sh" "$src/build" -DCMAKE_BUILD_TYPE=Release -DTORVANA_TESTS=OFF -DTORVANA_BENCH=OFF
bin="$src/build/bin"
home=${TORVANA_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/torvana}
# The folder holds members' addresses and bank details: its owner's alone.
(umask 077 && mkdir -p "$home/temp" "$home/SeqData" "$home/Graphics/bmp")
chmod 700 "$home"
for lib in "$bin"/libLz*.so; do
  [ -e "$lib" ] && "$bin/regsvr" "$lib"
done
if [ ! -e "$home/tv01.mdb" ] && [ -x "$bin/mkdb" ]; then
  "$bin/mkdb" "$home/tv01.mdb"
fi
export TORVANA_HOME="$home"
exec "$bin/torvana" "$@"
