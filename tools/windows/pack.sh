#!/usr/bin/env bash
# Packs the Windows build in BUILD_DIR: installs it into one folder, stripped
# (CMake adds every DLL it imports, or stops, and writes the setup program's
# lists of files: cmake/windows.cmake); checks that every .exe and
# .dll carries the ASLR, high-entropy ASLR and DEP marks and that kolmira.exe
# is a GUI program; signs kolmira.exe when given a certificate
# (tools/windows/sign.sh); then writes kolmira-<version>-windows-x64.zip and
# kolmira-<version>-setup.exe (NSIS) into the build folder.
# shellcheck disable=SC2016 # NSIS's $INSTDIR is meant literally
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${BUILD_DIR:-build-windows}
tools/setup.sh windows >&2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
# Every time in the packages is the last commit's.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
stage=$build/stage/Kolmira
rm -rf "$build/stage"
cmake --install "$build" --prefix "$PWD/$stage" --strip >/dev/null
nsis=$build/nsis
mapfile -t files <"$nsis/files.txt"

echo "File                                  Subsystem        DLL characteristics"
failed=0
for binary in $(printf '%s\n' "${files[@]}" | grep -i '\.\(exe\|dll\)$'); do
    headers=$(LC_ALL=C x86_64-w64-mingw32-objdump -p "$stage/$binary")
    subsystem=$(sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*(\(.*\))/\1/p' <<<"$headers")
    marks=$(sed -n '/^DllCharacteristics/,/^SizeOfStackReserve/s/^[[:space:]]\+\([A-Z_]\+\)$/\1/p' <<<"$headers" | xargs)
    printf '%-37s %-16s %s\n' "$binary" "$subsystem" "$marks"
    for mark in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
        [[ " $marks " == *" $mark "* ]] || { echo "  $binary lacks $mark" >&2 && failed=1; }
    done
    [[ $binary != kolmira.exe || $subsystem == "Windows GUI" ]] ||
        { echo "  kolmira.exe is not a GUI program: Windows would open a console beside it" >&2 && failed=1; }
done
((failed == 0)) || { echo "The Windows build is not fit to ship; see above." >&2 && exit 1; }
echo "kolmira.exe sha256 (unsigned): $(sha256sum "$stage/kolmira.exe" | cut -d' ' -f1)"
tools/windows/sign.sh "$stage/kolmira.exe"

zip=$PWD/$build/kolmira-$version-windows-x64.zip
rm -f "$zip"
find "$build/stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$build/stage" && printf 'Kolmira/%s\n' "${files[@]}" | TZ=UTC zip -q -X -D -9 "$zip" -@)

# The licence page: Kolmira's licence, then what is shipped beside it and
# under which licences, in full.
for text in LICENSE.txt THIRD-PARTY.txt licenses/qt/{L,}GPL-3.0-only.txt \
    licenses/mingw-w64/{gcc-runtime,mingw-w64}-copyright.txt; do
    cat "$stage/$text"
    printf '\n\n'
done | sed '1s/^/\xef\xbb\xbf/; s/\r*$/\r/' >"$nsis/licence.txt"
setup=$PWD/$build/kolmira-$version-setup.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DOUTFILE="$setup" -DLISTS="$PWD/$nsis" \
    "$PWD/data/windows/kolmira.nsi"

echo "Installed: $(du -sh "$stage" | cut -f1), ${#files[@]} files"
stat -c '%n %s' "$zip" "$setup" | awk '{printf "%s  %.1f MB\n", $1, $2 / 1000000}'
(($(stat -c %s "$setup") <= 10000000)) ||
    { echo "The setup program is over the 10 MB a household should have to download." >&2 && exit 1; }
