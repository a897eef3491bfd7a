#!/usr/bin/env bash
# Builds the Debian package and checks it as a user's machine meets it: lintian, AppStream
# and the man page on the package itself, then a real install, a start of the installed
# program that must load Qt's German texts, its desktop entry and icons, and a purge that must
# leave nothing behind.
# Installs and removes the package on this machine, so it needs root or sudo.
set -euo pipefail
cd "$(dirname "$0")/.."
package_dir=${PACKAGE_DIR:-build-package}

fail() {
    echo "check-package: $*" >&2
    exit 1
}
step() { echo "== $*"; }

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    fail "needs root or sudo to install the package"
fi
export DEBIAN_FRONTEND=noninteractive

bash scripts/install-deps.sh package package-check
rm -f "$package_dir"/kolmaris_*.deb
make package PACKAGE_DIR="$package_dir"
debs=("$package_dir"/kolmaris_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one package in $package_dir"
deb=${debs[0]}

scratch=$(mktemp -d)
installed_by_us=false
cleanup() {
    if $installed_by_us; then
        "${sudo[@]}" apt-get purge -y -qq kolmaris >/dev/null || true
    fi
    rm -rf "$scratch"
}
trap cleanup EXIT

step "lintian"
lintian --fail-on error,warning --display-info "$deb"

step "AppStream and the man page"
dpkg-deb -x "$deb" "$scratch/root"
appstreamcli validate --no-net "$scratch"/root/usr/share/metainfo/*.metainfo.xml
# The tree check also matches the metainfo's launchable against the desktop entry.
appstreamcli validate-tree --no-net "$scratch/root"
man_warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
    man --warnings -E UTF-8 -l -Tutf8 -Z "$scratch/root/usr/share/man/man1/Davudeviredidara.1.gz" \
    2>&1 >/dev/null)
[ -z "$man_warnings" ] || fail "the man page renders with warnings: $man_warnings"

step "install"
if dpkg-query -W -f='${Status}' kolmaris 2>/dev/null | grep -q 'ok installed'; then
    "${sudo[@]}" apt-get purge -y -qq kolmaris
fi
installed_by_us=true
(cd "$package_dir" && "${sudo[@]}" apt-get install -y -qq ./kolmaris_*.deb)
mapfile -t owned < <(dpkg-query -L kolmaris)
for path in "${owned[@]}"; do
    [ -e "$path" ] || fail "listed by the package but not installed: $path"
done

step "start the installed program, with Qt's texts in German"
# Qt's own texts (the input boxes' context menu, the file dialogs) turn English unless the
# program finds Qt's German catalogue; the package must bring it, and the program load it.
dpkg-deb -f "$deb" Depends | grep -qw 'qt6-translations-l10n' ||
    fail "the package does not depend on qt6-translations-l10n"
# A bare environment and a neutral folder, so nothing of the build tree can help it. strace
# lists the files it opens, without changing how it starts.
mkdir -p -m 700 "$scratch/home" "$scratch/runtime"
status=0
(cd / && env -i PATH=/usr/bin:/bin HOME="$scratch/home" XDG_RUNTIME_DIR="$scratch/runtime" \
    LANG=de_DE.UTF-8 QT_QPA_PLATFORM=offscreen \
    strace -f -qq -e trace=openat -o "$scratch/opened" timeout 3 /usr/bin/Davudeviredidara) ||
    status=$?
[ "$status" -eq 124 ] || fail "Davudeviredidara ended within 3 s (exit status $status)"
grep -Eq '/qtbase_de\.qm", [^)]*\) = [0-9]+$' "$scratch/opened" ||
    fail "the installed program does not load Qt's German texts (qtbase_de.qm)"

step "desktop entry and icons"
entry=/usr/share/applications/Davudeviredidara.desktop
desktop-file-validate "$entry"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
PATH=/usr/bin:/bin command -v "$exec_name" >/dev/null || fail "Exec=$exec_name is not on the PATH"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -n "$icon" ] || fail "the desktop entry names no icon"
for size in 16 22 24 32 48 64 128 256; do
    png=/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
    [ -f "$png" ] || fail "no ${size} px icon at $png"
    file -b "$png" | grep -q "PNG image data, $size x $size," || fail "$png is not $size px"
done
[ -f "/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "no scalable icon for $icon"

step "purge"
"${sudo[@]}" apt-get purge -y -qq kolmaris
installed_by_us=false
status=$(dpkg-query -W -f='${Status}' kolmaris 2>/dev/null || true)
case "$status" in
"" | *" not-installed") ;;
*) fail "dpkg still holds kolmaris after the purge: $status" ;;
esac
for path in "${owned[@]}"; do
    if [ -d "$path" ]; then
        # Shared folders such as /usr/share/icons/hicolor stay while another package owns them.
        dpkg-query -S "$path" >/dev/null 2>&1 || fail "left behind: folder $path"
    elif [ -e "$path" ] || [ -L "$path" ]; then
        fail "left behind: $path"
    fi
done

echo "check-package: the package builds, passes lintian and AppStream, installs, starts and purges cleanly"
