#!/bin/sh
# Regenerates every picture under resources/ from the SVG sources in this folder.
#
# Needs rsvg-convert (librsvg2-bin) and ImageMagick 6 "convert".  The convert
# binary defaults to /usr/bin/convert; set CONVERT=/path/to/convert (and
# RSVG=/path/to/rsvg-convert) to use other copies.
#
# Usage: resources/images/src/render.sh   (may be run from any directory)

set -eu

RSVG=${RSVG:-rsvg-convert}
CONVERT=${CONVERT:-/usr/bin/convert}

for tool in "$RSVG" "$CONVERT"; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "render.sh: required tool not found: $tool" >&2
        exit 1
    fi
done

SRC=$(cd "$(dirname "$0")" && pwd)
IMAGES=$(dirname "$SRC")
RES=$(dirname "$IMAGES")

WORK=$(mktemp -d "${TMPDIR:-/tmp}/scanlet-render.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM

# svg2png SOURCE WIDTH HEIGHT OUTPUT
svg2png() {
    "$RSVG" --width="$2" --height="$3" --format=png --output="$4" "$SRC/$1"
}

# Toolbar and navigation pictures (transparent background, RGBA).
for name in device fileopen save fileprint help info; do
    svg2png "$name.svg" 32 32 "$WORK/$name.png"
    "$CONVERT" "$WORK/$name.png" "PNG32:$IMAGES/$name.png"
done
for name in previous next; do
    svg2png "$name.svg" 18 31 "$WORK/$name.png"
    "$CONVERT" "$WORK/$name.png" "PNG32:$IMAGES/$name.png"
done

# Maker logo for the About window: 24-bit BMP on white, no alpha.
svg2png logo.svg 210 152 "$WORK/logo.png"
"$CONVERT" "$WORK/logo.png" -background white -flatten \
    -alpha off -type TrueColor "BMP3:$IMAGES/logo.bmp"

# Maker colour logo: JPEG on white.
svg2png TARNWELLRU_logo.svg 472 473 "$WORK/TARNWELLRU_logo.png"
"$CONVERT" "$WORK/TARNWELLRU_logo.png" -background white -flatten \
    -alpha off -quality 92 "JPEG:$IMAGES/TARNWELLRU_logo.jpg"

# Maker icon: one 128x128 image; a copy lives beside the program's resources.
svg2png tarnwell.svg 128 128 "$WORK/tarnwell.png"
"$CONVERT" "PNG32:$WORK/tarnwell.png" "ICO:$IMAGES/tarnwell.ico"
cp "$IMAGES/tarnwell.ico" "$RES/tarnwell.ico"

# Letterhead mark for printed reports: grey-only 24-bit BMP, black on white.
svg2png TARNWELL_logo_bw.svg 180 135 "$WORK/TARNWELL_logo_bw.png"
"$CONVERT" "$WORK/TARNWELL_logo_bw.png" -background white -flatten \
    -alpha off -colorspace Gray -type Grayscale "BMP3:$RES/TARNWELL_logo_bw.bmp"

# Application icon.  16 and 24 px have their own simplified drawings so the
# trace stays legible; the larger sizes come from the full drawing.
svg2png scanlet-16.svg 16 16 "$WORK/scanlet-16.png"
svg2png scanlet-24.svg 24 24 "$WORK/scanlet-24.png"
for size in 32 48 256; do
    svg2png scanlet.svg "$size" "$size" "$WORK/scanlet-$size.png"
done
"$CONVERT" \
    "PNG32:$WORK/scanlet-16.png" "PNG32:$WORK/scanlet-24.png" \
    "PNG32:$WORK/scanlet-32.png" "PNG32:$WORK/scanlet-48.png" \
    "PNG32:$WORK/scanlet-256.png" "ICO:$RES/scanlet.ico"
"$CONVERT" "$WORK/scanlet-256.png" "PNG32:$RES/scanlet.png"
cp "$SRC/scanlet.svg" "$RES/scanlet.svg"

echo "render.sh: pictures regenerated under $RES"
