#!/usr/bin/env bash
# The set-up scripts as a Mac and as Debian run them, without building anything:
# each runs from a copy of scripts/ with stand-ins for the platform's tools first in
# PATH (uname, xcode-select, brew, dpkg-query, cmake, ctest, cpack and the built
# program), which record how they were called. Checked: scripts/deps prints only
# the settings, every script that builds takes them, finds the program where the
# platform puts it, and keeps its output its own. scripts/fuzz runs two real
# libFuzzer targets, one of which crashes, and must name it and its input.
# Usage: dry_run_test.sh REPOSITORY [CLANG++]  (a clang++ that links -fsanitize=fuzzer;
# without one, scripts/fuzz is left out)
set -euo pipefail
repository=$1 clangxx=${2:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL ($platform): $*"
  failures=$((failures + 1))
}
# expect_same WHAT EXPECTED ACTUAL
expect_same() {
  if [ "$2" != "$3" ]; then
    fail "$1"
    diff <(echo "$2") <(echo "$3") | sed 's/^/    /' || true
  fi
}
# expect_line WHAT FILE LINE: FILE has LINE, whole.
expect_line() {
  grep -qxF -- "$3" "$2" || { fail "$1: no line \"$3\" in"; sed 's/^/    /' "$2"; }
}

# The stand-ins. Each records its name, its arguments and ICU_ROOT (what the build
# sees of scripts/deps) in $log; cmake --build also lays down the program where the
# real build puts it on this platform, and the fuzz preset's targets.
make_tools() {
  mkdir -p "$bin"
  cat >"$bin/record" <<'EOF'
#!/usr/bin/env bash
name=$1
shift
echo "$name $* [ICU_ROOT=${ICU_ROOT:-}]" >>"$DRY_RUN_LOG"
EOF
  cat >"$bin/uname" <<EOF
#!/usr/bin/env bash
case "\${1:-}" in -m) echo arm64 ;; *) echo $platform ;; esac
EOF
  cat >"$bin/xcode-select" <<'EOF'
#!/usr/bin/env bash
echo /Library/Developer/CommandLineTools
EOF
  cat >"$bin/brew" <<'EOF'
#!/usr/bin/env bash
"$(dirname "$0")/record" brew "$@"
case "$1" in
  list) for missing in ${DRY_RUN_BREW_MISSING:-}; do [ "$3" = "$missing" ] && exit 1; done; echo "$3 1.0" ;;
  --prefix) echo "/opt/homebrew/opt/$2" ;;
  install) echo "==> Pouring $2" ;;
esac
EOF
  cat >"$bin/dpkg-query" <<'EOF'
#!/usr/bin/env bash
printf 'install ok installed'
EOF
  cat >"$bin/cmake" <<'EOF'
#!/usr/bin/env bash
"$(dirname "$0")/record" cmake "$@"
[ "$1" = --build ] || { mkdir -p "build/$2"; exit 0; }
preset=$3
if [ "$preset" = fuzz ]; then
  rm -rf build/fuzz/fuzz
  mkdir -p build/fuzz/fuzz
  for target in $DRY_RUN_FUZZ_TARGETS; do cp "$DRY_RUN_FUZZERS/$target" build/fuzz/fuzz/; done
  exit 0
fi
program=build/$preset/app/veltrin
[ "$(uname)" = Darwin ] && program=build/$preset/app/Veltrin.app/Contents/MacOS/Veltrin
mkdir -p "$(dirname "$program")"
cp "$(dirname "$0")/veltrin" "$program"
EOF
  cat >"$bin/veltrin" <<'EOF'
