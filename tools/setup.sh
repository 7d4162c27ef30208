#!/bin/sh
# Installs every Debian 12 package that building, running and testing the simulator needs.
# Safe to run again: it only calls apt-get when a package is missing.
set -eu

packages="
    cmake g++ make
    qt6-base-dev qt6-translations-l10n
    libbenchmark-dev
    fonts-ipafont-gothic fonts-ipafont-mincho
"

missing=""
for package in $packages; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $package"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    as_root=""
else
    as_root="sudo"
fi
$as_root apt-get update
# shellcheck disable=SC2086 # the package list is meant to split into words
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
