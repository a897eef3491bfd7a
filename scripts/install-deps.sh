#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, but only when one is missing,
# so a machine that has them all pays nothing.
# Usage: install-deps.sh [package] [package-check] [screen-reader-check]
#   package              adds what building the Debian package needs
#   package-check        adds the tools that check the package (lintian, AppStream, man,
#                        strace to see which files the installed program opens)
#   screen-reader-check  adds what scripts/check-announcement.sh needs: an X server without a
#                        screen, a window manager, a key presser, a session bus, the
#                        accessibility bus and its Python client
set -euo pipefail

packages=(
    build-essential cmake pkg-config
    libgtest-dev libgmock-dev libbenchmark-dev
    qt6-base-dev qt6-svg-dev qt6-translations-l10n
    fonts-liberation fonts-dejavu-core
    icoutils librsvg2-bin binutils-mingw-w64-x86-64 desktop-file-utils
    clang-14 libclang-rt-14-dev clang-format locales
    libminizip-dev zlib1g-dev
    poppler-utils
    python3-fluids
    python3-iapws
)
for group in "$@"; do
    case "$group" in
    package) packages+=(dpkg-dev file) ;;
    package-check) packages+=(lintian appstream man-db groff-base strace) ;;
    screen-reader-check) packages+=(xvfb openbox xdotool dbus-x11 at-spi2-core python3-pyatspi) ;;
    *)
        echo "install-deps.sh: unknown group '$group'" >&2
        exit 2
        ;;
    esac
done

# One query for all of them: it prints the packages dpkg knows, and fails for the others.
declare -A installed=()
while IFS=$'\t' read -r name status; do
    if [ "$status" = "install ok installed" ]; then
        installed[$name]=1
    fi
done < <(dpkg-query -W -f='${Package}\t${Status}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for p in "${packages[@]}"; do
    if [ -z "${installed[$p]:-}" ]; then
        missing+=("$p")
    fi
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing packages: ${missing[*]}"
    if [ "$(id -u)" -eq 0 ]; then
        sudo=()
    elif command -v sudo >/dev/null 2>&1; then
        sudo=(sudo)
    else
        echo "Missing packages (${missing[*]}) and neither root nor sudo is available." >&2
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# A German C locale, so tests can check behaviour under LC_NUMERIC=de_DE.UTF-8.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    if [ -f /etc/locale.gen ] && [ "$(id -u)" -eq 0 ]; then
        sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
        locale-gen >/dev/null
    fi
fi
