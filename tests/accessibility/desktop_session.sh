#!/usr/bin/env bash
# Runs a command on a private X server (Xvfb) inside a private D-Bus session,
# whose accessibility bus starts on demand. Qt programs started from it use
# that X server and always talk to the accessibility bus.
# Skips (tests/support/skip.sh) when a tool is missing, and so does a run
# that skips itself; ends everything it started after SESSION_TIMEOUT
# seconds (120 when run by hand; ctest sets 200).
set -euo pipefail
. "$(dirname "$0")/../support/skip.sh"

missing=()
command -v xvfb-run >/dev/null || missing+=(xvfb)
command -v xauth >/dev/null || missing+=(xauth)
command -v dbus-run-session >/dev/null || missing+=(dbus)
[[ -x /usr/libexec/at-spi-bus-launcher ]] || missing+=(at-spi2-core)
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing+=(python3-pyatspi)
[[ ${#missing[@]} -eq 0 ]] || skip "no desktop session for the accessibility run; missing packages:" \
    "${missing[*]} (make test installs them: tools/setup.sh test)"

runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
export XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS

# timeout signals its whole process group: Xvfb, the buses and the program.
status=0
timeout -k 10 "${SESSION_TIMEOUT:-120}" \
    xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp" \
    dbus-run-session -- "$@" \
    2> >(grep -v -E '^dbus-daemon\[|^SpiRegistry daemon|dbind-WARNING|^$' >&2) || status=$?
[[ $status -ne 124 ]] || echo "The desktop session timed out and was ended." >&2
[[ $status -ne 77 ]] || skip "the run could not start (see above)"
exit "$status"
