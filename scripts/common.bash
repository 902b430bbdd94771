# shellcheck shell=bash
# Sourced by the scripts that build (`. scripts/common.bash` from the repository
# root), so that each takes the build settings and finds the program the same way.
# Like every script here it must run under the /bin/bash of a Mac (bash 3.2).

# Takes the settings scripts/deps prints (on a Mac, where Homebrew's ICU is) into
# this shell; its progress goes to standard error, so nothing else reaches ours.
take_deps_settings() {
  local settings
  settings=$(./scripts/deps)
  eval "$settings"
}

# The veltrin program the preset `$1` builds, where the platform puts it: on a Mac
# inside the application bundle.
veltrin_program() {
  if [ "$(uname)" = Darwin ]; then
    echo "build/$1/app/Veltrin.app/Contents/MacOS/Veltrin"
  else
    echo "build/$1/app/veltrin"
  fi
}
