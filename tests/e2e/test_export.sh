# The real program under Xvfb: load examples/cube.qel, export it with Ctrl+E, save
# the picture with Ctrl+S and export it with the export window (Ctrl+H, both boxes
# ticked, Return), each through the real save dialog with a typed full path, and
# compare what lands on disk with the expected bytes; close the export window with
# Return on its focused "Abbruch"; run the exported applet on its page. A typed
# name with double quotes names exactly that one file.
# Arguments: the program, the source tree, a scratch folder.
set -euo pipefail
source "$2/tests/e2e/lib.sh"
e2e_init "$@"

data="$source_dir/tests/e2e/data"
# The class files the program was built with.
classes="$(cd "$(dirname "$program")/.." && pwd)/resources/applet"
[ -f "$classes/Viewer41.class" ] || e2e_fail "no compiled applet classes in $classes"

# Waits until a file exists. Each file is moved into place whole.
wait_file() {
  e2e_wait_for test -f "$1" || e2e_fail "$1 was not written"
}

same_bytes() {
  cmp "$1" "$2" || e2e_fail "$1 differs from $2"
  echo "ok: $(basename "$1") byte for byte"
}

# Started in a folder of its own: a file that lands in the working folder shows.
mkdir -p "$E2E_SCRATCH/cwd"
cd "$E2E_SCRATCH/cwd"
e2e_start "$program"
main="$E2E_WID"

e2e_load_model "$main" "$model"

# OFF file alone.
e2e_focus "$main"
xdotool key ctrl+e
e2e_answer_dialog "^Save As$" "$E2E_SCRATCH/cube.off"
wait_file "$E2E_SCRATCH/cube.off"
same_bytes "$E2E_SCRATCH/cube.off" "$data/cube.off"

# A name with double quotes is one file's name, not a list of quoted names.
mkdir -p "$E2E_SCRATCH/quoted"
e2e_focus "$main"
xdotool key ctrl+e
e2e_answer_dialog "^Save As$" "$E2E_SCRATCH/quoted/a \"b\" c.off"
wait_file "$E2E_SCRATCH/quoted/a \"b\" c.off"
same_bytes "$E2E_SCRATCH/quoted/a \"b\" c.off" "$data/cube.off"
[ "$(ls -A "$E2E_SCRATCH/quoted")" = 'a "b" c.off' ] || e2e_fail "the folder holds: $(ls -A "$E2E_SCRATCH/quoted")"
[ -z "$(ls -A "$E2E_SCRATCH/cwd")" ] || e2e_fail "the working folder holds: $(ls -A "$E2E_SCRATCH/cwd")"
echo "ok: the name with quotes names exactly one file"

# The picture: the canvas's size, and the canvas's pixels.
e2e_focus "$main"
xdotool key ctrl+s
e2e_answer_dialog "^Save As$" "$E2E_SCRATCH/bild.png"
wait_file "$E2E_SCRATCH/bild.png"
size=$(identify -format '%wx%h' "$E2E_SCRATCH/bild.png")
[ "$size" = "400x400" ] || e2e_fail "the picture is $size, not 400x400"
echo "ok: the picture is 400x400"
# Once the window is painted after the dialog, the canvas on the screen is the picture.
e2e_canvas_origin "$main"
canvas_is_picture() {
  local differing
  convert "$E2E_SCRATCH/shot.png" -crop "400x400+$E2E_CANVAS_X+$E2E_CANVAS_Y" +repage "$E2E_SCRATCH/canvas.png"
  differing=$(compare -metric AE "$E2E_SCRATCH/canvas.png" "$E2E_SCRATCH/bild.png" null: 2>&1 || true)
  E2E_WHY="the picture differs from the canvas in $differing pixels"
  [ "$differing" = "0" ]
}
e2e_wait_screen "$E2E_SCRATCH/shot.png" canvas_is_picture || e2e_fail "$E2E_WHY"
echo "ok: the picture shows what the canvas shows"

