# Helpers for the end-to-end tests: the real program under Xvfb, driven with
# xdotool. There is no window manager, so windows get the focus with
# `xdotool windowfocus --sync`, and a window is closed the way a window manager's
# close button does it, with a WM_DELETE_WINDOW message.
#
# Source it, then: e2e_start <program>; ...; e2e_close "$E2E_WID"; e2e_wait_exit.

E2E_PID=""
E2E_WID=""
# The title of the program's error box.
E2E_ERROR_BOX="^Qel-Viewer: Error$"
E2E_SCRATCH="${E2E_SCRATCH:-$(mktemp -d)}"
# How long a wait may last, in seconds: generous, since a busy machine may take
# a while to map a window or to paint.
E2E_LIMIT="${E2E_LIMIT:-30}"
E2E_WHY=""

# A test's arguments: the program, the source tree and its scratch folder, which
# starts empty. Sets program, source_dir, E2E_SCRATCH and model, the example cube
# that every test loads.
e2e_init() {
  program="$1"
  source_dir="$2"
  rm -rf "$3"
  mkdir -p "$3"
  E2E_SCRATCH="$(cd "$3" && pwd)"
  model="$source_dir/examples/cube.qel"
  [ -f "$model" ] || e2e_fail "no $model"
}

e2e_fail() {
  echo "FAIL: $*" >&2
  local why="$E2E_WHY"
  [ -n "$why" ] || why=$(cat "$E2E_SCRATCH/why" 2>/dev/null || true)
  [ -z "$why" ] || [[ "$*" == *"$why"* ]] || echo "  found: $why" >&2
  e2e_describe >&2
  if [ -n "$E2E_PID" ] && kill -0 "$E2E_PID" 2>/dev/null; then
    kill "$E2E_PID" 2>/dev/null
  fi
  exit 1
}

# What the screen holds, for a failure: the windows shown, the one holding the
# focus, whether the program still runs, its standard error; a screenshot.
e2e_describe() {
  local wid
  echo "  focus: $(e2e_focus_name)"
  for wid in $(xdotool search --onlyvisible --name "" 2>/dev/null); do
    echo "  shown: $wid \"$(xdotool getwindowname "$wid" 2>/dev/null)\""
  done
  if [ -n "$E2E_PID" ] && ! kill -0 "$E2E_PID" 2>/dev/null; then
    echo "  the program has ended"
  fi
  if [ -s "$E2E_SCRATCH/stderr.txt" ]; then
    echo "  its standard error:"
    sed 's/^/    /' "$E2E_SCRATCH/stderr.txt" | tail -20
  fi
  e2e_screenshot "$E2E_SCRATCH/failure.png" 2>/dev/null && echo "  screenshot: $E2E_SCRATCH/failure.png"
}

# The window holding the input focus, as its id and title.
e2e_focus_name() {
  local focus
  focus=$(xdotool getwindowfocus 2>/dev/null) || { echo "none"; return; }
  echo "$focus \"$(xdotool getwindowname "$focus" 2>/dev/null)\""
}

# Starts the program on the X display and waits for its main window.
e2e_start() {
  local program="$1"
  e2e_watch_popups
  # The tests' own offscreen platform must not reach the real program.
  env -u QT_QPA_PLATFORM QT_QPA_PLATFORM=xcb "$program" >"$E2E_SCRATCH/stdout.txt" 2>"$E2E_SCRATCH/stderr.txt" &
  E2E_PID=$!
  # The main window alone does not take the focus when it opens.
  E2E_WID=$(e2e_wait_for e2e_window_named "^Qel-Viewer$") || e2e_fail "the main window did not appear"
}

