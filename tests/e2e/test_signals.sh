# The real program under Xvfb, its syncs of files in the export folder slowed by a
# preloaded fsync that leaves a mark when it starts and one when it is done:
# SIGTERM, SIGINT or SIGHUP sent while an export over an older file syncs lets the
# export finish and the program end with 0, the new file complete and nothing else
# in the folder. A second signal during the sync ends the program at once, killed
# by it, the older file whole. A SIGHUP the program was started with ignored (as
# by nohup) stays ignored. A SIGTERM while Qt's question whether to replace the
# file is open (two dialogs' event loops inside the main one) ends the program with
# 0 and exports nothing.
# Arguments: the program, the source tree, a scratch folder.
set -euo pipefail
source "$2/tests/e2e/lib.sh"
e2e_init "$@"

data="$source_dir/tests/e2e/data"
out="$E2E_SCRATCH/out"
marks="$E2E_SCRATCH/marks"
target="$out/cube.off"
older="the older OFF file"

# fsync on a file of the export folder (named or not): the mark "syncing", about
# two seconds of sleep (resumed after a signal's handler), the real sync, the mark
# "synced".
mkdir -p "$E2E_SCRATCH/lib"
cat >"$E2E_SCRATCH/lib/slow_fsync.c" <<'CSRC'
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

static void mark(const char* name)
{
    char path[4096];
    snprintf(path, sizeof path, "%s/%s", getenv("SLOW_SYNC_MARKS"), name);
    int fd = open(path, O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd >= 0)
        close(fd);
}

static int inSlowFolder(int fd)
{
    const char* folder = getenv("SLOW_SYNC_FOLDER");
    char link[64], file[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = readlink(link, file, sizeof file - 1);
    if (!folder || !getenv("SLOW_SYNC_MARKS") || n < 0)
        return 0;
    file[n] = 0;
    size_t len = strlen(folder);
    return strncmp(file, folder, len) == 0 && file[len] == '/';
}

int fsync(int fd)
{
    if (!inSlowFolder(fd))
        return (int)syscall(SYS_fsync, fd);
    mark("syncing");
    struct timespec until;
    clock_gettime(CLOCK_MONOTONIC, &until);
    until.tv_sec += 2;
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, NULL) == EINTR) {
    }
    int result = (int)syscall(SYS_fsync, fd);
    int saved = errno;
    mark("synced");
    errno = saved;
    return result;
}
CSRC
cc -shared -fPIC -o "$E2E_SCRATCH/lib/slow_fsync.so" "$E2E_SCRATCH/lib/slow_fsync.c" ||
  e2e_fail "cannot build the slow fsync"

# Started in the background by a shell without job control, the program would
# ignore SIGINT; it gets the default action of each signal, or the ignoring given.
cat >"$E2E_SCRATCH/slow-sync.sh" <<SCRIPT
#!/usr/bin/env bash
exec env --default-signal=INT,TERM,HUP \${IGNORED:+--ignore-signal=\$IGNORED} \\
  LD_PRELOAD="$E2E_SCRATCH/lib/slow_fsync.so" SLOW_SYNC_FOLDER="$out" SLOW_SYNC_MARKS="$marks" "$program"
SCRIPT
chmod +x "$E2E_SCRATCH/slow-sync.sh"