#!/usr/bin/env bash
echo "program $* [at ${0#$PWD/}]" >>"$DRY_RUN_LOG"
case " $* " in *" --json "*) echo '{"id":"0a1b2c3d-0a1b-0a1b-0a1b-0a1b2c3d4e5f"}' ;; esac
EOF
  for tool in apt-get ctest cpack; do
    printf '#!/usr/bin/env bash\n"$(dirname "$0")/record" %s "$@"\n' "$tool" >"$bin/$tool"
  done
  chmod +x "$bin"/*
}

# A repository of the scripts and two captures, so that what they lay down stays here.
make_repository() {
  rm -rf "$repo"
  mkdir -p "$repo/tests/fixtures/captures/first" "$repo/tests/fixtures/captures/second"
  cp -R "$repository/scripts" "$repo/"
  echo 'hw.model: Mac14,6' >"$repo/tests/fixtures/captures/first/sysctl.txt"
  echo 'hw.model: iMacPro1,1' >"$repo/tests/fixtures/captures/second/sysctl.txt"
  : >"$log"
}

# run NAME ARGS…: runs scripts/NAME in the scratch repository; its standard output
# goes to $out, its standard error to $err, its status to $status.
run() {
  status=0
  (cd "$repo" && PATH="$bin:$PATH" DRY_RUN_LOG="$log" "./scripts/$@") >"$out" 2>"$err" || status=$?
}

# Two libFuzzer targets: one that finds nothing, one that crashes on any input.
fuzzers=$work/fuzzers
mkdir -p "$fuzzers"
cat >"$fuzzers/quiet.cpp" <<'EOF'
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t) { return 0; }
EOF
cat >"$fuzzers/crash.cpp" <<'EOF'
#include <cstddef>
#include <cstdint>
#include <cstdlib>
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t*, std::size_t size) {
    if (size > 0) std::abort();
    return 0;
}
EOF
if [ -n "$clangxx" ]; then
  "$clangxx" -fsanitize=fuzzer -o "$fuzzers/a_quiet_fuzz" "$fuzzers/quiet.cpp"
  "$clangxx" -fsanitize=fuzzer -o "$fuzzers/b_crash_fuzz" "$fuzzers/crash.cpp"
else
  echo "no clang++ with libFuzzer: scripts/fuzz is left out"
fi

for platform in Darwin Linux; do
  bin=$work/$platform/bin repo=$work/$platform/repo log=$work/$platform/log
  out=$work/$platform/out err=$work/$platform/err
  make_tools
  export DRY_RUN_FUZZERS=$fuzzers DRY_RUN_FUZZ_TARGETS="a_quiet_fuzz b_crash_fuzz"
  if [ "$platform" = Darwin ]; then
    icu_root=/opt/homebrew/opt/icu4c
    program=app/Veltrin.app/Contents/MacOS/Veltrin
  else
    icu_root=""
    program=app/veltrin
  fi

  # deps: standard output is the settings and nothing else, even while installing.
  make_repository
  DRY_RUN_BREW_MISSING=qt run deps
  if [ "$platform" = Darwin ]; then
    expect_same "deps prints the settings only" "export ICU_ROOT=\"$icu_root\"" "$(cat "$out")"
    expect_line "deps installs what is missing" "$log" "brew install qt [ICU_ROOT=]"
  else
    expect_same "deps prints nothing when all is installed" "" "$(cat "$out")"
  fi

  # test, run, package, screenshots: the settings reach the build; the program is the platform's.
  make_repository
  run test
  expect_same "test status" 0 "$status"
  expect_line "test configures with the settings" "$log" "cmake --preset dev [ICU_ROOT=$icu_root]"
  expect_line "test runs ctest" "$log" "ctest --preset dev --output-on-failure [ICU_ROOT=$icu_root]"

  make_repository
  (unset DISPLAY WAYLAND_DISPLAY; run run --replay tests/fixtures/captures/first)
  summary=""
  [ "$platform" = Linux ] && summary="--summary "
  expect_line "run starts the program" "$log" \
    "program $summary--replay tests/fixtures/captures/first [at build/release/$program]"
  expect_line "run builds with the settings" "$log" \
    "cmake --build --preset release --target veltrin [ICU_ROOT=$icu_root]"

  make_repository
  run package
  expect_same "package status" 0 "$status"
  expect_line "package configures with the settings" "$log" "cmake --preset release [ICU_ROOT=$icu_root]"
  expect_line "package packs" "$log" "cpack --config CPackConfig.cmake [ICU_ROOT=$icu_root]"
  grep -q '^export ' "$out" && fail "package prints the settings"

  make_repository
  run screenshots "$work/$platform/shots"
  expect_same "screenshots status" 0 "$status"
  expect_same "screenshots prints the folders it fills" \
    "$work/$platform/shots/first"$'\n'"$work/$platform/shots/second" "$(cat "$out")"
  for capture in first second; do
    expect_line "screenshots renders $capture" "$log" "program --replay tests/fixtures/captures/$capture/ \
--screenshots $work/$platform/shots/$capture [at build/release/$program]"
  done

  # capture-json builds nothing: it runs the dev build's program, where the platform puts it.
  make_repository
  mkdir -p "$repo/build/dev/$(dirname "$program")"
  cp "$bin/veltrin" "$repo/build/dev/$program"
  run capture-json "$work/$platform/json"
  expect_same "capture-json status" 0 "$status"
  expect_line "capture-json runs the dev program" "$log" \
    "program --replay tests/fixtures/captures/first/ --json [at build/dev/$program]"
  expect_same "capture-json masks the ids" '{"id":"…"}' "$(cat "$work/$platform/json/first.json")"

  # fuzz: a crashing target is named with the input it saved, and the status says so.
  [ -n "$clangxx" ] || continue
  make_repository
  run fuzz 1
  expect_same "fuzz status with a crashing target" 1 "$status"
  grep -q '^== a_quiet_fuzz' "$out" || fail "fuzz did not run a_quiet_fuzz first"
  grep -q '^scripts/fuzz: fuzz target b_crash_fuzz failed (status [1-9][0-9]*)$' "$err" ||
    { fail "fuzz does not name the failed target:"; sed 's/^/    /' "$err"; }
  crash=$(sed -n 's/^scripts\/fuzz: the input that broke it: //p' "$err")
  case "$crash" in
    build/fuzz/findings/b_crash_fuzz/crash-*) [ -s "$repo/$crash" ] || fail "fuzz names $crash, which is empty" ;;
    *) fail "fuzz names no crash input:"; sed 's/^/    /' "$err" ;;
  esac
  if [ "$platform" = Darwin ]; then
    expect_line "fuzz builds with Homebrew's clang" "$log" \
      "cmake --preset fuzz -DCMAKE_CXX_COMPILER=/opt/homebrew/opt/llvm/bin/clang++ [ICU_ROOT=$icu_root]"
  fi
  DRY_RUN_FUZZ_TARGETS=a_quiet_fuzz run fuzz 1
  expect_same "fuzz status when nothing is found" 0 "$status"
done

[ "$failures" -eq 0 ] && echo "dry runs on Darwin and Linux: all checks passed"
[ "$failures" -eq 0 ]