# OFF+ from the export window: tick both boxes, the default-button key exports.
mkdir -p "$E2E_SCRATCH/plus"
e2e_focus "$main"
xdotool key ctrl+h
export_win=$(e2e_wait_window "^OFF\+ Export$") || e2e_fail "no export window after Ctrl+H"
e2e_geometry "$export_win"
[ "${E2E_WIDTH}x${E2E_HEIGHT}" = "212x128" ] || e2e_fail "the export window is ${E2E_WIDTH}x${E2E_HEIGHT}"
e2e_focus "$export_win"
xdotool mousemove $((E2E_X + 66)) $((E2E_Y + 24)) click 1
xdotool mousemove $((E2E_X + 66)) $((E2E_Y + 56)) click 1
xdotool key Return
e2e_answer_dialog "^Save As$" "$E2E_SCRATCH/plus/cube.off"
e2e_wait_gone "^OFF\+ Export$" || e2e_fail "the export window stayed open after the export"
for f in cube.off cube.htm Viewer41.class Face.class Matrix3D.class OOGL_OFF.class; do
  wait_file "$E2E_SCRATCH/plus/$f"
done
same_bytes "$E2E_SCRATCH/plus/cube.off" "$data/cube.off"
same_bytes "$E2E_SCRATCH/plus/cube.htm" "$data/cube.htm"
for f in Viewer41.class Face.class Matrix3D.class OOGL_OFF.class; do
  same_bytes "$E2E_SCRATCH/plus/$f" "$classes/$f"
done
left=$(ls -A "$E2E_SCRATCH/plus" | wc -l)
[ "$left" = "6" ] || e2e_fail "the export folder holds $left entries, not 6: $(ls -A "$E2E_SCRATCH/plus")"

# Return on a focused "Abbruch" closes the export window without an export: the
# focus goes to a check box by a click, then by Tab to Export and to Abbruch.
e2e_focus "$main"
xdotool key ctrl+h
export_win=$(e2e_wait_window "^OFF\+ Export$") || e2e_fail "no export window after Ctrl+H"
e2e_geometry "$export_win"
e2e_focus "$export_win"
xdotool mousemove $((E2E_X + 66)) $((E2E_Y + 56)) click 1
xdotool key Tab Tab Return
e2e_wait_gone "^OFF\+ Export$" || e2e_fail "Return on Abbruch left the export window open"
# An export would open its save dialog before the main window takes the next key:
# Ctrl+I then opens the info window, or nothing while the dialog is up.
e2e_focus "$main"
xdotool key ctrl+i
info=$(e2e_wait_window "^(Info|Save As)$") || e2e_fail "Ctrl+I after Return on Abbruch opened nothing"
[ "$(xdotool getwindowname "$info")" = Info ] || e2e_fail "Return on Abbruch started an export"
e2e_close "$info"
e2e_wait_gone "^Info$" || e2e_fail "the info window stayed open"
echo "ok: Return on Abbruch closes the export window without an export"

# The exported page runs the exported applet on the exported OFF file: the cube's
# bright red (code 12), bright green (10) and yellow (14) edges are drawn.
mkdir -p "$E2E_SCRATCH/harness"
javac -nowarn -d "$E2E_SCRATCH/harness" "$data/AppletCheck.java" 2>/dev/null ||
  e2e_fail "cannot compile the applet harness"
java -cp "$E2E_SCRATCH/plus:$E2E_SCRATCH/harness" AppletCheck "$E2E_SCRATCH/plus/cube.htm" \
  >"$E2E_SCRATCH/applet-colours.txt" 2>"$E2E_SCRATCH/applet-stderr.txt" ||
  e2e_fail "the applet did not run: $(cat "$E2E_SCRATCH/applet-stderr.txt")"
for colour in 255,128,128 128,255,128 255,255,128; do
  count=$(awk -v c="$colour" '$1 == c { print $2 }' "$E2E_SCRATCH/applet-colours.txt")
  [ "${count:-0}" -ge 100 ] || e2e_fail "the applet drew ${count:-0} pixels in $colour"
  echo "ok: the applet drew $count pixels in $colour"
done

e2e_close "$main"
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "exit code $E2E_EXIT after closing the main window"
echo "ok: exit code 0 after closing the main window"
