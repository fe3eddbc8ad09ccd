# The real program under Xvfb: load examples/cube.qel, press "Debug", check where
# the debug window opens, click a row of each list and check the green highlights
# on the main window's canvas, close the debug window and check they are gone.
# Then read a model whose line record names a point outside the table while the
# debug window is open: the model is read, the window closes, and the fault is
# reported once.
# Arguments: the program, the source tree, a scratch folder.
set -euo pipefail
source "$2/tests/e2e/lib.sh"
e2e_init "$@"

e2e_start "$program"
main="$E2E_WID"
# Down from the screen's top, so that "level with the main window" means something;
# not further right, so that the two windows do not overlap (without a window
# manager, Xvfb leaves a window that opens over another one unpainted).
xdotool windowmove --sync "$main" 0 120

e2e_load_model "$main" "$model"
e2e_wait_for e2e_has_focus "$main" || e2e_fail "the open dialog did not give the focus back to the main window"

# The debug button "Debug" lies at (29, 358), 109 x 20, in the content area, which
# starts below the menu bar.
e2e_geometry "$main"
main_x=$E2E_X main_y=$E2E_Y
bar=$((E2E_HEIGHT - 435))
xdotool mousemove $((main_x + 29 + 54)) $((main_y + bar + 358 + 10)) click 1
debug=$(e2e_wait_window "^Debug$") || e2e_fail "no debug window after pressing Debug"
placed() {
  e2e_geometry "$debug"
  if [ "$E2E_X" != 600 ]; then
    E2E_WHY="debug window at left $E2E_X, not 600"
  elif [ "$E2E_Y" != "$main_y" ]; then
    E2E_WHY="debug window at top $E2E_Y, not level with the main window ($main_y)"
  elif [ "$E2E_WIDTH x $E2E_HEIGHT" != "399 x 435" ]; then
    E2E_WHY="debug window is $E2E_WIDTH x $E2E_HEIGHT"
  else
    return 0
  fi
  return 1
}
e2e_wait_for placed || e2e_fail "$E2E_WHY"
debug_x=$E2E_X debug_y=$E2E_Y
echo "ok: debug window at ($debug_x, $debug_y), the main window at ($main_x, $main_y)"

# Screen y of the middle of row r of a list with n rows, found from the list's grid:
# below every row but the first lies a one-pixel grid line between white cells.
# x must lie in a column, right of its short texts.
# The lowest such line is the last row's bottom, two of them give the row height.
row_centre() {
  local shot="$1" x="$2" top="$3" n="$4" r="$5"
  convert "$shot" -crop "1x377+$x+$top" -depth 8 txt:- |
    sed -n 's/^0,\([0-9]*\): (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2,\3,\4/p' |
    awk -v top="$top" -v n="$n" -v r="$r" '
      { y[NR] = $1; c[NR] = $2 }
      END {
        last = 0; prev = 0
        for (i = 2; i < NR; i++)
          if (c[i] != "255,255,255" && c[i - 1] == "255,255,255" && c[i + 1] == "255,255,255") {
            prev = last; last = y[i]
          }
        if (!last || !prev) exit 1
        h = last - prev
        printf "%d\n", top + last - (n - r) * h - h / 2
      }'
}


