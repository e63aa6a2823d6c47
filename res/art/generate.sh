#!/usr/bin/env bash
# Draws the resource art: the fourteen button bitmaps (res/bitmaps/*.bmp), the application
# icon (res/wispfold.ico) and the contact sheet that shows them all (docs/resources.png).
#
# Regenerate with:   bash res/art/generate.sh        (from any directory)
# Needs: ImageMagick 6 (`convert`), python3 (standard library only), fonts-ipafont-gothic.
#
# The results are committed, so a build never runs this script. The inputs are this script,
# pack.py (writes the exact BMP/ICO bytes), icon16.txt (the 16-pixel icon, drawn by hand)
# and icon-colours.txt (the icon's colours in true colour and in the standard 16 colours).
# Nothing depends on the time or on randomness: two runs give byte-identical files.
set -euo pipefail

art="$(cd "$(dirname "$0")" && pwd)"
res="$(dirname "$art")"
root="$(dirname "$res")"
font=/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf
label_font=/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf
for tool in convert python3; do
    command -v "$tool" >/dev/null || { echo "generate.sh: $tool is missing" >&2; exit 1; }
done
for f in "$font" "$label_font"; do
    [ -f "$f" ] || { echo "generate.sh: font $f is missing (fonts-ipafont-gothic)" >&2; exit 1; }
done

# One thread and no OpenCL: ImageMagick's results must not depend on scheduling.
export MAGICK_THREAD_LIMIT=1 MAGICK_OCL_DEVICE=OFF
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
pack() { python3 "$art/pack.py" "$@"; }

# The main dialog paints its background in this colour; the buttons' corners blend into it.
dialog_bg='rgb(251,225,183)'

# ---------------------------------------------------------------------------------------
# Buttons: a rounded face with a vertical gradient, a dark rim and the label in the middle.
# The pressed image is darker, lit from below, with an inner shadow at its top and left
# edge, and its label sits one pixel lower and one to the right.

# theme: light top, lower colour, pressed top, rim, label
declare -A theme=(
    [yes]='#f4fbe8 #9fd07a #6fa84c #3f6e1f #1f3d0a'
    [no]='#fff1ec #ee9d8c #d06a58 #8a3324 #4a1208'
    [side]='#fff8ea #f0b45a #cf8a30 #8a5a22 #4a2a08'
)

# draw_button WIDTH THEME STATE LABEL OUT.rgb  (an empty LABEL draws a plain face)
draw_button() {
    local w=$1 state=$3 label=$4 out=$5 h=39
    local top low press rim ink
    read -r top low press rim ink <<<"${theme[$2]}"
    local r=$((w - 1)) b=$((h - 1)) gradient dx=0 dy=0
    local args=()
    if [ "$state" = up ]; then gradient="$top-$low"; else gradient="$press-$low"; dx=1; dy=1; fi
    args+=(-size "${w}x${h}" "xc:$dialog_bg"
        \( -size "${w}x${h}" "gradient:$gradient" \)
        \( -size "${w}x${h}" xc:black -fill white -draw "roundrectangle 0,0 $r,$b 8,8" \)
        -composite -fill none -strokewidth 1)
    if [ "$state" = up ]; then
        # a light inner rim all round and a faint shade along the bottom: a raised face
        args+=(-stroke 'rgba(255,255,255,0.75)' -draw "roundrectangle 1,1 $((r - 1)),$((b - 1)) 7,7"
            -stroke 'rgba(0,0,0,0.12)' -draw "line 6,$((b - 1)) $((r - 6)),$((b - 1))")
    else
        # an inner shadow that falls from the top-left edge: a face pushed in
        args+=(-stroke 'rgba(60,30,0,0.40)' -strokewidth 2
            -draw "roundrectangle 1.5,1.5 $((r + 3)),$((b + 3)) 7,7"
            -stroke 'rgba(60,30,0,0.18)' -strokewidth 1
            -draw "roundrectangle 3,3 $((r + 3)),$((b + 3)) 6,6")
    fi
    args+=(-stroke "$rim" -strokewidth 1 -draw "roundrectangle 0,0 $r,$b 8,8")
    if [ -n "$label" ]; then
        # a light line under the glyphs lifts them off the face; the thin stroke gives weight
        args+=(-font "$font" -pointsize 18 -gravity center
            -stroke none -fill 'rgba(255,255,255,0.6)' -annotate "+$dx+$((dy + 1))" "$label"
            -stroke "$ink" -strokewidth 0.4 -fill "$ink" -annotate "+$dx+$dy" "$label")
    fi
    convert "${args[@]}" -alpha off -dither None -colors 256 -depth 8 "rgb:$out"
}

