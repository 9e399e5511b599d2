#!/usr/bin/env bash
# The Debian package as a user meets it: builds lodestar_<version>_amd64.deb with cpack from a
# Release build with the window, installs it with apt-get, runs the installed lodestar-cli (its
# version, a find and a replace in a temporary folder, its manual page and bash completion),
# starts the installed window under Xvfb with a file and waits for its window, then removes the
# package. Every step is bounded by a timeout; the package is removed however the check ends.
#
# Usage: scripts/package-check.sh [BUILD]   (BUILD: the build folder, default build-package;
#        environment: JOBS, the build's threads, default 2). Needs root or sudo for apt-get, and
#        xvfb-run and xdotool for the window (installed when missing).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-package}
sudo=""
[[ $(id -u) -ne 0 ]] && sudo=sudo
step() { echo "== $*"; }
fail() {
    echo "package check FAILED: $*" >&2
    exit 1
}

work=$(mktemp -d)
installed=0
cleanup() {
    if ((installed)); then
        step "removing the package"
        $sudo timeout 300 apt-get remove -y -qq lodestar >/dev/null || echo "could not remove lodestar" >&2
    fi
    rm -rf "$work"
}
trap cleanup EXIT

missing=()
command -v xvfb-run >/dev/null || missing+=(xvfb)
command -v xdotool >/dev/null || missing+=(xdotool)
if ((${#missing[@]})); then
    step "installing ${missing[*]}"
    $sudo timeout 600 apt-get install -y -qq "${missing[@]}" >/dev/null
fi

step "building lodestar and lodestar-cli (Release, with the window) in $build"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DLODESTAR_GUI=ON -DLODESTAR_TESTS=OFF \
    >/dev/null
timeout 3600 cmake --build "$build" -j"${JOBS:-2}" \
    --target lodestar lodestar-cli lodestar_data lodestar_cli_docs >/dev/null

step "cpack -G DEB"
rm -f "$build"/lodestar_*.deb
(cd "$build" && timeout 900 cpack -G DEB >/dev/null)
debs=("$build"/lodestar_*_amd64.deb)
[[ -f "${debs[0]}" ]] || fail "no lodestar_<version>_amd64.deb in $build"
deb=${debs[0]}
echo "$(basename "$deb"):"
dpkg-deb --field "$deb" Package Version Architecture Depends
listing=$(dpkg -c "$deb" | awk '{print $6, $7, $8}')
echo "$listing"
for path in ./usr/bin/lodestar ./usr/bin/lodestar-cli ./usr/lib/lodestar/lib/ml.tmp \
    ./usr/share/man/man1/lodestar.1 ./usr/share/man/man1/lodestar-cli.1 \
    ./usr/share/applications/lodestar.desktop ./usr/share/icons/hicolor/scalable/apps/lodestar.svg \
    ./usr/share/bash-completion/completions/lodestar-cli \
    ./usr/share/zsh/vendor-completions/_lodestar-cli; do
    grep -q "^$path\( \|$\)" <<<"$listing" || fail "the package lacks $path"
done
for runtime in libpcre2-16 libqt6webenginewidgets6 libqt6widgets6; do
    grep -q "$runtime" <<<"$(dpkg-deb --field "$deb" Depends)" || fail "no dependency on $runtime"
done

step "apt-get install $deb"
installed=1
$sudo timeout 900 apt-get install -y -qq "$deb" >/dev/null

step "lodestar-cli as installed"
version=$(timeout 10 lodestar-cli --version)
[[ "$version" == "lodestar-cli $(dpkg-deb --field "$deb" Version)" ]] ||
    fail "lodestar-cli --version says \"$version\""
printf 'width: 12px;\nnone\n' >"$work/a.css"
printf '3px\n' >"$work/b.css"
found=$(cd "$work" && timeout 20 lodestar-cli find '[0-9]+px' .)
[[ "$found" == $'./a.css:1:8:width: 12px;\n./b.css:1:1:3px' ]] || fail "find printed: $found"
timeout 20 lodestar-cli replace '(\d+)px' '$1 em' "$work" >/dev/null
[[ "$(cat "$work/a.css" "$work/bak/a.css")" == $'width: 12 em;\nnone\nwidth: 12px;\nnone' ]] ||
    fail "replace left: $(cat "$work/a.css")"
[[ "$(printf '1px 2px' | timeout 20 lodestar-cli replace px em -)" == "1em 2em" ]] ||
    fail "replace as a filter"
# A machine without man-db still gets the pages; where man is there, it must find them.
for page in lodestar-cli lodestar; do
    compgen -G "/usr/share/man/man1/$page.1*" >/dev/null || fail "no manual page $page(1) installed"
    if command -v man >/dev/null; then
        timeout 20 man -w "$page" >/dev/null || fail "man $page finds no page"
    fi
done
timeout 20 bash -c 'source /usr/share/bash-completion/completions/lodestar-cli &&
    complete -p lodestar-cli' || fail "no bash completion for lodestar-cli"

step "lodestar $work/a.css under Xvfb"
rm -rf "$work/bak"
timeout 180 xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    cd /tmp
    lodestar "$1" >"$2/window.log" 2>&1 &
    window=$!
    found=1
    # The title names the file once the window is up with it. Polled: a window that goes away
    # while xdotool looks at it ends that look with an X error.
    for _ in $(seq 180); do
        if xdotool search --onlyvisible --name "a\.css" >/dev/null 2>&1; then
            found=0
            break
        fi
        sleep 0.5
    done
    ((found == 0)) || xdotool search --onlyvisible --name . getwindowname %@ >&2 2>/dev/null
    kill "$window" 2>/dev/null
    wait "$window" 2>/dev/null
    exit $found
' window "$work/a.css" "$work" || {
    cat "$work/window.log" >&2 || true
    fail "no window titled with a.css appeared"
}
echo "the window showed a.css"

step "apt-get remove lodestar"
$sudo timeout 300 apt-get remove -y -qq lodestar >/dev/null
installed=0
[[ ! -e /usr/bin/lodestar-cli && ! -e /usr/lib/lodestar ]] || fail "files left after the removal"
echo "package check passed: $(basename "$deb")"
