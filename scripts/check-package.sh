#!/usr/bin/env bash
# Checks a built Debian package (./package makes it): its control fields, that
# it holds everything an installed Tarnwick needs, that the desktop entry,
# AppStream data and manual pages pass their validators, that both packaged
# programs tell the project's version, that the packaged desktop program finds
# its guide with /usr/share/doc left out (as minimal systems install), that the
# manual page and bash completion know every command and option
# `tarnwick-cli --help` names, that the debugging symbols of tarnwick-dbgsym
# let gdb name the functions and lines of a core dump, that lintian finds no
# error or warning, and that a clean build of the same sources in another
# folder gives the same bytes.
# Usage: scripts/check-package.sh [PACKAGE.deb]   (default: build-package/tarnwick_*.deb;
#        its tarnwick-dbgsym_*.ddeb is taken from beside it)
# TARNWICK_SKIP_REBUILD=1 leaves out the second build (it takes as long as ./package).
set -euo pipefail
cd "$(dirname "$0")/.."

deb=${1:-$(ls build-package/tarnwick_*.deb)}
ddeb=$(dirname "$deb")/$(basename "$deb" .deb | sed 's/^tarnwick_/tarnwick-dbgsym_/').ddeb
app_id=example.osgrel.Tarnwick
failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

# Control fields. The version is the project's, and the Debian changelog and
# the newest AppStream release name the same one.
field() { dpkg-deb -f "$deb" "$1"; }
project_version=$(sed -n 's/^project(Tarnwick VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[[ $(field Package) == tarnwick ]] || fail "package name '$(field Package)'"
[[ $(field Version) == "$project_version" ]] || fail "version '$(field Version)', project $project_version"
[[ $(dpkg-parsechangelog -l dist/debian/changelog -S Version) == "$project_version" ]] ||
    fail "dist/debian/changelog does not start with $project_version"
newest_release=$(python3 -c 'import sys, xml.etree.ElementTree as t
print(t.parse(sys.argv[1]).find("releases/release").get("version"))' dist/$app_id.metainfo.xml)
[[ $newest_release == "$project_version" ]] || fail "newest AppStream release $newest_release"
# The release date of the metainfo is the changelog's.
newest_date=$(python3 -c 'import sys, xml.etree.ElementTree as t
print(t.parse(sys.argv[1]).find("releases/release").get("date"))' dist/$app_id.metainfo.xml)
changelog_date=$(date -u -d "@$(dpkg-parsechangelog -l dist/debian/changelog -S Timestamp)" +%F)
[[ $newest_date == "$changelog_date" ]] ||
    fail "newest AppStream release of $newest_date, changelog of $changelog_date"
# The screenshot the metainfo names is kept in dist/screenshots/, at its size.
while read -r width height url; do
    shot=dist/screenshots/$(basename "$url")
    file -b "$shot" 2>/dev/null | grep -q "PNG image data, $width x $height," ||
        fail "the AppStream screenshot $url is not dist/screenshots/ at $width x $height"
done < <(python3 -c 'import sys, xml.etree.ElementTree as t
for i in t.parse(sys.argv[1]).iter("image"): print(i.get("width"), i.get("height"), i.text)' \
    dist/$app_id.metainfo.xml)
[[ $(field Maintainer) == *@* ]] || fail "maintainer '$(field Maintainer)'"
[[ -n $(field Section) ]] || fail "no section"
for lib in libqt6widgets6 libcurl4 libc6; do
    [[ $(field Depends) == *"$lib"* ]] || fail "Depends lacks $lib: $(field Depends)"
done

# The file list.
dpkg-deb -x "$deb" "$root"
expected=(
    usr/bin/tarnwick
    usr/bin/tarnwick-cli
    usr/share/tarnwick/guide/Help.html
    usr/share/doc/tarnwick/copyright
    usr/share/doc/tarnwick/changelog.gz
    usr/share/applications/$app_id.desktop
    usr/share/icons/hicolor/scalable/apps/$app_id.svg
    usr/share/icons/hicolor/48x48/apps/$app_id.png
    usr/share/icons/hicolor/128x128/apps/$app_id.png
    usr/share/icons/hicolor/256x256/apps/$app_id.png
    usr/share/metainfo/$app_id.metainfo.xml
    usr/share/man/man1/tarnwick.1.gz
    usr/share/man/man1/tarnwick-cli.1.gz
    usr/share/bash-completion/completions/tarnwick-cli
    usr/share/doc-base/tarnwick.tarnwick-guide
)
shopt -s nullglob
for picture in gui/res/guide/*.png; do
    expected+=("usr/share/tarnwick/guide/$(basename "$picture")")
done
for unit in dist/systemd/*.service.in dist/systemd/*.timer; do
    expected+=("usr/lib/systemd/user/$(basename "$unit" .in)")
done
shopt -u nullglob
for path in "${expected[@]}"; do
    [[ -f $root/$path ]] || fail "the package lacks /$path"
done
for program in tarnwick tarnwick-cli; do
    [[ -x $root/usr/bin/$program ]] || fail "/usr/bin/$program is not executable"
done
grep -qx 'ExecStart=/usr/bin/tarnwick-cli scan .*' "$root/usr/lib/systemd/user/tarnwick-scan.service" ||
    fail "tarnwick-scan.service does not run /usr/bin/tarnwick-cli"


# Each bitmap icon is the size its folder names.
for size in 48 128 256; do
    png=$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [[ -f $png ]] || continue
    file -b "$png" | grep -q "PNG image data, $size x $size," || fail "$png: $(file -b "$png")"
done

# Validators.
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" ||
    fail "desktop-file-validate"
out=$(appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" 2>&1) ||
    { echo "$out" >&2; fail "appstreamcli validate"; }
# The tree as installed: the metainfo's desktop entry and icon are there.
out=$(appstreamcli validate-tree --no-net "$root" 2>&1) ||
    { echo "$out" >&2; fail "appstreamcli validate-tree"; }
for page in tarnwick tarnwick-cli; do
    gz=$root/usr/share/man/man1/$page.1.gz
    lint=$(mandoc -T lint -W warning "$gz" 2>&1) || true
    [[ -z $lint ]] || fail "mandoc -T lint $page.1: $lint"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$gz" 2>&1 >/dev/null) || true
    [[ -z $warnings ]] || fail "man --warnings $page.1: $warnings"
    # The page names the release it documents.
    zcat "$gz" | grep -q "^\.TH .* \"Tarnwick $project_version\" " ||
        fail "$page.1 does not name Tarnwick $project_version"
done

# Both programs tell the project's version, the desktop program without a
# display (as in a bug report written over ssh).
for program in tarnwick tarnwick-cli; do
    told=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --version 2>&1) ||
        fail "$program --version failed: $told"
    [[ $told == "$program $project_version" ]] || fail "$program --version printed: $told"
done

# The packaged tarnwick-cli runs (its libraries are the system's).
cli=$root/usr/bin/tarnwick-cli
if ! help=$("$cli" --help); then
    fail "the packaged tarnwick-cli --help failed"
fi
[[ $help == "Usage: tarnwick-cli "* ]] || fail "tarnwick-cli --help printed: $help"

# The packaged desktop program finds the packaged guide (on Xvfb, driven over
# the accessibility bus), also where /usr/share/doc is not installed (dpkg's
# path-exclude on minimal systems and in containers).
nodoc=$(mktemp -d)
cp -a "$root/." "$nodoc"
rm -rf "$nodoc/usr/share/doc"
if ! /usr/bin/python3 tests/gui/app/e2e_installed_help.py "$nodoc/usr/bin/tarnwick" tests/support/guidrive \
        "$nodoc/usr/share/tarnwick/guide/Help.html"; then
    fail "the packaged tarnwick does not open the packaged guide without /usr/share/doc"
fi
rm -rf "$nodoc"

# Every command and option the help texts name is in the manual page and is
# offered by the completion.
manual=$(MANWIDTH=200 man -l "$root/usr/share/man/man1/tarnwick-cli.1.gz" 2>/dev/null | col -b)
completion=$root/usr/share/bash-completion/completions/tarnwick-cli
complete_words() {  # what is offered for the last of: tarnwick-cli WORDS...
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
             _tarnwick_cli; printf "%s\n" "${COMPREPLY[@]}"' _ "$completion" "$cli" "$@"
}
commands=$(sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p' <<<"$help")
[[ -n $commands ]] || fail "no commands found in tarnwick-cli --help"
offered=$(complete_words "")
for command in $commands; do
    grep -qw -- "$command" <<<"$manual" || fail "tarnwick-cli.1 does not name the command $command"
    grep -qx -- "$command" <<<"$offered" || fail "the completion does not offer $command"
    command_help=$("$cli" "$command" --help) || fail "tarnwick-cli $command --help failed"
    options=$(grep -o -- '--[a-z][a-z-]*' <<<"$command_help" | sort -u || true)
    offered_options=$(complete_words "$command" -)
    for option in $options; do
        grep -q -- "$option" <<<"$manual" || fail "tarnwick-cli.1 does not name $command $option"
        grep -qx -- "$option" <<<"$offered_options" ||
            fail "the completion does not offer $option after $command"
        # An option shown with its values ("--format json|csv") completes them.
        values=$(grep -o -- "$option [a-z|]*[a-z]" <<<"$command_help" | sed "s/^$option //" || true)
        for value in $(tr '|' ' ' <<<"$values" | sort -u); do
            # Not a pipe: grep -q may end before the words are written, and
            # pipefail would take that for a failure.
            grep -qx -- "$value" <<<"$(complete_words "$command" "$option" "")" ||
                fail "the completion does not offer $value after $command $option"
        done
    done
done

# The release binaries carry no .comment section (the C runtime's compiler
# notes) and no symbols of their own; tarnwick-dbgsym holds those.
for program in tarnwick tarnwick-cli; do
    if readelf -S -W "$root/usr/bin/$program" | grep -q ' \.comment '; then
        fail "/usr/bin/$program has a .comment section"
    fi
done
if [[ ! -f $ddeb ]]; then
    fail "no debugging symbols package beside the package ($ddeb)"
else
    dbg() { dpkg-deb -f "$ddeb" "$1"; }
    [[ $(dbg Package) == tarnwick-dbgsym ]] || fail "debug package name '$(dbg Package)'"
    [[ $(dbg Depends) == "tarnwick (= $project_version)" ]] || fail "tarnwick-dbgsym depends on '$(dbg Depends)'"
    sums=$(dpkg-deb -I "$ddeb" md5sums)
    grep -qv '^[0-9a-f]\{32\}  usr/lib/debug/\.build-id/' <<<"$sums" &&
        fail "tarnwick-dbgsym's md5sums name paths outside usr/lib/debug/.build-id/: $sums"
    dpkg-deb -x "$ddeb" "$root"
    for program in tarnwick tarnwick-cli; do
        id=$(readelf -n "$root/usr/bin/$program" | sed -n 's/.*Build ID: \([0-9a-f]*\)/\1/p')
        [[ -f $root/usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug ]] ||
            fail "tarnwick-dbgsym has no /usr/lib/debug/.build-id/${id:0:2}/${id:2}.debug for $program"
    done
    # A core dump of the installed tarnwick-cli, taken in the middle of its
    # work, is read with the symbols: gdb names our functions and their
    # source lines.
    core=$(mktemp -u)
    symbols=(-nx -iex "set debug-file-directory $root/usr/lib/debug")
    gdb -batch "${symbols[@]}" -ex "break tarnwick::cli::runCli" -ex run \
        -ex "generate-core-file $core" -ex kill --args "$root/usr/bin/tarnwick-cli" --version \
        >/dev/null 2>&1 || true
    trace=$(gdb -batch "${symbols[@]}" -ex bt "$root/usr/bin/tarnwick-cli" "$core" 2>&1) || true
    rm -f "$core"
    grep -q 'tarnwick::cli::runCli .* at [./]*cli/CliCommands\.cpp:[0-9]' <<<"$trace" &&
        grep -q ' main .* at [./]*cli/main\.cpp:[0-9]' <<<"$trace" ||
        fail "gdb does not read the core dump of tarnwick-cli with tarnwick-dbgsym: $trace"
    lookup=$(gdb -batch "${symbols[@]}" -ex "info line tarnwick::DesktopCommandLine::answer" \
        "$root/usr/bin/tarnwick" 2>&1) || true
    grep -q 'Line [0-9]* of "[./]*gui/app/DesktopCommandLine\.cpp"' <<<"$lookup" ||
        fail "gdb finds no symbols of tarnwick in tarnwick-dbgsym: $lookup"
fi

# Lintian: no errors or warnings (what it merely notes is listed, not failed).
if ! lintian --fail-on error,warning "$deb"; then
    fail "lintian"
fi
if [[ -f $ddeb ]] && ! lintian --fail-on error,warning "$ddeb"; then
    fail "lintian of tarnwick-dbgsym"
fi

# Reproducible: the same sources, copied to a folder of another name and
# built clean by ./package, give the same bytes.
if [[ ${TARNWICK_SKIP_REBUILD:-} != 1 ]] && ! git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    echo "Not a git checkout: the second build, which copies the checkout's files, is left out" >&2
elif [[ ${TARNWICK_SKIP_REBUILD:-} != 1 ]]; then
    again=$(mktemp -d)
    copy=$again/elsewhere/tarnwick-copy
    mkdir -p "$copy"
    git ls-files -z --cached --others --exclude-standard |
        while IFS= read -r -d '' file; do [[ -e $file ]] && printf '%s\0' "$file"; done |
        xargs -0 cp --parents -a -t "$copy"
    if (cd "$copy" && ./package >/dev/null); then
        for built in "$deb" "$ddeb"; do
            twin=$copy/build-package/$(basename "$built")
            if ! cmp -s "$built" "$twin"; then
                fail "$(basename "$built") differs when built again in another folder"
                mkdir -p "$again/one" "$again/two"
                dpkg-deb -R "$built" "$again/one" && dpkg-deb -R "$twin" "$again/two" &&
                    diff -rq "$again/one" "$again/two" >&2 || true
                rm -rf "$again/one" "$again/two"
            fi
        done
    else
        fail "./package failed in a copy of the sources"
    fi
    rm -rf "$again"
fi

if ((failures > 0)); then
    echo "$deb: $failures check(s) failed" >&2
    exit 1
fi
echo "$deb: control fields, ${#expected[@]} installed files, validators, manual pages, versions," \
     "packaged tarnwick-cli --help, packaged Help without /usr/share/doc, completion, debugging" \
     "symbols, lintian, reproducible build: all good"
