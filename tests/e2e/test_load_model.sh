# The real program under Xvfb: load examples/cube.qel with Ctrl+O by typing its
# path into the open dialog, check the drawing on the screen, close the window.
# Arguments: the program, the source tree, a scratch folder.
set -euo pipefail
source "$2/tests/e2e/lib.sh"
e2e_init "$@"

e2e_start "$program"
main="$E2E_WID"

e2e_load_model "$main" "$model"


# The midpoint of a cube edge (or of an axis), where nothing else is drawn, must
# show the edge's colour on the screen.
check() {
  local what="$1" colour="$2" xy cx cy
  xy=$(e2e_canvas_xy "$3" "$4" "$5")
  cx=$((E2E_CANVAS_X + ${xy% *}))
  cy=$((E2E_CANVAS_Y + ${xy#* }))
  e2e_near_colour "$shot" "$cx" "$cy" "$colour" 1 ||
    e2e_fail "$what: no $colour near ($cx, $cy), found $(e2e_pixel "$shot" "$cx" "$cy")"
  echo "ok: $what in $colour at ($cx, $cy)"
}

shot="$E2E_SCRATCH/shot.png"
e2e_canvas_origin "$main"

# The picture shows up with the next paint: wait for the first edge.
edge=$(e2e_canvas_xy 0 -5 -5)
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
bg=$(e2e_canvas_xy -2 -4 -3)
bx=$((E2E_CANVAS_X + ${bg% *}))
by=$((E2E_CANVAS_Y + ${bg#* }))
[ "$(e2e_pixel "$shot" "$bx" "$by")" = "0,0,0" ] || e2e_fail "background at ($bx, $by) is not black"

e2e_close "$main"
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "exit code $E2E_EXIT after closing the main window"
echo "ok: exit code 0 after closing the main window"
