# The real program under Xvfb: load examples/cube.qel with Ctrl+O by typing its
# path into the open dialog, check the drawing on the screen, close the window.
# Arguments: the program, the source tree, a scratch folder.
set -euo pipefail
program="$1"
source_dir="$2"
mkdir -p "$3"
E2E_SCRATCH="$(cd "$3" && pwd)"
source "$source_dir/tests/e2e/lib.sh"

model="$source_dir/examples/cube.qel"
[ -f "$model" ] || e2e_fail "no $model"

e2e_start "$program"
main="$E2E_WID"

e2e_focus "$main"
xdotool key ctrl+o
dialog=$(e2e_wait_window "^Open$") || e2e_fail "no open dialog after Ctrl+O"
e2e_focus "$dialog"
xdotool type --delay 5 "$model"
xdotool key Return
e2e_wait_gone "^Open$" || {
  # The completer's list may take the first Return.
  xdotool key Return
  e2e_wait_gone "^Open$" || e2e_fail "the open dialog stayed open"
}

# Where a model point lies on the canvas in the start view: zoom 10, tilt 0.3925,
# turn -0.785, model origin at (200, 200).
canvas_xy() {
  awk -v x="$1" -v y="$2" -v z="$3" 'BEGIN {
    s = 10; phi = 0.3925; th = -0.785; m = -sin(phi) * s
    sx = x * cos(th) * s + y * (-sin(th) * s)
    sy = x * sin(th) * m + y * cos(th) * m + z * (-cos(phi) * s)
    printf "%d %d\n", int(200 + sx), int(200 + sy)
  }'
}

# The midpoint of a cube edge (or of an axis), where nothing else is drawn, must
# show the edge's colour on the screen.
check() {
  local what="$1" colour="$2" xy cx cy
  xy=$(canvas_xy "$3" "$4" "$5")
  cx=$((E2E_CANVAS_X + ${xy% *}))
  cy=$((E2E_CANVAS_Y + ${xy#* }))
  e2e_near_colour "$shot" "$cx" "$cy" "$colour" 1 ||
    e2e_fail "$what: no $colour near ($cx, $cy), found $(e2e_pixel "$shot" "$cx" "$cy")"
  echo "ok: $what in $colour at ($cx, $cy)"
}

shot="$E2E_SCRATCH/shot.png"
e2e_canvas_origin "$main"

# The picture shows up with the next paint: wait for the first edge.
edge=$(canvas_xy 0 -5 -5)
for _ in $(seq 1 40); do
  e2e_screenshot "$shot"
  e2e_near_colour "$shot" $((E2E_CANVAS_X + ${edge% *})) $((E2E_CANVAS_Y + ${edge#* })) 255,105,105 1 && break
  sleep 0.25
done

check "bottom edge 1-2 (code 12)" 255,105,105 0 -5 -5
check "top edge 5-6 (code 10)" 105,255,105 0 -5 5
check "vertical edge 1-5 (code 14)" 255,255,105 -5 -5 0
check "vertical edge 3-7 (code 14)" 255,255,105 5 5 0
check "x axis" 255,0,0 5 0 0
check "y axis" 255,0,0 0 5 0
# Inside the cube's outline, away from every edge and axis: the cleared background.
bg=$(canvas_xy -2 -4 -3)
bx=$((E2E_CANVAS_X + ${bg% *}))
by=$((E2E_CANVAS_Y + ${bg#* }))
[ "$(e2e_pixel "$shot" "$bx" "$by")" = "0,0,0" ] || e2e_fail "background at ($bx, $by) is not black"

e2e_close "$main"
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "exit code $E2E_EXIT after closing the main window"
echo "ok: exit code 0 after closing the main window"
