#!/bin/sh
# Installs every Debian 12 package that building, running and testing the simulator needs.
# Safe to run again: it only calls apt-get when a package is missing.
set -eu

# Sound: plugins-good decodes and encodes MP3, plugins-bad plays MIDI through FluidSynth
# (fluiddec) with the small General MIDI soundfont. The sanitizer and fuzzing builds of the tests:
# clang, its sanitizer and libFuzzer run-time libraries (libclang-rt-dev) and llvm-symbolizer
# (llvm), which puts file and line into the sanitizers' reports; clang-format checks the sources'
# style. Open data feeds are zip files (libzip). Speech: Open JTalk with its dictionary, and a
# voice from the contrib component. Qt SVG draws the icon's bitmap; the install test validates the
# desktop entry and the AppStream file and builds the Debian package (dpkg-dev and file find the
# libraries' packages). git gets the code. The whole-program benchmark watches the screen and
# sends keys through Xlib, MIT-SHM and XTest. The program reads the font configuration itself
# at its start (fontconfig).
packages="
    git cmake g++ make
    qt6-svg-dev desktop-file-utils appstream dpkg-dev file
    clang libclang-rt-dev llvm clang-format
    qt6-base-dev qt6-translations-l10n libfontconfig-dev
    libbenchmark-dev libzip-dev libx11-dev libxext-dev libxtst-dev
    fonts-ipafont-gothic fonts-ipafont-mincho
    pkg-config libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
    timgm6mb-soundfont
    open-jtalk open-jtalk-mecab-naist-jdic hts-voice-nitech-jp-atr503-m001
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

# The voice is in contrib. Add the component to the machine's own Debian entries (whatever
# mirror they name) rather than writing an archive's address anywhere.
for list in /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] || continue
    grep -q '^URIs:.*debian' "$list" || continue
    $as_root sed -i -E '/^Components:/{/(^|[[:space:]])contrib([[:space:]]|$)/!s/$/ contrib/}' "$list"
done
for list in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$list" ] || continue
    $as_root sed -i -E '/^deb(-src)?[[:space:]].*debian.*[[:space:]]main([[:space:]]|$)/{/[[:space:]]contrib([[:space:]]|$)/!s/[[:space:]]main([[:space:]]|$)/ main contrib\1/}' "$list"
done

$as_root apt-get update
# shellcheck disable=SC2086 # the package list is meant to split into words
$as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $missing