# Notes in $E2E_SCRATCH/popups.log each popup of any program (an override-redirect
# window: a list of completions, a menu; tooltips are left out) that is mapped
# ("map") or unmapped ("unmap"), from now until the X server ends.
e2e_watch_popups() {
  local helper
  helper=$(e2e_helper popups <<'CSRC'
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
static int isTooltip(Display* d, Window w)
{
    Atom type;
    int format;
    unsigned long n, rest;
    unsigned char* data = NULL;
    int tooltip = 0;
    if (XGetWindowProperty(d, w, XInternAtom(d, "_NET_WM_WINDOW_TYPE", False), 0, 16, False, XA_ATOM, &type,
                           &format, &n, &rest, &data) == Success && data) {
        Atom want = XInternAtom(d, "_NET_WM_WINDOW_TYPE_TOOLTIP", False);
        for (unsigned long i = 0; i < n; ++i)
            if (((Atom*)data)[i] == want) tooltip = 1;
        XFree(data);
    }
    return tooltip;
}
static int ignore(Display* d, XErrorEvent* e) { (void)d; (void)e; return 0; }
int main(void)
{
    Display* d = XOpenDisplay(NULL);
    if (!d) return 1;
    XSetErrorHandler(ignore); /* a window gone before its type is read */
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, False);
    puts("ready");
    fflush(stdout);
    Window shown[256];
    int n = 0;
    for (;;) {
        XEvent e;
        XNextEvent(d, &e);
        if (e.type == MapNotify && e.xmap.override_redirect && n < 256 && !isTooltip(d, e.xmap.window)) {
            shown[n++] = e.xmap.window;
            printf("map %lu\n", e.xmap.window);
        } else if (e.type == UnmapNotify) {
            for (int i = 0; i < n; ++i) {
                if (shown[i] != e.xunmap.window) continue;
                shown[i] = shown[--n];
                printf("unmap %lu\n", e.xunmap.window);
                break;
            }
        }
        fflush(stdout);
    }
}
CSRC
  ) || e2e_fail "cannot build the popup watcher"
  [ -z "${E2E_WATCHER:-}" ] || kill "$E2E_WATCHER" 2>/dev/null || true
  "$helper" >"$E2E_SCRATCH/popups.log" 2>/dev/null &
  E2E_WATCHER=$!
  e2e_wait_for e2e_watcher_ready || e2e_fail "the popup watcher did not start"
}

e2e_watcher_ready() {
  grep -q '^ready' "$E2E_SCRATCH/popups.log" 2>/dev/null && return 0
  kill -0 "$E2E_WATCHER" 2>/dev/null || E2E_WHY="the popup watcher ended"
  return 1
}

# Runs the command until it succeeds, for up to E2E_LIMIT seconds. Fails when the
# time is up, or when the program has ended and one more try fails too. A check
# run this way may say in E2E_WHY what it found instead.
e2e_wait_for() {
  local deadline=$((SECONDS + E2E_LIMIT))
  E2E_WHY=""
  until "$@"; do
    if [ -n "$E2E_PID" ] && ! kill -0 "$E2E_PID" 2>/dev/null; then
      "$@" && return 0
      e2e_gave_up "the program has ended${E2E_WHY:+ ($E2E_WHY)}"
      return 1
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
      e2e_gave_up "${E2E_WHY:-the condition did not hold} after $E2E_LIMIT s"
      return 1
    fi
    sleep 0.05
  done
}

# Notes why a wait gave up, also in a file, for a wait run in $(...), whose
# variables go with it.
e2e_gave_up() {
  E2E_WHY="$1"
  echo "$E2E_WHY" >"$E2E_SCRATCH/why"
}

# Prints the id of a visible window whose title matches $1, passing over the
# window $2; fails when there is none.
e2e_window_named() {
  local wid
  wid=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | grep -vx "${2:-none}" | head -1)
  [ -n "$wid" ] && echo "$wid"
}

e2e_no_window_named() {
  local wid
  wid=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
  [ -z "$wid" ] && return 0
  E2E_WHY="the window $wid \"$(xdotool getwindowname "$wid" 2>/dev/null)\" is still shown"
  return 1
}

e2e_has_focus() {
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
  E2E_WHY="the focus is on $(e2e_focus_name), not on $1"
  return 1
}

e2e_focused_window_named() {
  local wid
  if ! wid=$(e2e_window_named "$@"); then
    E2E_WHY="no window \"$1\" is shown"
    return 1
  fi
  e2e_has_focus "$wid" || {
    E2E_WHY="the window \"$1\" ($wid) is shown, but $E2E_WHY"
    return 1
  }
  echo "$wid"
}

# Waits for a visible window whose title matches $1 (other than the window $2),
# prints its id. Each window the program opens takes the input focus once the
# program sees it mapped, which may be a while after it shows: the wait lasts until
# then, so that the focus given to another window afterwards stays there.
e2e_wait_window() {
  e2e_wait_for e2e_focused_window_named "$@"
}

