# The real program under Xvfb, started with a file size limit of 4 KB and SIGXFSZ
# ignored, so that a write past 4 KB fails late and for real: an OFF+ export with
# both boxes ticked writes the OFF file and the page, then fails on the 6 KB
# Viewer41.class. The error is shown and names the file and the cause, the older
# class file stays byte for byte with nothing half-written beside it, and the
# export window stays open.
# Arguments: the program, the source tree, a scratch folder.
set -euo pipefail
source "$2/tests/e2e/lib.sh"
e2e_init "$@"

data="$source_dir/tests/e2e/data"

# The program's standard error goes through a process started before the limit,
# so that its own file can grow.
cat >"$E2E_SCRATCH/limited.sh" <<SCRIPT
#!/usr/bin/env bash
exec 2> >(cat >"$E2E_SCRATCH/limited-stderr.txt")
trap '' XFSZ
ulimit -f 4
exec "$program"
SCRIPT
chmod +x "$E2E_SCRATCH/limited.sh"

out="$E2E_SCRATCH/out"
mkdir -p "$out"
printf 'the older class file\n' >"$out/Viewer41.class"

e2e_start "$E2E_SCRATCH/limited.sh"
main="$E2E_WID"
e2e_load_model "$main" "$model"

e2e_focus "$main"
xdotool key ctrl+h
export_win=$(e2e_wait_window "^OFF\+ Export$") || e2e_fail "no export window after Ctrl+H"
# Away from the screen's corner, so that the error box fits centred over it.
xdotool windowmove --sync "$export_win" 400 300
e2e_geometry "$export_win"
e2e_focus "$export_win"
xdotool mousemove $((E2E_X + 66)) $((E2E_Y + 24)) click 1
xdotool mousemove $((E2E_X + 66)) $((E2E_Y + 56)) click 1
xdotool key Return
e2e_answer_dialog "^Save As$" "$out/cube.off"

box=$(e2e_wait_window "$E2E_ERROR_BOX") || e2e_fail "no error shown for the failed write"
expected="qel-viewer: unhandled error: Cannot write the file \"$out/Viewer41.class\": File too large"
grep -qxF "$expected" "$E2E_SCRATCH/limited-stderr.txt" ||
  e2e_fail "the error was not \"$expected\" but: $(cat "$E2E_SCRATCH/limited-stderr.txt")"
echo "ok: the error names the class file and the cause"

xdotool search --onlyvisible --name "^OFF\+ Export$" >/dev/null || e2e_fail "the export window closed as if the export had worked"
echo "ok: the export window stays open"
e2e_centred_over "$box" "$export_win" || e2e_fail "the error box is not centred over the export window"
echo "ok: the error box is centred over the export window"
[ "$(cat "$out/Viewer41.class")" = "the older class file" ] || e2e_fail "the older Viewer41.class was changed"
cmp "$out/cube.off" "$data/cube.off" || e2e_fail "cube.off is not whole"
cmp "$out/cube.htm" "$data/cube.htm" || e2e_fail "cube.htm is not whole"
[ "$(ls -A "$out" | tr '\n' ' ')" = "Viewer41.class cube.htm cube.off " ] ||
  e2e_fail "the export folder holds: $(ls -A "$out")"
echo "ok: the older class file stays, the OFF file and the page are whole, nothing half-written"

e2e_close_error_box "$box"
e2e_close "$export_win"
e2e_wait_gone "^OFF\+ Export$" || e2e_fail "the export window did not close"
e2e_close "$main"
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "exit code $E2E_EXIT after closing the main window"
echo "ok: exit code 0"
