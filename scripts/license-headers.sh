#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Pictalon developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Puts the copyright and licence lines at the top of every tracked file that lacks them, in the
# comment syntax of its kind, after a first line that must stay first (#!, <?xml, <!DOCTYPE).
# Files that .reuse/dep5 covers are left as they are. Running it again changes nothing.
# Fails, naming them, when files of a kind it does not know lack the lines: give such a file
# the lines by hand or cover it in .reuse/dep5.
set -euo pipefail
cd "$(dirname "$0")/.."

# Spelled in two parts, so that reuse does not take this script's lines for its own.
spdx=SPDX
copyright="$spdx-FileCopyrightText: 2026 Pictalon developers"
licence="$spdx-License-Identifier: GPL-3.0-or-later"

# The path patterns of .reuse/dep5's Files fields (one per line); '*' matches across '/' there,
# as it does in a [[ == ]] pattern.
dep5_patterns() {
  awk '/^Files:/ { files = 1; sub(/^Files:/, ""); print; next }
       /^[^ \t]/ { files = 0 }
       files && /^[ \t]/ { print }' .reuse/dep5 | tr -s ' \t' '\n' | sed '/^$/d'
}
mapfile -t covered < <(dep5_patterns)

is_covered() {
  local pattern
  for pattern in "${covered[@]}"; do
    # shellcheck disable=SC2053  # the pattern is meant to match as a glob
    [[ $1 == $pattern ]] && return 0
  done
  return 1
}

# The comment that opens and closes a line for this file, or nothing when its kind is unknown.
comment_style() {
  case "$1" in
    *.cpp | *.h) echo '// |' ;;
    *.c | *.c.in | *.css | *.js | *.mjs) echo '/* | */' ;;
    *.sh | *.cmake | *CMakeLists.txt | *.desktop | *.list | *.dict | .gitignore) echo '# |' ;;
    *.html | *.xml | *.svg | *.md) echo '<!-- | -->' ;;
    *.1) echo '.\" |' ;;
  esac
}

unknown=()
while IFS= read -r -d '' file; do
  case "$file" in LICENSE | LICENSES/* | .reuse/dep5) continue ;; esac
  [ -f "$file" ] || continue
  is_covered "$file" && continue
  head -n 5 "$file" | grep -q "$spdx-License-Identifier:" && continue
  style=$(comment_style "$file")
  if [ -z "$style" ]; then
    unknown+=("$file")
    continue
  fi
  open=${style%%|*}
  close=${style#*|}
  first=$(head -n 1 "$file")
  # The lines end as the file's own do (the guide keeps CR LF).
  eol=$'\n'
  [[ $first == *$'\r' ]] && eol=$'\r\n'
  header="${open}${copyright}${close}${eol}${open}${licence}${close}${eol}"
  tmp=$(mktemp)
  case "$first" in
    '#!'* | '<?xml'* | '<!DOCTYPE'* | '<!doctype'*)
      { printf '%s\n%s' "$first" "$header"; tail -n +2 "$file"; } >"$tmp" ;;
    *) { printf '%s' "$header"; cat "$file"; } >"$tmp" ;;
  esac
  # Keeps the file's mode (scripts stay executable).
  cat "$tmp" >"$file"
  rm -f "$tmp"
done < <(git ls-files -z)

if ((${#unknown[@]} > 0)); then
  printf 'license-headers.sh: no comment syntax known for %s\n' "${unknown[@]}" >&2
  exit 1
fi
