#!/usr/bin/env bash
# Renders the toolbar pictures and the program icon from their SVG sources in
# resources/. The PNGs and the .ico are committed, so building the program does
# not need the renderer; run this again after changing an SVG.
set -euo pipefail

cd "$(dirname "$0")/.."

missing=()
command -v rsvg-convert >/dev/null || missing+=(librsvg2-bin)
# convert makes the multi-size .ico.
command -v convert >/dev/null || missing+=(imagemagick)
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

pictures=resources/pictures
toolbar=resources/toolbar
icons=resources/icons
mkdir -p "$toolbar"

render() { # svg size png
    rsvg-convert -w "$2" -h "$2" -o "$3" "$1"
}

for svg in "$pictures"/*.svg; do
    name=$(basename "$svg" .svg)
    case "$name" in *@2x) continue ;; esac
    render "$svg" 16 "$toolbar/$name.png"
    # A picture may have its own drawing for 32 px when it needs more detail
    # there; otherwise the 16-unit drawing is simply rendered twice as large.
    big="$pictures/$name@2x.svg"
    [ -f "$big" ] || big=$svg
    render "$big" 32 "$toolbar/$name@2x.png"
done

for size in 16 32 48 64 128 256; do
    render "$icons/tosbel.svg" "$size" "$icons/tosbel-$size.png"
done
# Windows picks the nearest size from the .ico for the taskbar, title bar and
# Explorer; these four cover the usual scales.
convert "$icons/tosbel-16.png" "$icons/tosbel-32.png" "$icons/tosbel-48.png" \
    "$icons/tosbel-256.png" "$icons/tosbel.ico"
