# The real program under Xvfb: load examples/cube.qel with Ctrl+O by typing its
# path into the open dialog, check the drawing on the screen, close the window.
# Arguments: the program, the source tree, a scratch folder.
set -euo pipefail
source "$2/tests/e2e/lib.sh"
e2e_init "$@"

e2e_start "$program"
main="$E2E_WID"

e2e_load_model "$main" "$model"

# The cube's marks and the y axis's midpoint show their colours where the start
# view puts them, once the window is painted after the dialog.
shot="$E2E_SCRATCH/shot.png"
e2e_canvas_origin "$main"
marks="$E2E_CUBE_MARKS
y-axis 255,0,0 0 5 0"
e2e_wait_screen "$shot" e2e_view_shows "$shot" "$marks" -0.785 0.3925 10 200 200 ||
  e2e_fail "the start view: $E2E_WHY"
echo "ok: the edges and axes in their colours where the start view puts them"
# Inside the cube's outline, away from every edge and axis: the cleared background.
bg=$(e2e_canvas_xy -2 -4 -3)
bx=$((E2E_CANVAS_X + ${bg% *}))
by=$((E2E_CANVAS_Y + ${bg#* }))
[ "$(e2e_pixel "$shot" "$bx" "$by")" = "0,0,0" ] || e2e_fail "background at ($bx, $by) is not black"
echo "ok: the background is black"

e2e_close "$main"
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "exit code $E2E_EXIT after closing the main window"
echo "ok: exit code 0 after closing the main window"
