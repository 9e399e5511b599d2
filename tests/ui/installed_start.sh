#!/bin/sh
# Installs the build into a fresh prefix, checks the installed tree, and starts both programs
# from their links in <prefix>/bin: the command-line tool does a search, the window (on the
# test display) stays up. The program folder is left as it was installed.
set -eu
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null
folder="$prefix/lib/lodestar"
for f in lodestar lodestar-cli lib/ml.tmp lib/src.tmp lib/syntax.tbl help/index.htm \
         help/examples.htm rep share/applications/lodestar.desktop \
         share/icons/hicolor/scalable/apps/lodestar.svg share/icons/hicolor/48x48/apps/lodestar.png; do
    case $f in share/*) path="$prefix/$f" ;; *) path="$folder/$f" ;; esac
    test -e "$path" || { echo "not installed: $path"; exit 1; }
done
grep -qx 'MimeType=text/plain;text/html;' "$prefix/share/applications/lodestar.desktop"
grep -qx 'Exec=lodestar %f' "$prefix/share/applications/lodestar.desktop"
before=$(cd "$folder" && find . | sort | cksum)

printf 'one two one\n' > "$prefix/a.txt"
"$prefix/bin/lodestar-cli" --count find one "$prefix/a.txt" | grep -q "2 items found" || { echo "cli failed"; exit 1; }

status=0
(cd / && timeout 8 "$prefix/bin/lodestar" > "$prefix/window.log" 2>&1) || status=$?
if [ "$status" -ne 124 ]; then
    echo "the window ended early (exit $status)"
    cat "$prefix/window.log"
    exit 1
fi
after=$(cd "$folder" && find . | sort | cksum)
test "$before" = "$after" || { echo "the program wrote into its folder"; exit 1; }
echo "installed and started"
