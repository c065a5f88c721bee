#!/usr/bin/env bash
# Window code talks to its controls in the toolkit's words (Text, SetText,
# Visible, SetVisible, Enabled, SetEnabled, SetFocus), never through the Qt
# call beside them, which may read something else (a masked field's text()).
# Prints every line that does, and fails when there is one.
#   tests/structure/vocabulary.sh SRC_DIR
set -euo pipefail
src=${1:?source folder}

twins='(->|\.)(setText|text|setVisible|isVisible|isHidden|hide|show|setEnabled|setDisabled|isEnabled|setFocus|hasFocus|clearFocus)\('

status=0
for dir in desk register sheet reports; do
  [ -d "$src/$dir" ] || continue
  while IFS= read -r hit; do
    echo "${hit#"$src"/}: the toolkit's call, not Qt's"
    status=1
  done < <(grep -rnE "$twins" "$src/$dir" --include='*.h' --include='*.cpp' || true)
done
exit $status
