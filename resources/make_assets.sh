#!/usr/bin/env bash
# Makes the program's built-in assets from nothing but drawing and synthesis
# commands, so they can be remade and changed here:
#   builtin.jpg   the built-in locator picture, 250 x 250, baseline JPEG
#   tarnwick.ico  the application icon, nine sizes from 16 to 256 pixels
#   page.wav      the built-in crossing sound: a short page turn, PCM stereo
#                 44.1 kHz 16-bit, 0.575 s
# Needs ImageMagick and sox (scripts/setup.sh installs both).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A target of warm rings around a white pointer arrow: easy to spot on any
# background, and its centre is where the pointer is.
draw_target() { # SIZE BACKGROUND OUT
  local s=$1 bg=$2 out=$3
  convert -size 1000x1000 "$bg" \
    -fill '#ff7a00' -draw 'circle 500,500 500,30' \
    -fill '#fff4e0' -draw 'circle 500,500 500,120' \
    -fill '#ff7a00' -draw 'circle 500,500 500,200' \
    -fill '#fff4e0' -draw 'circle 500,500 500,285' \
    -fill '#e0301e' -draw 'circle 500,500 500,370' \
    -fill white -stroke '#202020' -strokewidth 22 \
    -draw 'polygon 500,500 500,820 578,745 632,860 692,832 638,718 742,712' \
    -resize "${s}x${s}" "$out"
}

draw_target 250 'radial-gradient:#fffdf6-#ffd9a0' "$work/builtin.png"
convert "$work/builtin.png" -strip -interlace none -sampling-factor 2x2 -quality 90 builtin.jpg

draw_target 256 xc:none "$work/icon.png"
convert "$work/icon.png" -define icon:auto-resize=256,128,64,48,40,32,24,20,16 tarnwick.ico

# Two quick swishes of band-limited noise: paper sliding, then settling.
sox -n -r 44100 -c 2 -b 16 "$work/swish1.wav" synth 0.32 pinknoise band -n 3200 2400 \
  fade q 0.03 0.32 0.22 gain -4
sox -n -r 44100 -c 2 -b 16 "$work/swish2.wav" synth 0.255 pinknoise band -n 1800 1600 \
  fade q 0.02 0.255 0.2 gain -9
sox "$work/swish1.wav" "$work/swish2.wav" -e signed-integer page.wav
echo "made builtin.jpg, tarnwick.ico and page.wav"
