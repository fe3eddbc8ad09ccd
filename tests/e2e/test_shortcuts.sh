# The real program under Xvfb: every menu shortcut from the zoom field, after keys
# that the menu bar watches. First a question box answered with Alt+Y (Qt's
# "already exists ... replace it?"), then Ctrl+E from the field; then a lone Alt
# press, and each shortcut from the field: the dialogs and windows open, the Edit
# keys act on the field's text, Ctrl+Q ends the program with exit code 0.
# Arguments: the program, the source tree, a scratch folder.
set -euo pipefail
source "$2/tests/e2e/lib.sh"
e2e_init "$@"

e2e_start "$program"
main="$E2E_WID"
e2e_load_model "$main" "$model"
e2e_geometry "$main"
bar=$((E2E_HEIGHT - 435))

# A click into the zoom field gives it the focus.
into_field() {
  e2e_focus "$main"
  xdotool mousemove $((E2E_X + 93)) $((E2E_Y + bar + 164)) click 1
}

# Shortcut $1 from the field opens the window titled $2, which $3 closes
# ("escape" or "close").
opens_from_field() {
  local keys="$1" title="$2" how="$3" win
  into_field
  xdotool key "$keys"
  win=$(e2e_wait_window "$title") || e2e_fail "$keys from the zoom field opened no \"$title\""
  e2e_focus "$win"
  if [ "$how" = escape ]; then xdotool key Escape; else e2e_close "$win"; fi
  e2e_wait_gone "$title" || e2e_fail "\"$title\" stayed open"
  echo "ok: $keys from the zoom field opens \"$title\""
}

# Save the picture over an existing file: Qt asks in a box of the save dialog's
# title, answered with Alt+Y.
picture="$E2E_SCRATCH/old.png"
echo "an older file" >"$picture"
e2e_focus "$main"
xdotool key ctrl+s
dialog=$(e2e_wait_window "^Save As$") || e2e_fail "no save dialog after Ctrl+S"
question=$(e2e_replace_question "$dialog" "$picture")
e2e_focus "$question"
xdotool key alt+y
e2e_wait_gone "^Save As$" || e2e_fail "the save dialog stayed open after Alt+Y"
is_picture() {
  [ "$(identify -format '%wx%h' "$picture" 2>/dev/null)" = "400x400" ]
}
e2e_wait_for is_picture || e2e_fail "$picture was not replaced"
echo "ok: the question answered with Alt+Y, the picture replaced"
opens_from_field ctrl+e "^Save As$" escape

# A lone Alt press, then every shortcut from the field.
e2e_focus "$main"
xdotool key alt
opens_from_field ctrl+e "^Save As$" escape
opens_from_field ctrl+o "^Open$" escape
opens_from_field ctrl+s "^Save As$" escape
opens_from_field ctrl+h "^OFF\+ Export$" close
opens_from_field ctrl+i "^Info$" close

# The Edit keys on the field's "10". Each step shows on the clipboard only when the
# keys before it did their part: a paste at the end doubles the text, an undo
# takes the paste back, a cut empties the field for the next paste.
into_field
xdotool key ctrl+a ctrl+c
e2e_wait_clipboard 10 || e2e_fail "Ctrl+A, Ctrl+C from the zoom field copied nothing"
xdotool key End ctrl+v ctrl+a ctrl+c
e2e_wait_clipboard 1010 || e2e_fail "Ctrl+V in the zoom field pasted nothing"
xdotool key ctrl+z ctrl+a ctrl+x
e2e_wait_clipboard 10 || e2e_fail "Ctrl+Z in the zoom field did not take the paste back"
xdotool key End ctrl+v ctrl+a ctrl+c
e2e_wait_clipboard 10 || e2e_fail "Ctrl+X in the zoom field did not empty it"
echo "ok: Ctrl+A, Ctrl+C, Ctrl+V, Ctrl+Z and Ctrl+X act on the zoom field"

into_field
xdotool key ctrl+q
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "exit code $E2E_EXIT after Ctrl+Q from the zoom field"
echo "ok: Ctrl+Q from the zoom field ends the program with exit code 0"
