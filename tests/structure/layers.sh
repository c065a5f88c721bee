#!/usr/bin/env bash
# Layers point down: toolkit, then core (program-wide state and shared
# rules), then rtf (the printouts), then the windows, then app (start-up).
# A file may include files of its own layer and of the layers below it.
# A folder of no layer ranks above every layer: a file of a layer may not
# include from it, and its own files are not checked.
#   tests/structure/layers.sh SRC_DIR
set -euo pipefail
src=${1:?source folder}

# One awk reads every file: a process per include took seconds.
find "$src" \( -name '*.h' -o -name '*.cpp' \) ! -type d |
  LAYERS_SRC=$src awk '
    function rank(layer) {
      if (layer == "toolkit") return 0
      if (layer == "core") return 1
      if (layer == "rtf") return 2
      if (layer == "desk" || layer == "register" || layer == "sheet" || layer == "reports") return 3
      if (layer == "app") return 4
      return 99
    }
    BEGIN { prefix = ENVIRON["LAYERS_SRC"] "/"; status = 0 }
    {
      file = $0
      name = substr(file, 1, length(prefix)) == prefix ? substr(file, length(prefix) + 1) : file
      dir = name
      sub(/\/.*/, "", dir)
      own = rank(dir)
      while ((got = (getline line < file)) > 0) {
        if (line !~ /^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z]*\/.*"/) continue
        target = line
        sub(/^[[:space:]]*#[[:space:]]*include[[:space:]]*"/, "", target)
        sub(/\/.*/, "", target)
        if (target != "" && rank(target) > own) {
          print name " includes a file of " target ", a layer above " dir
          status = 1
        }
      }
      if (got < 0) {
        print "cannot read " name > "/dev/stderr"
        status = 1
      }
      close(file)
    }
    END { exit status }
  '