# Waits until no visible window's title matches.
e2e_wait_gone() {
  e2e_wait_for e2e_no_window_named "$1"
}

# Takes screenshots into the file $1 until the command after it, which looks at
# that file, succeeds.
e2e_wait_screen() {
  local shot="$1"
  shift
  e2e_wait_for e2e_screen_shows "$shot" "$@"
}

e2e_screen_shows() {
  e2e_screenshot "$1" && "${@:2}"
}

e2e_focus() {
  xdotool windowfocus --sync "$1"
}

# Types the full path $2 into the name field of the file dialog $1, and waits
# until the field holds it, read back through the clipboard (Ctrl+A, Ctrl+C).
e2e_type_path() {
  e2e_focus "$1"
  xdotool key ctrl+a
  xdotool type --delay 5 "$2"
  xdotool key ctrl+a ctrl+c
  e2e_wait_clipboard "$2" || e2e_fail "the name field of the dialog does not hold $2"
}

# Presses Return in the file dialog $1 and waits until the command after it holds
# (the dialog gone, Qt's question up). While the list of completions under the
# name field is open, Return only closes that list: once it is seen closed with the
# dialog still open, Return goes once more.
e2e_press_return() {
  local dialog="$1" closed
  shift
  closed=$(e2e_lists_closed)
  xdotool key Return
  E2E_LIST_TOOK_RETURN=""
  e2e_wait_for e2e_return_taken "$closed" "$@" || return 1
  [ -n "$E2E_LIST_TOOK_RETURN" ] || return 0
  if xwininfo -id "$dialog" 2>/dev/null | grep -q IsViewable && e2e_focus "$dialog" 2>/dev/null; then
    xdotool key Return
  fi
  e2e_wait_for "$@"
}

# True when the command after $1 holds, or when a list has closed since $1 lists
# had; says which in E2E_LIST_TOOK_RETURN.
e2e_return_taken() {
  local closed="$1"
  shift
  "$@" && return 0
  [ "$(e2e_lists_closed)" -gt "$closed" ] || return 1
  E2E_LIST_TOOK_RETURN=1
}

# How many popups (lists of completions, menus) have closed since the program
# started, as e2e_start's watcher saw them.
e2e_lists_closed() {
  grep -c '^unmap' "$E2E_SCRATCH/popups.log" 2>/dev/null || true
}

# Waits until a window of the program other than $1 holds the focus: the program
# gives it back when the window holding it closes.
e2e_wait_focus_back() {
  e2e_wait_for e2e_program_has_focus "$1"
}

e2e_program_has_focus() {
  local focus
  focus=$(xdotool getwindowfocus 2>/dev/null) &&
    [ "$focus" != "$1" ] && [ "$(xdotool getwindowpid "$focus" 2>/dev/null)" = "$E2E_PID" ] && return 0
  E2E_WHY="the focus is on $(e2e_focus_name), no window of the program"
  return 1
}

# Answers a file dialog titled $1 by typing the full path $2 and Return; waits
# until the dialog is gone and the program has given the focus back.
e2e_answer_dialog() {
  local title="$1" path="$2" dialog
  dialog=$(e2e_wait_window "$title") || e2e_fail "no dialog \"$title\""
  e2e_type_path "$dialog" "$path"
  e2e_press_return "$dialog" e2e_no_window_named "$title" || e2e_fail "the dialog \"$title\" stayed open"
  e2e_wait_focus_back "$dialog" || e2e_fail "no window of the program got the focus back after the dialog \"$title\""
}

# Answers the save dialog $1 with the full path $2 of a file that exists, and
# prints the id of Qt's question whether to replace it, a box of the dialog's title.
e2e_replace_question() {
  local dialog="$1" path="$2"
  e2e_type_path "$dialog" "$path"
  e2e_press_return "$dialog" e2e_focused_window_named "^Save As$" "$dialog" ||
    e2e_fail "the save dialog did not ask before replacing $path"
}

