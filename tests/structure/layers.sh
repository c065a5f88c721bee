#!/usr/bin/env bash
# Layers point down: toolkit, then core (program-wide state and shared
# rules), then rtf (the printouts), then the windows, then app (start-up).
# A file may include files of its own layer and of the layers below it.
#   tests/structure/layers.sh SRC_DIR
set -euo pipefail
src=${1:?source folder}

rank() {
  case $1 in
    toolkit) echo 0 ;;
    core) echo 1 ;;
    rtf) echo 2 ;;
    desk | register | sheet | reports) echo 3 ;;
    app) echo 4 ;;
    *) echo 99 ;;
  esac
}

status=0
while IFS= read -r file; do
  dir=${file#"$src"/}
  dir=${dir%%/*}
  own=$(rank "$dir")
  while IFS= read -r target; do
    [ -n "$target" ] || continue
    if [ "$(rank "$target")" -gt "$own" ]; then
      echo "${file#"$src"/} includes a file of $target, a layer above $dir"
      status=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z]*\)\/.*".*/\1/p' "$file")
done < <(find "$src" -name '*.h' -o -name '*.cpp')
exit $status
