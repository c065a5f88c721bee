#!/usr/bin/env bash
# What the build cannot check of the layers. The build keeps widgets out of
# the rules (their library links Qt Core alone); this checks the order of
# the folders, which the build does not see:
#   toolkit, then storage, then core (program-wide state and shared rules),
#   then rtf (the printouts), then ui (what the windows share), then the
#   window folders, then app (start-up).
# A file may include files of its own folder and of the folders below it.
# The window folders (desk, register, sheet, reports) hold each a window's
# model and the window; one includes another's only to open its windows:
# the desk opens the picker, the creation window and the utilities, and the
# utilities open the seller editor. Nothing includes app. A folder of no
# layer ranks above every layer: nothing may include from it, and its own
# files are not checked. Qt's headers are included by class (<QLineEdit>),
# never through their module's folder (<QtWidgets/QLineEdit>), which the
# rules' include path would let through.
#   tests/structure/layers.sh SRC_DIR
set -euo pipefail
src=${1:?source folder}

# One awk reads every file: a process per include took seconds.
find "$src" \( -name '*.h' -o -name '*.cpp' \) ! -type d |
  LAYERS_SRC=$src awk '
    function rank(folder) {
      if (folder == "toolkit") return 0
      if (folder == "storage") return 1
      if (folder == "core") return 2
      if (folder == "rtf") return 3
      if (folder == "ui") return 4
      if (folder == "desk" || folder == "register" || folder == "sheet" || folder == "reports") return 5
      if (folder == "app") return 6
      return 99
    }
    BEGIN {
      prefix = ENVIRON["LAYERS_SRC"] "/"
      status = 0
      opens["desk", "sheet"] = 1
      opens["desk", "register"] = 1
      opens["desk", "reports"] = 1
      opens["reports", "register"] = 1
    }
    {
      file = $0
      name = substr(file, 1, length(prefix)) == prefix ? substr(file, length(prefix) + 1) : file
      dir = name
      sub(/\/.*/, "", dir)
      own = rank(dir)
      while ((got = (getline line < file)) > 0) {
        if (line ~ /^[[:space:]]*#[[:space:]]*include[[:space:]]*<Qt[A-Za-z]+\//) {
          print name " includes a Qt header through its module folder: " line
          status = 1
        }
        if (line !~ /^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z]*\/.*"/) continue
        target = line
        sub(/^[[:space:]]*#[[:space:]]*include[[:space:]]*"/, "", target)
        sub(/\/.*/, "", target)
        if (target == "" || target == dir) continue
        if (rank(target) > own) {
          print name " includes a file of " target ", a layer above " dir
          status = 1
        } else if (own == 5 && rank(target) == 5 && !((dir, target) in opens)) {
          print name " includes a file of " target ", whose windows " dir " does not open"
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
