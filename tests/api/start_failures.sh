#!/bin/sh
# An application that cannot start says why in exactly one line on standard error and ends with status 1:
# without a display, with a display that is not there, and with its usage or version written into a full
# device. Usage: start_failures.sh APPLICATION
app=$1
name=$(basename "$app")
failed=0

# expect STATUS LINE COMMAND...: the command ends with STATUS and its standard error is LINE alone.
expect() {
    status=$1 line=$2
    shift 2
    err=$("$@" 2>&1 >/dev/full)
    got=$?
    if [ "$got" -ne "$status" ] || [ "$err" != "$line" ]; then
        printf 'FAILED: %s\n  status %s (expected %s)\n  said:     %s\n  expected: %s\n' "$*" "$got" "$status" "$err" "$line"
        failed=1
    fi
}

plain="env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM"
expect 1 "$name: Cannot start without a display (DISPLAY unset, WAYLAND_DISPLAY unset): could not connect to display " \
    $plain "$app"
expect 1 "$name: Cannot start without a display (DISPLAY \":97\", WAYLAND_DISPLAY unset): could not connect to display :97" \
    $plain DISPLAY=:97 "$app"
expect 1 "$name: Cannot write to standard output: No space left on device" "$app" --help
expect 1 "$name: Cannot write to standard output: No space left on device" "$app" --version
exit $failed