# True while the signal $2 is pending for the process $1, not yet taken by a thread.
pending() {
  local mask
  mask=$(awk '/^ShdPnd:/ { print $2 }' "/proc/$1/status" 2>/dev/null) || return 1
  [ -n "$mask" ] && (((16#$mask >> ($2 - 1)) & 1))
}

taken() {
  ! pending "$@"
}

folder_holds_only_target() {
  [ "$(ls -A "$out")" = "cube.off" ] || e2e_fail "$1: the folder holds: $(ls -A "$out" | tr '\n' ' ')"
}

# Starts the program (with the signals named in $1 ignored), loads the cube and
# exports it with Ctrl+E over the older file, up to Qt's question whether to
# replace it, open and holding the focus: its id goes to question.
start_export() {
  local main dialog
  rm -rf "$out" "$marks"
  mkdir -p "$out" "$marks"
  printf '%s\n' "$older" >"$target"
  export IGNORED="$1"
  e2e_start "$E2E_SCRATCH/slow-sync.sh"
  main="$E2E_WID"
  e2e_load_model "$main" "$model"
  e2e_focus "$main"
  xdotool key ctrl+e
  dialog=$(e2e_wait_window "^Save As$") || e2e_fail "no save dialog after Ctrl+E"
  question=$(e2e_replace_question "$dialog" "$target")
}

# Answers Yes to the question $1 and waits until the export's sync has begun.
answer_yes_until_syncing() {
  e2e_focus "$1"
  xdotool key y
  e2e_wait_for test -f "$marks/syncing" || e2e_fail "the export did not reach its sync"
}

# Sends the signal $1 while the export syncs; the export finishes, the program
# ends with 0, the new file is complete and alone in its folder.
during_sync() {
  local name="$1" number
  number=$(kill -l "$name")
  start_export ""
  answer_yes_until_syncing "$question"
  pid="$E2E_PID"
  kill -s "$name" "$pid"
  [ ! -e "$marks/synced" ] || e2e_fail "SIG$name: the sync ended before the signal was sent"
  e2e_wait_exit
  [ "$E2E_EXIT" = "0" ] || e2e_fail "SIG$name during the sync: exit code $E2E_EXIT, not 0"
  [ -e "$marks/synced" ] || e2e_fail "SIG$name: the program ended before the sync"
  cmp "$target" "$data/cube.off" || e2e_fail "SIG$name: the exported file is not complete"
  folder_holds_only_target "SIG$name"
  echo "ok: SIG$name (signal $number) during the sync: the export finished, exit code 0, nothing else in the folder"
}

during_sync TERM
during_sync INT
during_sync HUP

# A second SIGTERM, once the first is taken, ends the program at once, during the
# sync; the older file stays whole (the temporary file may stay beside it).
start_export ""
answer_yes_until_syncing "$question"
pid="$E2E_PID"
kill -s TERM "$pid"
e2e_wait_for taken "$pid" 15 || e2e_fail "the first SIGTERM was not taken"
kill -s TERM "$pid"
e2e_wait_exit
[ "$E2E_EXIT" = "$((128 + 15))" ] || e2e_fail "a second SIGTERM: exit code $E2E_EXIT, not killed by SIGTERM"
[ ! -e "$marks/synced" ] || e2e_fail "a second SIGTERM: the program waited for the sync"
[ "$(cat "$target")" = "$older" ] || e2e_fail "a second SIGTERM: the older file was changed"
echo "ok: a second SIGTERM during the sync ends the program at once, killed by it; the older file stays whole"

# Started with SIGHUP ignored: a SIGHUP changes nothing, so a SIGTERM after it is
# the first signal and the export finishes with exit code 0.
start_export HUP
answer_yes_until_syncing "$question"
pid="$E2E_PID"
kill -s HUP "$pid"
kill -s TERM "$pid"
[ ! -e "$marks/synced" ] || e2e_fail "SIGHUP ignored: the sync ended before the signals were sent"
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "SIGHUP ignored, then SIGTERM: exit code $E2E_EXIT, not 0"
cmp "$target" "$data/cube.off" || e2e_fail "SIGHUP ignored: the exported file is not complete"
folder_holds_only_target "SIGHUP ignored"
echo "ok: a SIGHUP ignored at the start stays ignored"

# SIGTERM while the question is open: the dialogs' loops end, nothing is exported.
start_export ""
kill -s TERM "$E2E_PID"
e2e_wait_exit
[ "$E2E_EXIT" = "0" ] || e2e_fail "SIGTERM with the question open: exit code $E2E_EXIT, not 0"
[ ! -e "$marks/syncing" ] || e2e_fail "SIGTERM with the question open: the file was exported"
[ "$(cat "$target")" = "$older" ] || e2e_fail "SIGTERM with the question open: the older file was changed"
folder_holds_only_target "SIGTERM with the question open"
! grep "unhandled error" "$E2E_SCRATCH/stderr.txt" || e2e_fail "SIGTERM with the question open: an error was reported"
echo "ok: SIGTERM with the save dialog and its question open: exit code 0, nothing exported"
