#!/usr/bin/env bash
# The layout rule, checked on every tracked source: Qt lives under gui/ (and
# the Qt tests under tests/gui/, the Qt benchmarks under gui/bench/); nothing else
# includes Qt or reaches into gui/; the core folders depend on each other
# without a circle.
set -euo pipefail
cd "$(dirname "$0")/.."

fail=0
outside=(-- '*.cpp' '*.h' ':(exclude)gui/**' ':(exclude)tests/gui/**')
if git grep -n '#include[[:space:]]*<Q' "${outside[@]}"; then
    echo "check-layout: Qt is included outside gui/ (above)" >&2
    fail=1
fi
if git grep -n '#include "gui/' "${outside[@]}"; then
    echo "check-layout: a file outside gui/ includes from gui/ (above)" >&2
    fail=1
fi

# Folder-to-folder include edges of the core, fed to tsort, which reports a loop.
core=(common store scan mail report editing viewrules cli history)
edges=""
for d in "${core[@]}"; do
    [[ -d $d ]] || continue
    for dep in $(git grep -h -o '#include "[a-z]*/' -- "$d" | sed 's/#include "//; s#/$##' | sort -u); do
        [[ $dep == "$d" ]] && continue
        edges+="$dep $d"$'\n'
    done
done
if ! printf '%s' "$edges" | tsort >/dev/null 2>/tmp/check-layout.$$; then
    cat /tmp/check-layout.$$ >&2
    echo "check-layout: the core folders include each other in a circle" >&2
    fail=1
fi
rm -f /tmp/check-layout.$$
exit $fail
