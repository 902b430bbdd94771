#!/usr/bin/env bash
# The options `veltrin --help` prints are exactly those of the manual page and of the
# bash and zsh completions, and the completions offer folders after each option that
# takes a DIR. Read at test time, so a new option fails here until it is documented.
# Usage: options_test.sh VELTRIN MANUAL BASH_COMPLETION ZSH_COMPLETION
set -euo pipefail
export LC_ALL=C
veltrin=$1 manual=$2 bash_completion=$3 zsh_completion=$4
failures=0

option_names() { grep -oE -- '--[a-z][a-z-]*' | sort -u; }
expect_same() { # what, expected, actual
  if [ "$2" != "$3" ]; then
    echo "$1 is not as expected (< expected, > found):"
    diff <(echo "$2") <(echo "$3") | grep '^[<>]' || true
    failures=$((failures + 1))
  fi
}

help=$("$veltrin" --help)
options=$(option_names <<<"$help")
folder_options=$(grep -oE -- '--[a-z][a-z-]* DIR' <<<"$help" | cut -d' ' -f1 | sort -u)
[ -n "$options" ] && [ -n "$folder_options" ] || { echo "no options found in --help:"; echo "$help"; exit 1; }

expect_same "the manual page" "$options" "$(LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$manual" | option_names)"

# bash: what Tab offers after "veltrin" and after each folder option.
source "$bash_completion"
complete_words() {
  COMP_WORDS=("$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _veltrin
  printf '%s\n' ${COMPREPLY[@]+"${COMPREPLY[@]}"} | sort
}
expect_same "bash completion" "$options" "$(complete_words veltrin '')"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/a folder" "$scratch/another"
touch "$scratch/a file"
for option in $folder_options; do
  offered=$(cd "$scratch" && complete_words veltrin "$option" 'a')
  expect_same "bash completion after $option" $'a folder\nanother' "$offered"
done

# Files and folders after --diff (a capture is a folder) for both sides and after --report,
# the two formats after --format.
for words in "--diff" "--diff x" "--report"; do
  # shellcheck disable=SC2086 # the words are meant to split
  offered=$(cd "$scratch" && complete_words veltrin $words 'a')
  expect_same "bash completion after $words" $'a file\na folder\nanother' "$offered"
done
expect_same "bash completion after --format" $'html\nmarkdown' "$(complete_words veltrin --format '')"

# zsh: one _arguments entry per option; those with a folder argument complete with _files -/.
expect_same "zsh completion" "$options" "$(grep -oE -- '\)--[a-z][a-z-]*\[' "$zsh_completion" | tr -d ')[' | sort -u)"
expect_same "zsh folder completion" "$folder_options" \
  "$(grep -E -- '_files -/' "$zsh_completion" | grep -oE -- '\)--[a-z][a-z-]*\[' | tr -d ')[' | sort -u)"

[ "$failures" -eq 0 ]