# Reads the model file $2 through the main window $1: Ctrl+O and the open dialog.
# What follows is ordered after the read; a look at the screen waits for the
# picture it expects.
e2e_load_model() {
  e2e_focus "$1"
  xdotool key ctrl+o
  e2e_answer_dialog "^Open$" "$2"
}

# Closes the error box $1 with Return, as its OK button.
e2e_close_error_box() {
  e2e_focus "$1"
  xdotool key Return
  e2e_wait_gone "$E2E_ERROR_BOX" || e2e_fail "the error box did not close"
}

# True when dialog $1 is centred over window $2. Seeing no window frames, Qt
# allows for a frame of its own guess (10 pixels a side, a 40-pixel title bar), so
# the dialog's centre may lie up to 12 pixels left and 42 up of the window's.
e2e_centred_over() {
  local X Y WIDTH HEIGHT WINDOW SCREEN dx dy
  eval "$(xdotool getwindowgeometry --shell "$2")"
  dx=$((X + WIDTH / 2)) dy=$((Y + HEIGHT / 2))
  eval "$(xdotool getwindowgeometry --shell "$1")"
  dx=$((dx - X - WIDTH / 2)) dy=$((dy - Y - HEIGHT / 2))
  [ "$dx" -ge -2 ] && [ "$dx" -le 12 ] && [ "$dy" -ge -2 ] && [ "$dy" -le 42 ]
}

# Where the model point (x, y, z) lies on the canvas for a turn, a tilt, a zoom and
# the model origin's place (ox, oy). Prints "x y".
e2e_project() {
  awk -v x="$1" -v y="$2" -v z="$3" -v th="$4" -v phi="$5" -v s="$6" -v ox="$7" -v oy="$8" 'BEGIN {
    m = -sin(phi) * s
    sx = x * cos(th) * s + y * (-sin(th) * s)
    sy = x * sin(th) * m + y * cos(th) * m + z * (-cos(phi) * s)
    printf "%d %d\n", int(ox + sx), int(oy + sy)
  }'
}

# Where a model point lies on the canvas in the start view: zoom 10, tilt 0.3925,
# turn -0.785, model origin at (200, 200). Prints "x y".
e2e_canvas_xy() {
  e2e_project "$1" "$2" "$3" -0.785 0.3925 10 200 200
}

# Marks on the example cube, as name, colour and model point: the midpoints of
# edges where no other edge runs, and of the x axis.
E2E_CUBE_MARKS='bottom-edge-1-2 255,105,105 0 -5 -5
top-edge-5-6 105,255,105 0 -5 5
vertical-edge-1-5 255,255,105 -5 -5 0
vertical-edge-3-7 255,255,105 5 5 0
x-axis 255,0,0 5 0 0'