# id  file        width  theme  state  label
buttons='
131 help_down    189 side down ヘルプ
132 no_up        134 no   up   いいえ
133 no_down      134 no   down いいえ
134 yes_up       134 yes  up   はい
135 yes_down     134 yes  down はい
136 help_up      189 side up   ヘルプ
137 sites_down   189 side down お勧めサイト
138 spare_1      134 side up   -
139 spare_2      134 side down -
140 sites_up     189 side up   お勧めサイト
141 news_down    189 side down 最新情報
142 news_up      189 side up   最新情報
143 open_up      189 side up   開く
144 open_down    189 side down 開く
'

mkdir -p "$res/bitmaps"
while read -r id file width kind state label; do
    [ -n "$id" ] || continue
    [ "$label" = - ] && label=''
    draw_button "$width" "$kind" "$state" "$label" "$tmp/$file.rgb"
    pack bmp "$tmp/$file.rgb" "$width" 39 "$res/bitmaps/$file.bmp"
done <<<"$buttons"

# ---------------------------------------------------------------------------------------
# Icon: a chocolate-chip cookie with a bite out of it and a small broom sweeping its crumbs.
# 48 and 32 pixels are drawn from one 48-unit drawing; 16 pixels is pixel art (icon16.txt).

colour() { awk -v k="$1" -v c="$2" '$1 == k { print $c }' "$art/icon-colours.txt"; }

# draw_icon SIZE SCHEME(2 = true colour, 3 = 16 colours) ANTIALIAS(-/+) OUT.png
draw_icon() {
    local s=$1 scheme=$2 aa="$3antialias" out=$4
    local E B H C h R Y b
    for k in E B H C h R Y b; do printf -v "$k" '%s' "$(colour "$k" "$scheme")"; done
    local scale
    scale="$(awk -v s="$s" 'BEGIN { printf "%.6f", s / 48 }')"
    local fit="affine $scale,0,0,$scale,0,0"
    local disk='circle 20,21 20,4'
    local bite='circle 35,6 35,13.5 circle 39.5,15 39.5,20.5'
    # cookie minus the bite, then the bite's own rim (kept inside the cookie), then the broom
    convert -size "${s}x${s}" xc:none "$aa" \
        \( -size "${s}x${s}" xc:none "$aa" -draw "$fit stroke $E stroke-width 2.5 fill $B $disk
              stroke none fill $H ellipse 13,13 6,3 -30,210
              fill $C circle 12,23 12,26.2 circle 22,13 22,15.8 circle 24,28 24,31
              circle 30,20 30,22.4 circle 16,33 16,35" \
           \( -size "${s}x${s}" xc:none "$aa" -draw "$fit fill black $bite" \) \
           -compose DstOut -composite \
           \( -size "${s}x${s}" xc:none "$aa" -draw "$fit fill none stroke $E stroke-width 2.5 $bite" \
              \( -size "${s}x${s}" xc:none "$aa" -draw "$fit fill black $disk" \) \
              -compose DstIn -composite \) \
           -compose Over -composite \) \
        -compose Over -composite \
        -draw "$fit stroke $h stroke-width 3.5 stroke-linecap round line 36,33 45,21
              stroke $b stroke-width 1.2 stroke-linecap butt fill $Y polygon 31,34 38,40 33,47 24,47 22,44
              stroke $b stroke-width 1 line 32,37 27,46 line 35,39 30,46.5
              stroke $R stroke-width 3.2 line 31.5,33 38.5,39.5
              stroke none fill $C circle 15,44 15,45.3 circle 19,41.5 19,42.5" \
        "$out"
}

# The standard 16 colours, for snapping the 4-bit drawing exactly onto them.
vga=()
for c in 000000 800000 008000 808000 000080 800080 008080 c0c0c0 \
         808080 ff0000 00ff00 ffff00 0000ff ff00ff 00ffff ffffff; do vga+=("xc:#$c"); done
convert -size 1x1 "${vga[@]}" +append "$tmp/vga16.png"

entries=()
for bpp in 4 8 32; do
    for s in 48 32 16; do
        src="$tmp/icon-$s-$bpp.png"
        if [ "$s" = 16 ]; then
            scheme=true; [ "$bpp" = 4 ] && scheme=vga
            pack pixmap "$art/icon16.txt" "$art/icon-colours.txt" "$scheme" "$tmp/pix.rgba"
            convert -size 16x16 -depth 8 "rgba:$tmp/pix.rgba" "$src"
        elif [ "$bpp" = 4 ]; then
            draw_icon "$s" 3 + "$src"
        else
            draw_icon "$s" 2 - "$src"
        fi
        out="$tmp/icon-$s-$bpp.rgba"
        case $bpp in
        32) convert "$src" -depth 8 "rgba:$out" ;;
        # One bit of transparency (the AND mask); the colours snapped to the palette.
        8) convert "$src" -channel A -threshold 50% +channel -write mpr:img +delete \
               mpr:img -background black -alpha remove -alpha off -dither None -colors 255 \
               \( mpr:img -alpha extract \) -compose CopyOpacity -composite -depth 8 "rgba:$out" ;;
        4) convert "$src" -channel A -threshold 50% +channel -write mpr:img +delete \
               mpr:img -background black -alpha remove -alpha off +dither -remap "$tmp/vga16.png" \
               \( mpr:img -alpha extract \) -compose CopyOpacity -composite -depth 8 "rgba:$out" ;;
        esac
        entries+=("$s:$bpp:$out")
    done
