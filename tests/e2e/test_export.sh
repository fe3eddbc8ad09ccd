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

# Answers the file dialog titled $1 with the full path $2 (replacing the proposed name).
# Waits (up to 10 s) until a file exists and its size stops changing.
wait_file() {
  local last=-1 size
  for _ in $(seq 1 100); do
    if [ -f "$1" ]; then
      size=$(stat -c %s "$1")
      [ "$size" = "$last" ] && return 0
      last=$size
    fi
    sleep 0.1
  done
  e2e_fail "$1 was not written"
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
sleep 0.3
e2e_screenshot "$E2E_SCRATCH/shot.png"
e2e_canvas_origin "$main"
convert "$E2E_SCRATCH/shot.png" -crop "400x400+$E2E_CANVAS_X+$E2E_CANVAS_Y" +repage "$E2E_SCRATCH/canvas.png"
differing=$(compare -metric AE "$E2E_SCRATCH/canvas.png" "$E2E_SCRATCH/bild.png" null: 2>&1 || true)
[ "$differing" = "0" ] || e2e_fail "the picture differs from the canvas in $differing pixels"
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
sleep 0.2
e2e_focus "$export_win"
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
xdotool key Tab Tab
sleep 0.2
xdotool key Return
e2e_wait_gone "^OFF\+ Export$" || e2e_fail "Return on Abbruch left the export window open"
sleep 0.5
if xdotool search --onlyvisible --name "^Save As$" >/dev/null 2>&1; then
  e2e_fail "Return on Abbruch started an export"
fi
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
