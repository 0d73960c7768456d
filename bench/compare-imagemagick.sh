#!/bin/sh
# Times vezodev-render against ImageMagick's convert drawing the same logos: green
# gradient text (#008000 to #00FF00, top to bottom) on white in Liberation Serif Bold
# (what "Times New Roman" resolves to), written as 24-bit BMP. A small logo (the
# window's default, 29 px) and a large one (400 px, about 4000 x 600) run in one
# hyperfine session, and the ratios convert / vezodev-render are printed.
#
# Targets: small at least 2.5x, large at least 5x, batch at least 30x faster per logo
# than one convert a logo; each line says whether it is met.
#
# Usage: bench/compare-imagemagick.sh [vezodev-render] [runs]
# Needs hyperfine and ImageMagick's convert, which is timed by its full path so that no
# other program named convert earlier on PATH is timed instead.
set -eu

RENDER=${1:-build/bin/vezodev-render}
CONVERT=/usr/bin/convert
RUNS=${2:-40}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# vezodev-render: mix B ORs the gradient into the text layer, so black letters take
# the gradient and the white background stays white.
SMALL_ARGS="--bg 0xFFFFFF --mix B"
LARGE_TEXT="Vezodev gradient logos"
LARGE_ARGS="--bg 0xFFFFFF --mix B --font-height 400 --hspace 22 --vspace 78"

SMALL_SIZE=$("$RENDER" $SMALL_ARGS --print-size | tr -d ' ')
LARGE_SIZE=$("$RENDER" $LARGE_ARGS --text "$LARGE_TEXT" --print-size | tr -d ' ')

# convert: the same size, the gradient lightened through black-on-white text drawn
# without anti-aliasing (as vezodev-render draws it) with its top-left at the margins.
im_command() { # size em hspace vspace text output
    echo "$CONVERT -size $1 gradient:#008000-#00FF00 ( -size $1 xc:white +antialias" \
         "-font Liberation-Serif-Bold -pointsize $2 -fill black -gravity NorthWest" \
         "-annotate +$3+$4 '$5' ) -compose Lighten -composite -type TrueColor BMP3:$6"
}

VZ_SMALL="$RENDER $SMALL_ARGS -o $WORK/vz-small.bmp"
IM_SMALL=$(im_command "$SMALL_SIZE" 29 0 0 Vezodev "$WORK/im-small.bmp")
VZ_LARGE="$RENDER $LARGE_ARGS --text '$LARGE_TEXT' -o $WORK/vz-large.bmp"
IM_LARGE=$(im_command "$LARGE_SIZE" 400 22 78 "$LARGE_TEXT" "$WORK/im-large.bmp")

# Batch mode: BATCH small logos of different texts in one process.
BATCH=50
i=0
while [ $i -lt $BATCH ]; do
    echo "$SMALL_ARGS --text 'Vezodev $i' -o $WORK/batch-$i.bmp"
    i=$((i + 1))
done > "$WORK/batch.txt"
VZ_BATCH="$RENDER --batch $WORK/batch.txt"

echo "small logo $SMALL_SIZE, large logo $LARGE_SIZE, batch of $BATCH small logos"
# -N runs each command without a shell, so the shell's start-up is not timed.
hyperfine -N --warmup 3 --runs "$RUNS" --export-csv "$WORK/times.csv" \
    -n vz-small "$VZ_SMALL" -n im-small "$IM_SMALL" \
    -n vz-large "$VZ_LARGE" -n im-large "$IM_LARGE" \
    -n vz-batch "$VZ_BATCH"

for name in small large; do
    # Both tools must have written a 24-bit BMP of the same size.
    vz=$(/usr/bin/identify -format '%wx%h %[bit-depth]' "$WORK/vz-$name.bmp")
    im=$(/usr/bin/identify -format '%wx%h %[bit-depth]' "$WORK/im-$name.bmp")
    [ "$vz" = "$im" ] || echo "warning: $name logos differ: vezodev-render $vz, convert $im" >&2
done

# The CSV holds command,mean,stddev,median,user,system,min,max in seconds.
awk -F, -v batch="$BATCH" '
    NR > 1 { median[$1] = $4 }
    END {
        printf "median ms: vz-small %.2f  im-small %.2f  vz-large %.2f  im-large %.2f\n",
            1000 * median["vz-small"], 1000 * median["im-small"], 1000 * median["vz-large"], 1000 * median["im-large"]
        small = median["im-small"] / median["vz-small"]
        large = median["im-large"] / median["vz-large"]
        perLogo = median["im-small"] / (median["vz-batch"] / batch)
        printf "convert / vezodev-render: small %.2f (target 2.5: %s), large %.2f (target 5: %s)\n",
            small, (small >= 2.5 ? "met" : "NOT met"), large, (large >= 5 ? "met" : "NOT met")
        printf "batch: %.2f ms a logo; one convert a logo / batch a logo: %.1f (target 30: %s)\n",
            1000 * median["vz-batch"] / batch, perLogo, (perLogo >= 30 ? "met" : "NOT met")
    }' "$WORK/times.csv"