# True when the screenshot $1 shows each of the marks $2 in its colour, within a
# pixel of where a turn, a tilt, a zoom and the origin's place ($3 to $7) put it on
# the canvas at (E2E_CANVAS_X, E2E_CANVAS_Y); else E2E_WHY says what it found where.
e2e_view_shows() {
  local shot="$1" marks="$2" name colour x y z xy cx cy
  while read -r name colour x y z; do
    xy=$(e2e_project "$x" "$y" "$z" "$3" "$4" "$5" "$6" "$7")
    cx=$((E2E_CANVAS_X + ${xy% *}))
    cy=$((E2E_CANVAS_Y + ${xy#* }))
    if ! e2e_near_colour "$shot" "$cx" "$cy" "$colour" 1; then
      E2E_WHY="$name is not $colour at ($cx, $cy), found $(e2e_pixel "$shot" "$cx" "$cy")"
      return 1
    fi
  done <<<"$marks"
}

# Window geometry as E2E_X, E2E_Y, E2E_WIDTH, E2E_HEIGHT.
e2e_geometry() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  E2E_X=$X E2E_Y=$Y E2E_WIDTH=$WIDTH E2E_HEIGHT=$HEIGHT
}

# The main window's canvas on the screen, as E2E_CANVAS_X, E2E_CANVAS_Y: the
# window's content area (435 high at the start size) sits below the menu bar, the
# canvas at (156, 15) in it.
e2e_canvas_origin() {
  e2e_geometry "$1"
  local bar=$((E2E_HEIGHT - 435))
  E2E_CANVAS_X=$((E2E_X + 156))
  E2E_CANVAS_Y=$((E2E_Y + bar + 15))
}

e2e_screenshot() {
  xwd -root -silent | convert xwd:- "$1"
}

# Prints the colour of one pixel of a picture as "r,g,b".
e2e_pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | sed -n 's/^0,0: (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p'
}

# True when a pixel within $5 pixels of (x, y) has the colour "r,g,b" ($4).
e2e_near_colour() {
  local file="$1" x="$2" y="$3" colour="$4" reach="${5:-1}"
  local size=$((2 * reach + 1))
  convert "$file" -crop "${size}x${size}+$((x - reach))+$((y - reach))" -depth 8 txt:- |
    sed -n 's/^[0-9]*,[0-9]*: (\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1,\2,\3/p' | grep -x "$colour" >/dev/null
}

# Builds a small X client from C source on standard input, once; prints its path.
e2e_helper() {
  local name="$1" helper="$E2E_SCRATCH/$1"
  if [ ! -x "$helper" ]; then
    cat >"$helper.c"
    cc -o "$helper" "$helper.c" -lX11 || return 1
  else
    cat >/dev/null
  fi
  echo "$helper"
}

# Prints the text on the clipboard (CLIPBOARD, as UTF-8).
e2e_clipboard() {
  local helper
  helper=$(e2e_helper clipboard <<'CSRC'
#include <X11/Xlib.h>
#include <stdio.h>
#include <time.h>
int main(void)
{
    Display* d = XOpenDisplay(NULL);
    if (!d) return 1;
    Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
    Atom property = XInternAtom(d, "E2E_CLIPBOARD", False);
    XConvertSelection(d, XInternAtom(d, "CLIPBOARD", False), XInternAtom(d, "UTF8_STRING", False), property, w,
                      CurrentTime);
    XFlush(d);
    for (int i = 0; i < 500; ++i) { /* up to 5 s */
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type != SelectionNotify) continue;
            if (e.xselection.property == None) return 2;
            Atom type;
            int format;
            unsigned long n, rest;
            unsigned char* data = NULL;
            XGetWindowProperty(d, w, property, 0, 1 << 20, False, AnyPropertyType, &type, &format, &n, &rest, &data);
            if (data) {
                fwrite(data, 1, n, stdout);
                XFree(data);
            }
            return 0;
        }
        struct timespec pause = {0, 10000000};
        nanosleep(&pause, NULL);
    }
    return 3;
}
CSRC
  ) || e2e_fail "cannot build the clipboard helper"
  "$helper"
}

e2e_clipboard_holds() {
  [ "$(e2e_clipboard 2>/dev/null)" = "$1" ]
}

# Waits until the clipboard holds $1; says what it holds when it does not.
e2e_wait_clipboard() {
  e2e_wait_for e2e_clipboard_holds "$1" || {
    echo "the clipboard holds \"$(e2e_clipboard 2>/dev/null)\"" >&2
    return 1
  }
}

# Closes a window as a window manager's close button does.
e2e_close() {
  local helper
  helper=$(e2e_helper wm-delete <<'CSRC'
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    Display* d = XOpenDisplay(NULL);
    if (!d) return 1;
    XEvent e = {0};
    e.xclient.type = ClientMessage;
    e.xclient.window = (Window)strtoul(argv[1], NULL, 0);
    e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, e.xclient.window, False, NoEventMask, &e);
    XSync(d, False);
    XCloseDisplay(d);
    return 0;
}
CSRC
  ) || e2e_fail "cannot build the close helper"
  "$helper" "$1"
}

# Waits (up to E2E_LIMIT seconds) for the program to end; its exit code goes to E2E_EXIT
# ("killed" when it had to be stopped).
e2e_wait_exit() {
  local pid="$E2E_PID"
  (
    for _ in $(seq 1 $((E2E_LIMIT * 10))); do sleep 0.1; done
    kill "$pid" 2>/dev/null && echo "the program did not end; stopped it" >&2
  ) &
  local watchdog=$!
  E2E_EXIT=0
  wait "$E2E_PID" || E2E_EXIT=$?
  if kill "$watchdog" 2>/dev/null; then
    wait "$watchdog" 2>/dev/null || true
  else
    E2E_EXIT=killed
  fi
  E2E_PID=""
}
