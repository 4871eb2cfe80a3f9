#!/bin/sh
# Runs one cross-built QtTest test under Wine for ctest. What QtTest prints
# does not reach ctest's pipe from Wine, so the test writes its log to a
# file, shown here; the test's exit status is ctest's verdict. An earlier
# run's log is removed first, so that a test that writes none shows none.
log=$(basename "$1" .exe).log
rm -f "$log"
wine "$1" -o "$log,txt"
status=$?
cat "$log" 2>/dev/null
exit "$status"
