#!/usr/bin/env bash
# The static checks: clang-tidy (.clang-tidy) over every source of ours and
# clazy over the program's Qt code (gui/), both reading one compile database
# made with clang in build-static/ (or $1). Nothing is compiled there: configuring writes the
# database, and moc/uic run directly, because the *_autogen targets would
# first build every library they link. Any finding fails the stage.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=${1:-build-static}
jobs=$(nproc)

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang \
      -DTARNWICK_BUILD_GUI=ON -DTARNWICK_BUILD_TESTS=ON -DTARNWICK_BUILD_BENCH=ON >/dev/null
find "$root/$build" -name AutogenInfo.json -print0 |
    xargs -0 -r -P "$jobs" -I{} sh -c 'cd "${1%/CMakeFiles/*}" && cmake -E cmake_autogen "$1" Debug' _ {}

# Our sources: not third_party/, not what the build folder generates (moc, rcc).
ours="^$root/(common|store|scan|mail|report|editing|viewrules|history|cli|gui|tests|bench)/"
headers="^$root/(common|store|scan|mail|report|editing|viewrules|history|cli|gui|tests|bench)/.*\.h$"

echo "-- clang-tidy"
log=$build/clang-tidy.log
if ! run-clang-tidy -p "$build" -j "$jobs" -quiet -header-filter="$headers" "$ours" >"$log" 2>&1 ||
    grep -qE '(warning|error): ' "$log"; then
    sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E '(warning|error): ' | sort -u
    echo "clang-tidy found the above (whole output in $log)"
    exit 1
fi

echo "-- clazy"
# The program's Qt code under gui/. The GUI tests use Qt as any caller does
# and are left to clang-tidy: clazy's findings there (a copied list, a lambda
# without a context object) cost a test nothing, and clazy there cost about
# 3 s of processor time a file.
python3 - "$build/compile_commands.json" "^$root/gui/" >"$build/qt-sources.txt" <<'PY'
import json, re, sys
ours = re.compile(sys.argv[2])
for entry in json.load(open(sys.argv[1])):
    if ours.match(entry["file"]) and "-DQT_CORE_LIB" in entry["command"]:
        print(entry["file"])
PY
log=$build/clazy.log
status=0
xargs -r -P "$jobs" -n 4 clazy-standalone -p "$build" --checks=level0,level1 --header-filter="$headers" \
    <"$build/qt-sources.txt" >"$log" 2>&1 || status=$?
if [[ $status -ne 0 ]] || grep -qE '(warning|error): ' "$log"; then
    grep -E '(warning|error): ' "$log" | sort -u
    echo "clazy found the above (whole output in $log)"
    exit 1
fi
echo "static checks: no finding"
