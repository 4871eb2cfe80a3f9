# Sourced by the test scripts. skip REASON ends a check that cannot run here
# as skipped (77, ctest's SKIP_RETURN_CODE), saying why. Under CI=true, where
# every tool is installed first, a skip means something broke (a package
# renamed, a launcher moved): it fails instead.
skip() {
    echo "SKIPPED: $*" >&2
    if [[ ${CI-} == true ]]; then
        echo "FAIL: CI installs everything a check needs, so a skip there is a failure." >&2
        exit 1
    fi
    exit 77
}