done
pack ico "$res/wispfold.ico" "${entries[@]}"

# ---------------------------------------------------------------------------------------
# Contact sheet: every bitmap at twice its size (normal image left, pressed image right),
# then the nine icon images at four times their size and at their real size, read back
# from the files just written.

tile_label() {  # tile_label TEXT OUT.png
    convert -background "$dialog_bg" -fill '#402000' -font "$label_font" -pointsize 14 \
        "label:$1" "$2"
}
rows=()
for pair in '134 135' '132 133' '136 131' '143 144' '140 137' '142 141' '138 139'; do
    tiles=()
    for id in $pair; do
        read -r _ file width _ state label < <(awk -v i="$id" '$1 == i' <<<"$buttons")
        tile_label "$id  ${file^^}  ($width x 39, $state)" "$tmp/label.png"
        convert "$res/bitmaps/$file.bmp" -scale 200% "$tmp/label.png" -background "$dialog_bg" \
            -gravity center -append -gravity northwest -extent 390x100 "$tmp/tile-$id.png"
        tiles+=("$tmp/tile-$id.png")
    done
    convert "${tiles[@]}" +append "$tmp/row-${#rows[@]}.png"
    rows+=("$tmp/row-${#rows[@]}.png")
done
icon_rows=()
index=0
for bpp in 4 8 32; do
    tiles=()
    for s in 48 32 16; do
        tile_label "${s}x$s  $bpp bpp" "$tmp/label.png"
        convert "$res/wispfold.ico[$index]" -background "$dialog_bg" -flatten -write mpr:icon \
            -scale 400% \( mpr:icon -gravity west -splice 12x0 \) -gravity south +append \
            "$tmp/label.png" -gravity center -append -extent 270x240 "$tmp/icon-tile-$index.png"
        tiles+=("$tmp/icon-tile-$index.png")
        index=$((index + 1))
    done
    convert "${tiles[@]}" +append "$tmp/icon-row-$bpp.png"
    icon_rows+=("$tmp/icon-row-$bpp.png")
done
tile_label 'Bitmaps 131-144 (x2): normal | pressed' "$tmp/title1.png"
tile_label 'Icon IDR_MAINFRAME 128 (x4 and real size), on the dialog colour' "$tmp/title2.png"
mkdir -p "$root/docs"
convert "$tmp/title1.png" "${rows[@]}" "$tmp/title2.png" "${icon_rows[@]}" \
    -background "$dialog_bg" -gravity northwest -append -bordercolor "$dialog_bg" -border 12 \
    -strip -define png:exclude-chunks=date,time "$root/docs/resources.png"

echo "generate.sh: wrote res/bitmaps/*.bmp (14), res/wispfold.ico (9 images), docs/resources.png"
