# The real program under Xvfb, driven with the real mouse: load examples/cube.qel,
# turn it with a drag that leaves the window and comes back, move it in
# "verschieben" mode, zoom with wheel notches and read the zoom field through the
# clipboard, resize the window and find the canvas's new size on the screen, and
# cut a drag short with the open dialog: the next drag must start where it is
# pressed. Each step is checked on the screen.
# Arguments: the program, the source tree, a scratch folder.
set -euo pipefail
source "$2/tests/e2e/lib.sh"
e2e_init "$@"

e2e_start "$program"
main="$E2E_WID"
e2e_load_model "$main" "$model"

e2e_canvas_origin "$main"
e2e_geometry "$main"
bar=$((E2E_HEIGHT - 435))
shot="$E2E_SCRATCH/shot.png"

# Screen position of a point of the content area, and of the canvas.
content() { xdotool mousemove $((E2E_X + $1)) $((E2E_Y + bar + $2)); }
canvas() { xdotool mousemove $((E2E_CANVAS_X + $1)) $((E2E_CANVAS_Y + $2)); sleep 0.05; }

# The view the checks expect: turn, tilt, zoom, origin.
turn=-0.785 tilt=0.3925 zoom=10 ox=200 oy=200

# Edge midpoints of the cube, each where no other edge runs, and the x axis; their
# colours must show where the view puts them.
check_view() {
  local what="$1" xy cx cy
  e2e_screenshot "$shot"
  while read -r name colour x y z; do
    xy=$(e2e_project "$x" "$y" "$z" "$turn" "$tilt" "$zoom" "$ox" "$oy")
    cx=$((E2E_CANVAS_X + ${xy% *}))
    cy=$((E2E_CANVAS_Y + ${xy#* }))
    e2e_near_colour "$shot" "$cx" "$cy" "$colour" 1 ||
      e2e_fail "$what: $name is not $colour at ($cx, $cy), found $(e2e_pixel "$shot" "$cx" "$cy")"
  done <<'EDGES'
bottom-edge-1-2 255,105,105 0 -5 -5
top-edge-5-6 105,255,105 0 -5 5
vertical-edge-1-5 255,255,105 -5 -5 0
vertical-edge-3-7 255,255,105 5 5 0
x-axis 255,0,0 5 0 0
EDGES
  echo "ok: $what"
}

check_view "the start view"

# Turn: 40 pixels to the right in all, by way of a point outside the window
# (the drag goes on there), so 40 / 200 * 3.14 radians.
canvas 200 300
xdotool mousedown 1
for x in 215 230 250 450 600 240; do canvas "$x" 300; done
xdotool mouseup 1
sleep 0.3
turn=-0.157
check_view "turned by a drag"

# Move: "verschieben", then a drag by (+30, +20) moves the origin with the mouse.
content 75 224
xdotool click 1
canvas 50 50
xdotool mousedown 1
for xy in "60 55" "70 63" "80 70"; do canvas $xy; done
xdotool mouseup 1
sleep 0.3
ox=230 oy=220
check_view "moved by a drag"

# Wheel: three notches away from the user zoom in by three, one back out by one.
canvas 300 100
for button in 4 4 4 5; do
  xdotool click "$button"
  sleep 0.05
done
sleep 0.3
zoom=12
check_view "zoomed by the wheel"
# The zoom field, read through the clipboard (Ctrl+A and Ctrl+C in the field).
content 93 164
xdotool click 1
xdotool key ctrl+a ctrl+c
sleep 0.2
shown=$(e2e_clipboard) || e2e_fail "nothing on the clipboard"
[ "$shown" = "12" ] || e2e_fail "the zoom field shows \"$shown\", not 12"
echo "ok: the zoom field shows 12"
# The menu's shortcuts work from the field too: Ctrl+E opens the OFF export's dialog.
xdotool key ctrl+e
dialog=$(e2e_wait_window "^Save As$") || e2e_fail "Ctrl+E in the zoom field opened no save dialog"
e2e_focus "$dialog"
xdotool key Escape
e2e_wait_gone "^Save As$" || e2e_fail "the save dialog stayed open"
echo "ok: Ctrl+E from the zoom field"

# Resize to a content area of 977 x 836: the canvas becomes 801 x 801, black up to
# its edges with the window's background beyond, and the origin keeps its place
# relative to the canvas: (230, 220) of 400 x 400 becomes (460, 440).
xdotool windowsize --sync "$main" 977 $((836 + bar))
sleep 0.5
e2e_screenshot "$shot"
black=0,0,0
[ "$(e2e_pixel "$shot" $((E2E_CANVAS_X + 800)) $((E2E_CANVAS_Y + 3)))" = "$black" ] ||
  e2e_fail "the canvas does not reach 801 pixels to the right"
[ "$(e2e_pixel "$shot" $((E2E_CANVAS_X + 801)) $((E2E_CANVAS_Y + 3)))" != "$black" ] ||
  e2e_fail "the canvas is wider than 801 pixels"
[ "$(e2e_pixel "$shot" $((E2E_CANVAS_X + 3)) $((E2E_CANVAS_Y + 800)))" = "$black" ] ||
  e2e_fail "the canvas does not reach 801 pixels down"
[ "$(e2e_pixel "$shot" $((E2E_CANVAS_X + 3)) $((E2E_CANVAS_Y + 801)))" != "$black" ] ||
  e2e_fail "the canvas is higher than 801 pixels"
echo "ok: the canvas is 801 x 801 after the resize"
ox=460 oy=440
check_view "the origin's place after the resize"

# A drag cut short: the button held, Ctrl+O opens the open dialog, the button comes
# up over it, the dialog is cancelled. Then a press elsewhere, one pixel right and
# back: the picture must be the same as before that press.
content 75 198
xdotool click 1 # "rotieren"
canvas 100 100
xdotool mousedown 1
canvas 110 100
e2e_focus "$main"
xdotool key ctrl+o
dialog=$(e2e_wait_window "^Open$") || e2e_fail "no open dialog during the drag"
xdotool mouseup 1
e2e_focus "$dialog"
xdotool key Escape
e2e_wait_gone "^Open$" || e2e_fail "the open dialog stayed open"
sleep 0.3
before="$E2E_SCRATCH/before.png"
after="$E2E_SCRATCH/after.png"
e2e_screenshot "$before"
canvas 400 600
xdotool mousedown 1
canvas 401 600
canvas 400 600
xdotool mouseup 1
sleep 0.3
e2e_screenshot "$after"
area="801x801+$E2E_CANVAS_X+$E2E_CANVAS_Y"
convert "$before" -crop "$area" +repage -depth 8 "rgb:$before.rgb"
convert "$after" -crop "$area" +repage -depth 8 "rgb:$after.rgb"
cmp -s "$before.rgb" "$after.rgb" || e2e_fail "the drag after the dialog changed the picture (see $before, $after)"
echo "ok: the drag after the dialog starts where it is pressed"

e2e_close "$main"
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "exit code $E2E_EXIT after closing the main window"
echo "ok: exit code 0"
