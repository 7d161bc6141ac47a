#!/usr/bin/env bash
# Retakes docs/screenshot.png: the real editor window on a virtual X server, with a short
# word drawn on the canvas by mouse clicks when xdotool is installed (otherwise the empty grid).
#   scripts/take-screenshot.sh [OUTPUT.png]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
output=${1:-$root/docs/screenshot.png}
title="Tarrow Boot Screen Editor"

"$root/scripts/install-deps.sh" --x11
# The editor alone, in the build tree the tests share.
"$root/scripts/build.sh" "$root/build" --target tarrow-boot-screen-editor
editor=$root/build/app/tarrow-boot-screen-editor

work=$(mktemp -d)
xvfb_pid=
editor_pid=
cleanup() {
    local pid
    for pid in $editor_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
    rm -f "$output.partial.png"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number to the file descriptor we give it.
Xvfb -displayfd 3 -screen 0 640x720x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$work/xvfb.log" >&2; exit 1; }
    sleep 0.1
done
[ -s "$work/display" ] || { echo "take-screenshot: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY

# Started in the scratch folder, as file dialogs open in the current directory.
(cd "$work" && QT_QPA_PLATFORM=xcb exec "$editor") 2>"$work/editor.log" &
editor_pid=$!

window=
for _ in $(seq 300); do
    kill -0 "$editor_pid" 2>/dev/null || { cat "$work/editor.log" >&2; exit 1; }
    # Each listing is taken whole before it is searched: a reader that stops at its first match
    # may leave xwininfo to die of SIGPIPE, which pipefail reports as a failure.
    tree=$(xwininfo -root -tree 2>/dev/null) || tree=
    window=$(awk -v t="\"$title\":" 'index($0, t) { print $1; exit }' <<<"$tree")
    [ -n "$window" ] && [[ $(xwininfo -id "$window" 2>/dev/null) == *'Map State: IsViewable'* ]] &&
        break
    window=
    sleep 0.1
done
[ -n "$window" ] || { echo "take-screenshot: the editor window did not appear" >&2; exit 1; }
sleep 1 # let the first paint finish

geometry() { xwininfo -id "$window" | awk -v key="$1" '$0 ~ key { print $NF }'; }
window_x=$(geometry 'Absolute upper-left X')
window_y=$(geometry 'Absolute upper-left Y')
width=$(geometry 'Width')
height=$(geometry 'Height')
crop="${width}x${height}+${window_x}+${window_y}"

# Finds the grid's top-left corner in a shot of the window: with every pixel off, the
# cells are black squares in white outlines, five screen pixels apart at normal size.
find_grid() {
    import -window root -crop "$crop" +repage "$work/before.png"
    convert "$work/before.png" -colorspace sRGB txt:- | awk -F '[,: ]+' '
        /^#/ { next }
        { colour = $0; sub(/.*#/, "", colour); colour = substr(colour, 1, 6)
          if (colour == "FFFFFF") white[$1 "," $2] = 1
          else if (colour == "000000") black[$1 "," $2] = 1 }
        END {
            for (y = 0; y < '"$height"'; y++)
                for (x = 0; x < '"$width"'; x++)
                    if (white[x "," y] && white[x+1 "," y] && white[x "," y+1] &&
                        black[x+1 "," y+1] && black[x+4 "," y+4] && white[x+5 "," y+5] &&
                        black[x+6 "," y+6]) { print x, y; exit }
        }'
}

# "TA", "RR", "OW" in a 5 x 7 font at twice its size, between two lines across the screen.
draw_word() {
    local grid_x=$1 grid_y=$2 commands=()
    local -A font=(
        [T]="#####|..#..|..#..|..#..|..#..|..#..|..#.."
        [A]=".###.|#...#|#...#|#####|#...#|#...#|#...#"
        [R]="####.|#...#|#...#|####.|#.#..|#..#.|#...#"
        [O]=".###.|#...#|#...#|#...#|#...#|#...#|.###."
        [W]="#...#|#...#|#...#|#.#.#|#.#.#|##.##|#...#"
    )
    click_cell() { commands+=(mousemove $((window_x + grid_x + 5 * $1 + 3)) \
        $((window_y + grid_y + 5 * $2 + 3)) click 1); }
    local column line pair letter glyph i j dx dy
    for column in $(seq 0 31); do
        click_cell "$column" 2
        click_cell "$column" 55
    done
    line=0
    for pair in TA RR OW; do
        for i in 0 1; do
            letter=${pair:$i:1}
            IFS='|' read -r -a glyph <<<"${font[$letter]}"
            for j in $(seq 0 6); do
                for column in $(seq 0 4); do
                    [ "${glyph[$j]:$column:1}" = "#" ] || continue
                    for dx in 0 1; do
                        for dy in 0 1; do
                            click_cell $((5 + 12 * i + 2 * column + dx)) \
                                $((6 + 16 * line + 2 * j + dy))
                        done
                    done
                done
            done
        done
        line=$((line + 1))
    done
    xdotool "${commands[@]}" mousemove "$((window_x + width - 1))" "$((window_y + height - 1))"
}

if command -v xdotool >/dev/null; then
    corner=$(find_grid)
    if [ -n "$corner" ]; then
        # shellcheck disable=SC2086 # two numbers
        draw_word $corner
        sleep 1
    else
        echo "take-screenshot: grid not found; taking the window as it is" >&2
    fi
else
    echo "take-screenshot: xdotool not installed; taking the empty grid" >&2
fi

mkdir -p "$(dirname "$output")"
# Written beside the target and renamed, so a failed run never leaves half an image.
import -window root -crop "$crop" +repage "$output.partial.png"
mv "$output.partial.png" "$output"
echo "take-screenshot: wrote $output ($width x $height)"
