#!/bin/sh
# Times vezodev-render against the floors under it, in one hyperfine session, and
# prints four ratios of the medians:
#   --version / /bin/true         what starting the program costs (target: within 2x)
#   convert / a small logo        ImageMagick's convert drawing the same 29 px logo
#                                 (target: at least 4x)
#   convert / a large logo        the same at 400 px, about 1400 x 440, a 1.9 MB file
#                                 (target: at least 6x)
#   a batch of 50 / batch-floor   50 small logos in one vezodev-render beside
#                                 bench/batch-floor.c, a plain C program writing the
#                                 same 50 files with the same sync and renames
#                                 (target: within 1.5x)
# The logo is "Vezodev" in Liberation Serif Bold (what "Times New Roman" resolves to),
# black letters on white lightened by a green gradient (#008000 to #00FF00, top to
# bottom), written as a 24-bit BMP.
#
# vezodev-render makes its file durable before renaming it over the old one, and each of
# the few waits for the disk that takes can cost a scheduler tick (4 ms) when the
# processors are busy with other work; convert never waits. Compare on an idle machine,
# or run the script under a higher priority (nice -n -15) on a shared one.
#
# Usage: bench/compare-imagemagick.sh [vezodev-render] [runs]
# Needs hyperfine and ImageMagick's convert, which is timed by its full path so that no
# other program named convert earlier on PATH is timed instead; so is /bin/true.
set -eu

RENDER=${1:-build/bin/vezodev-render}
CONVERT=/usr/bin/convert
RUNS=${2:-20}
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# hyperfine -N splits each command as a shell would, so '#' starts a comment unless
# it is quoted.
# vezodev-render: mix 2 (SRCPAINT) ORs the gradient into the text layer, so black
# letters take the gradient and the white background stays white.
vz_args() { # height text output
    echo "--text '$2' --font-height $1 --bg '#FFFFFF' --mix 2 -o $3"
}
# convert: black-on-white text lightened by a copy of itself filled with the gradient.
im_command() { # pointsize output
    echo "$CONVERT -background white -fill black -font Liberation-Serif-Bold -pointsize $1 label:Vezodev" \
         "( +clone -sparse-color Barycentric '0,0 #008000 0,%[fx:h-1] #00FF00' )" \
         "-compose Lighten -composite -alpha off -type TrueColor BMP3:$2"
}

VZ_SMALL="$RENDER $(vz_args 29 Vezodev "$WORK/vz-small.bmp")"
IM_SMALL=$(im_command 29 "$WORK/im-small.bmp")
VZ_LARGE="$RENDER $(vz_args 400 Vezodev "$WORK/vz-large.bmp")"
IM_LARGE=$(im_command 400 "$WORK/im-large.bmp")

# Batch mode: BATCH small logos of different texts in one process, as many at a time
# as the machine has processors (the default of --jobs).
BATCH=50
i=0
while [ $i -lt $BATCH ]; do
    vz_args 29 "Vezodev $i" "$WORK/batch-$i.bmp"
    i=$((i + 1))
done > "$WORK/batch.txt"
VZ_BATCH="$RENDER --batch $WORK/batch.txt"

# The floor under the batch: a plain C program that writes the batch's 50 files with
# the same temporary files, sync and renames, and does nothing else.
FLOOR=${FLOOR:-$(dirname "$RENDER")/../bench/batch-floor}
mkdir "$WORK/floor"
$VZ_BATCH >/dev/null
FLOOR_BATCH="$FLOOR $WORK/floor"
i=0
while [ $i -lt $BATCH ]; do
    FLOOR_BATCH="$FLOOR_BATCH $WORK/batch-$i.bmp"
    i=$((i + 1))
done

echo "start, small logo 29 px, large logo 400 px, batch of $BATCH small logos"
hyperfine -N --warmup 3 --runs "$RUNS" --export-csv "$WORK/times.csv" \
    -n vz-version "$RENDER --version" -n true /bin/true \
    -n vz-small "$VZ_SMALL" -n im-small "$IM_SMALL" \
    -n vz-large "$VZ_LARGE" -n im-large "$IM_LARGE" \
    -n vz-batch "$VZ_BATCH" -n floor-batch "$FLOOR_BATCH"

for name in small large; do
    # Both tools must have written a 24-bit BMP (their sizes differ: convert's label
    # measures the text otherwise).
    for tool in vz im; do
        format=$(/usr/bin/identify -format '%m %[bit-depth] %[channels] %wx%h' "$WORK/$tool-$name.bmp")
        echo "$tool-$name: $format"
        case "$format" in
        "BMP3 8 srgb "*) ;;
        *) echo "warning: $tool-$name.bmp is not a 24-bit BMP" >&2 ;;
        esac
    done
done

# The CSV holds command,mean,stddev,median,user,system,min,max in seconds.
awk -F, -v batch="$BATCH" '
    function ratio(name, value, target, atLeast) {
        printf "%-34s %6.2f  (target %s %.1f: %s)\n", name, value, (atLeast ? ">=" : "<="), target,
            ((atLeast ? value >= target : value <= target) ? "met" : "NOT met")
    }
    NR > 1 { median[$1] = $4 }
    END {
        printf "median ms: vz-version %.2f  true %.2f  vz-small %.2f  im-small %.2f  vz-large %.2f  im-large %.2f" \
            "  vz-batch %.2f  floor-batch %.2f\n",
            1000 * median["vz-version"], 1000 * median["true"], 1000 * median["vz-small"], 1000 * median["im-small"],
            1000 * median["vz-large"], 1000 * median["im-large"], 1000 * median["vz-batch"], 1000 * median["floor-batch"]
        ratio("--version / /bin/true", median["vz-version"] / median["true"], 2, 0)
        ratio("convert / vezodev-render, small", median["im-small"] / median["vz-small"], 4, 1)
        ratio("convert / vezodev-render, large", median["im-large"] / median["vz-large"], 6, 1)
        ratio("batch of " batch " / batch-floor", median["vz-batch"] / median["floor-batch"], 1.5, 0)
    }' "$WORK/times.csv"