# The screen position of a model point: SX, SY.
screen_xy() {
  local xy
  xy=$(e2e_canvas_xy "$1" "$2" "$3")
  e2e_canvas_origin "$main"
  SX=$((E2E_CANVAS_X + ${xy% *}))
  SY=$((E2E_CANVAS_Y + ${xy#* }))
}

green=0,255,0
before="$E2E_SCRATCH/before.png"
# LBpunkte (20, 38) lists the cube's 8 points, LBlinien (229, 38) the 16 records.
# Both are painted once their rows are found.
lists_painted() {
  p_row=$(row_centre "$before" $((debug_x + 20 + 105)) $((debug_y + 38)) 8 3) &&
    l_row=$(row_centre "$before" $((debug_x + 229 + 120)) $((debug_y + 38)) 16 6)
}
e2e_wait_screen "$before" lists_painted || e2e_fail "no rows found in the lists (see $before)"

# Row 3 is point 3 at (5, 5, -5); record 6 draws from point 1 (-5, -5, -5) to
# point 5 (-5, -5, 5).
xdotool mousemove $((debug_x + 20 + 120)) "$p_row" click 1
xdotool mousemove $((debug_x + 229 + 75)) "$l_row" click 1
screen_xy 5 5 -5
p3x=$SX p3y=$SY
screen_xy -5 -5 0
e16x=$SX e16y=$SY
marked="$E2E_SCRATCH/marked.png"
both_marked() {
  E2E_WHY="point 3 at ($p3x, $p3y) is not highlighted"
  e2e_near_colour "$marked" "$p3x" "$p3y" "$green" 2 || return 1
  E2E_WHY="record 6 (edge 1-5) at ($e16x, $e16y) is not highlighted"
  e2e_near_colour "$marked" "$e16x" "$e16y" "$green" 1
}
e2e_wait_screen "$marked" both_marked || e2e_fail "$E2E_WHY"
echo "ok: point 3 highlighted at ($p3x, $p3y), record 6 at ($e16x, $e16y)"
screen_xy 5 -5 -5
! e2e_near_colour "$marked" "$SX" "$SY" "$green" 3 || e2e_fail "point 2 at ($SX, $SY) is highlighted too"
! e2e_near_colour "$before" "$p3x" "$p3y" "$green" 3 || e2e_fail "point 3 was green before the click"

# Closing the debug window clears both highlights.
e2e_close "$debug"
e2e_wait_gone "^Debug$" || e2e_fail "the debug window did not close"
# With no window manager, the program itself gives the focus back.
e2e_wait_for e2e_has_focus "$main" || e2e_fail "the main window did not get the focus back from the debug window"
echo "ok: the main window has the focus again"
closed="$E2E_SCRATCH/closed.png"
none_marked() {
  E2E_WHY="point 3 still highlighted after closing"
  ! e2e_near_colour "$closed" "$p3x" "$p3y" "$green" 3 || return 1
  E2E_WHY="record 6 still highlighted after closing"
  ! e2e_near_colour "$closed" "$e16x" "$e16y" "$green" 2
}
e2e_wait_screen "$closed" none_marked || e2e_fail "$E2E_WHY"
echo "ok: no highlight after closing the debug window"

far="$E2E_SCRATCH/far.qel"
printf '2\n0 0 0\n1 1 1\n3\n1 15\n3001 15\n2 15\n' >"$far"
xdotool mousemove $((main_x + 29 + 54)) $((main_y + bar + 358 + 10)) click 1
e2e_wait_window "^Debug$" >/dev/null || e2e_fail "no debug window after pressing Debug"
e2e_load_model "$main" "$far"
box=$(e2e_wait_window "$E2E_ERROR_BOX") || e2e_fail "no error shown for the faulty model"
expected='qel-viewer: unhandled error: Line record 2 of "far.qel" names point 3001, but point numbers run from 0 to 3000. The drawing stops at that record; the model is loaded.'
grep -qxF "$expected" "$E2E_SCRATCH/stderr.txt" || e2e_fail "the report was: $(cat "$E2E_SCRATCH/stderr.txt")"
reports=$(grep -c "unhandled error" "$E2E_SCRATCH/stderr.txt" || true)
[ "$reports" = 1 ] || e2e_fail "$reports reports: $(cat "$E2E_SCRATCH/stderr.txt")"
! xdotool search --onlyvisible --name "^Debug$" >/dev/null || e2e_fail "the debug window is still open"
echo "ok: the faulty record is reported once, naming the record and the point; the debug window is closed"
e2e_close_error_box "$box"

e2e_close "$main"
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "exit code $E2E_EXIT after closing the main window"
echo "ok: exit code 0"
