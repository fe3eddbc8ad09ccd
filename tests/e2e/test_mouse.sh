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

# True when the screenshot shows the cube's marks in the view.
view_shown() {
  e2e_view_shows "$shot" "$E2E_CUBE_MARKS" "$turn" "$tilt" "$zoom" "$ox" "$oy"
}

# Waits until the screen shows the view.
check_view() {
  e2e_wait_screen "$shot" view_shown || e2e_fail "$1: $E2E_WHY"
  echo "ok: $1"
}

# Zooms in by a wheel notch and back out, and waits for each step on the screen:
# afterwards the whole canvas has been painted again, with the view unchanged.
rezoom() {
  canvas 400 600
  xdotool click 4
  zoom=$((zoom + 1))
  e2e_wait_screen "$shot" view_shown || return 1
  xdotool click 5
  zoom=$((zoom - 1))
  e2e_wait_screen "$shot" view_shown
}

check_view "the start view"

# Turn: 40 pixels to the right in all, by way of a point outside the window
# (the drag goes on there), so 40 / 200 * 3.14 radians.
canvas 200 300
xdotool mousedown 1
for x in 215 230 250 450 600 240; do canvas "$x" 300; done
xdotool mouseup 1
turn=-0.157
check_view "turned by a drag"

# Move: "verschieben", then a drag by (+30, +20) moves the origin with the mouse.
content 75 224
xdotool click 1
canvas 50 50
xdotool mousedown 1
for xy in "60 55" "70 63" "80 70"; do canvas $xy; done
xdotool mouseup 1
ox=230 oy=220
check_view "moved by a drag"

# Wheel: three notches away from the user zoom in by three, one back out by one.
canvas 300 100
for button in 4 4 4 5; do
  xdotool click "$button"
done
zoom=12
check_view "zoomed by the wheel"
# The zoom field, read through the clipboard (Ctrl+A and Ctrl+C in the field).
content 93 164
xdotool click 1
e2e_wait_for e2e_has_focus "$main" || e2e_fail "the click into the zoom field left the focus elsewhere"
xdotool key ctrl+a ctrl+c
e2e_wait_clipboard 12 || e2e_fail "the zoom field does not show 12"
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
# Black up to 801 pixels right and down from the canvas's corner, not beyond.
canvas_801() {
  local dx dy want what colour
  while read -r dx dy want what; do
    colour=$(e2e_pixel "$shot" $((E2E_CANVAS_X + dx)) $((E2E_CANVAS_Y + dy)))
    if { [ "$want" = black ] && [ "$colour" != 0,0,0 ]; } || { [ "$want" = other ] && [ "$colour" = 0,0,0 ]; }; then
      E2E_WHY="the canvas $what"
      return 1
    fi
  done <<'EDGES'
800 3 black does not reach 801 pixels to the right
801 3 other is wider than 801 pixels
3 800 black does not reach 801 pixels down
3 801 other is higher than 801 pixels
EDGES
}
e2e_wait_screen "$shot" canvas_801 || e2e_fail "$E2E_WHY"
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
turn=0 # 10 more pixels to the right
e2e_focus "$main"
xdotool key ctrl+o
dialog=$(e2e_wait_window "^Open$") || e2e_fail "no open dialog during the drag"
xdotool mouseup 1
e2e_focus "$dialog"
xdotool key Escape
e2e_wait_gone "^Open$" || e2e_fail "the open dialog stayed open"
before="$E2E_SCRATCH/before.png"
after="$E2E_SCRATCH/after.png"
rezoom || e2e_fail "the view after the dialog: $E2E_WHY"
cp "$shot" "$before"
canvas 400 600
xdotool mousedown 1
canvas 401 600
canvas 400 600
xdotool mouseup 1
rezoom || e2e_fail "the drag after the dialog turned the model: $E2E_WHY"
cp "$shot" "$after"
area="801x801+$E2E_CANVAS_X+$E2E_CANVAS_Y"
convert "$before" -crop "$area" +repage -depth 8 "rgb:$before.rgb"
convert "$after" -crop "$area" +repage -depth 8 "rgb:$after.rgb"
cmp -s "$before.rgb" "$after.rgb" || e2e_fail "the drag after the dialog changed the picture (see $before, $after)"
echo "ok: the drag after the dialog starts where it is pressed"

e2e_close "$main"
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "exit code $E2E_EXIT after closing the main window"
echo "ok: exit code 0"
