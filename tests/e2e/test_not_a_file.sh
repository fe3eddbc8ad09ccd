# The real program under Xvfb: load examples/cube.qel, then choose paths that are
# no regular files (a FIFO without a writer, /dev/zero) in the open dialog. Each is
# refused at once in a message box that says what it is, the viewer keeps taking
# input, and the cube stays on the screen. Then export onto a FIFO with Ctrl+E and
# say Yes to replacing it: refused the same way, and the FIFO stays a FIFO.
# Arguments: the program, the source tree, a scratch folder.
set -euo pipefail
source "$2/tests/e2e/lib.sh"
e2e_init "$@"

fifo="$E2E_SCRATCH/pipe.qel"
mkfifo "$fifo"

e2e_start "$program"
main="$E2E_WID"

e2e_load_model "$main" "$model"

# The midpoint of the cube's bottom edge 1-2 (code 12) in the start view.
edge=$(e2e_canvas_xy 0 -5 -5)
shot="$E2E_SCRATCH/shot.png"
cube_shown() {
  e2e_canvas_origin "$main"
  e2e_wait_screen "$shot" e2e_near_colour "$shot" $((E2E_CANVAS_X + ${edge% *})) $((E2E_CANVAS_Y + ${edge#* })) 255,105,105 1
}
cube_shown || e2e_fail "the cube is not drawn after loading it"

refused() {
  local path="$1" kind="$2" box reported
  e2e_focus "$main"
  xdotool key ctrl+o
  e2e_answer_dialog "^Open$" "$path"
  # A viewer stuck in open() or read() shows no box.
  box=$(e2e_wait_window "$E2E_ERROR_BOX") || e2e_fail "no message for $path: the viewer hangs"
  e2e_centred_over "$box" "$main" || e2e_fail "the message for $path is not centred over the main window"
  reported=$(grep -F "\"$path\"" "$E2E_SCRATCH/stderr.txt" | tail -1)
  case "$reported" in
    *"it is $kind, not a regular file"*) ;;
    *) e2e_fail "the message for $path does not say it is $kind: ${reported:-nothing}" ;;
  esac
  echo "ok: $path refused: ${reported#*unhandled error: }"
  e2e_focus "$box"
  xdotool key Return
  e2e_wait_gone "$E2E_ERROR_BOX" || e2e_fail "the message box for $path stayed open"
  cube_shown || e2e_fail "the cube is gone after choosing $path"
  echo "ok: the cube stays after $path"
}

refused "$fifo" "a pipe (FIFO)"
refused /dev/zero "a character device"

out="$E2E_SCRATCH/out"
mkdir -p "$out"
target="$out/cube.off"
mkfifo "$target"
e2e_focus "$main"
xdotool key ctrl+e
dialog=$(e2e_wait_window "^Save As$") || e2e_fail "no save dialog after Ctrl+E"
question=$(e2e_replace_question "$dialog" "$target")
e2e_focus "$question"
xdotool key y
box=$(e2e_wait_window "$E2E_ERROR_BOX") || e2e_fail "no message for the export onto $target"
expected="Cannot write the file \"$target\": it is a pipe (FIFO), not a regular file; nothing was written"
grep -qF "$expected" "$E2E_SCRATCH/stderr.txt" ||
  e2e_fail "the message was not \"$expected\" but: $(grep -F "$target" "$E2E_SCRATCH/stderr.txt" | tail -1)"
echo "ok: the export onto a FIFO is refused: $expected"
[ -p "$target" ] || e2e_fail "$target is no longer a FIFO"
[ "$(ls -A "$out")" = "cube.off" ] || e2e_fail "the folder holds: $(ls -A "$out")"
echo "ok: the FIFO stays, nothing is left beside it"
e2e_close_error_box "$box"

e2e_close "$main"
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "exit code $E2E_EXIT after closing the main window"
echo "ok: exit code 0"
