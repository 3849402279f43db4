#!/usr/bin/env bash
# Smooth text against a reference renderer, and opaque pictures against what they stand
# for, with Pillow (python3-pil) as the reference:
# - a smooth date line and the same string drawn by Pillow's ImageDraw with the same font
#   file at the same pixel size have close alpha maps: the distance
#   sum |a - b| / sum max(a, b) over the picture, at the best offset of at most 4 pixels
#   each way, is at most 0.15 at 12, 14 and 16 pixels. Our monochrome picture, and the
#   smooth one cut at half coverage, must both be further than that, so the measure tells
#   smooth from jagged. (Pillow hints with the font's own instructions where we hint
#   lightly, as desktops do; at some sizes, 10 and 15 pixels among them, the two snap the
#   x-height to different rows and the distance grows to 0.3.)
# - a picture with a background decodes to exactly the transparent picture laid over
#   that background: monochrome exactly, smooth within one step per channel (rounding);
#   no pixel is transparent and every uncovered pixel is exactly the background;
# - a two-colour picture is no larger than optipng -o7 makes it, plus 10%.
# Exits 77 (skipped) where Pillow is missing.
# Usage: smooth_reference_test.sh path/to/orvendale path/to/png_probe
source "$(dirname "$0")/picture_support.sh"
python=/usr/bin/python3
[ -x $python ] || python=python3
if ! $python -c 'import PIL' 2>/dev/null; then
  echo "Pillow (python3-pil) is not installed: skipped"
  exit 77
fi
day=2008-03-19
font_file=$(fc-match -f '%{file}' 'DejaVu Sans')
text="Wednesday 19 March 2008"
threshold=0.15

# distance OURS SIZE: the alpha-map distance of OURS from Pillow's drawing of $text.
distance() {
  $python - "$1" "$font_file" "$2" "$text" <<'PY'
import sys
from PIL import Image, ImageDraw, ImageFont
ours_path, font_path, size, text = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
ours = Image.open(ours_path).convert("RGBA").getchannel("A")
width, height = ours.size
font = ImageFont.truetype(font_path, size, layout_engine=ImageFont.Layout.BASIC)
room = 4
reference = Image.new("L", (width + 2 * room, height + 2 * room), 0)
ImageDraw.Draw(reference).text((room, room), text, fill=255, font=font)
ours_alpha = list(ours.getdata())
best = 1.0
for dy in range(2 * room + 1):
    for dx in range(2 * room + 1):
        theirs = reference.crop((dx, dy, dx + width, dy + height)).getdata()
        apart = sum(abs(a - b) for a, b in zip(ours_alpha, theirs))
        total = sum(max(a, b) for a, b in zip(ours_alpha, theirs))
        if total:
            best = min(best, apart / total)
print("%.4f" % best)
PY
}
closer() { awk -v a="$1" -v b="$2" 'BEGIN {exit !(a <= b)}'; }

for size in 12 14 16; do
  settings=('[Contents]' 'Type=Date' 'Format=dddd d MMMM yyyy' '[Font]' "Height=-$size")
  render $day "${settings[@]}" 'Smooth=yes'
  cp "$work/out.png" "$work/keep-smooth.png"
  smooth=$(distance "$work/keep-smooth.png" $size)
  render $day "${settings[@]}"
  mono=$(distance "$work/out.png" $size)
  $python -c "
from PIL import Image
picture = Image.open('$work/keep-smooth.png').convert('RGBA')
picture.putalpha(picture.getchannel('A').point(lambda a: 255 if a >= 128 else 0))
picture.save('$work/keep-cut.png')"
  cut=$(distance "$work/keep-cut.png" $size)
  echo "size $size: smooth $smooth, monochrome $mono, smooth cut at half $cut (threshold $threshold)"
  closer "$smooth" $threshold || fail "size $size: smooth text is $smooth from the reference"
  closer "$mono" $threshold && fail "size $size: monochrome text passes at $mono"
  closer "$cut" $threshold && fail "size $size: smooth text cut at half passes at $cut"
done

# over TRANSPARENT OPAQUE R G B TOLERANCE: OPAQUE has no transparent pixel, and is
# TRANSPARENT laid over the colour, channel by channel within TOLERANCE.
over() {
  $python - "$@" <<'PY'
import sys
from PIL import Image
transparent = Image.open(sys.argv[1]).convert("RGBA")
opaque_file = Image.open(sys.argv[2])
opaque = opaque_file.convert("RGBA")
background = tuple(int(v) for v in sys.argv[3:6]) + (255,)
tolerance = int(sys.argv[6])
laid = Image.new("RGBA", transparent.size, background)
laid.alpha_composite(transparent)
problems = []
if opaque.size != transparent.size:
    problems.append("sizes %s and %s" % (opaque.size, transparent.size))
else:
    for (x, y), want, got, under in zip(((x, y) for y in range(opaque.height) for x in range(opaque.width)),
                                        laid.getdata(), opaque.getdata(), transparent.getdata()):
        if got[3] != 255:
            problems.append("(%d, %d) has alpha %d" % (x, y, got[3]))
        elif under[3] == 0 and got != background:
            problems.append("(%d, %d) is %s, not the background" % (x, y, got))
        elif max(abs(a - b) for a, b in zip(want, got)) > tolerance:
            problems.append("(%d, %d) is %s, expected %s" % (x, y, got, want))
        if len(problems) > 3:
            break
print("; ".join(problems) if problems else "ok")
PY
}
calendar=('[Contents]' 'Type=Calendar' 'TodayImage=keep-today.png' '[Text]' 'TodayColor=RGB(0, 200, 0)')
"$probe" make "$work/keep-today.png" png 12 8 80ff8000 || fail "making the today image"
for smooth in no yes; do
  tolerance=$([ $smooth = yes ] && echo 1 || echo 0)
  for background in "255 255 255" "0 0 0" "40 90 160"; do
    read -r r g b <<<"$background"
    render $day "${calendar[@]}" '[Font]' "Smooth=$smooth"
    cp "$work/out.png" "$work/keep-transparent.png"
    render $day "${calendar[@]}" '[Font]' "Smooth=$smooth" '[Image]' "Background=RGB($r, $g, $b)"
    expect "calendar smooth=$smooth on $background" \
      "$(over "$work/keep-transparent.png" "$work/out.png" $r $g $b $tolerance)" ok
  done
done

# Two colours, written as small as optipng -o7 makes them (it may reduce as it likes).
if command -v optipng >/dev/null; then
  for kind in 'Type=Date;Format=dddd d MMMM yyyy' 'Type=Calendar'; do
    IFS=';' read -r -a parts <<<"$kind"
    render $day '[Contents]' "${parts[@]}" '[Image]' 'Background=RGB(255, 255, 255)' \
      '[Text]' 'Color=RGB(0, 0, 0)' 'SundayColor=RGB(0, 0, 0)' 'SaturdayColor=RGB(0, 0, 0)'
    optipng -quiet -o7 -out "$work/keep-optimised.png" "$work/out.png"
    ours=$(stat -c %s "$work/out.png") theirs=$(stat -c %s "$work/keep-optimised.png")
    echo "${parts[0]} on white, two colours: $ours bytes, optipng -o7 $theirs bytes"
    [ $((ours * 10)) -le $((theirs * 11)) ] || fail "${parts[0]}: $ours bytes against optipng's $theirs"
    rm -f "$work/keep-optimised.png"
  done
fi

finish
