#!/usr/bin/env bash
# Packs the Windows build: installs it into one folder, stripped (CMake adds
# every DLL it imports, and stops when one cannot be found); checks that
# every .exe and .dll there carries the ASLR, high-entropy ASLR and DEP marks
# and that kolmira.exe is a GUI program; signs kolmira.exe when a certificate
# is given (tools/windows/sign.sh); then writes kolmira-<version>-windows-x64.zip
# and kolmira-<version>-setup.exe (NSIS) into the build folder.
# shellcheck disable=SC2016 # NSIS's $INSTDIR is meant literally
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${BUILD_DIR:-build-windows}
tools/setup.sh nsis zip binutils-mingw-w64-x86-64 osslsigncode >&2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
# Every time in the packages is the last commit's: git is there wherever this runs.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH

stage=$build/stage/Kolmira
rm -rf "$build/stage"
cmake --install "$build" --prefix "$PWD/$stage" --strip >/dev/null
# What was installed, as paths in the folder, in a fixed order.
mapfile -t files < <(sed "s|^$PWD/$stage/\(\./\)*||" "$build/install_manifest.txt" | LC_ALL=C sort)
mapfile -t binaries < <(printf '%s\n' "${files[@]}" | grep -i '\.\(exe\|dll\)$')
# --strip leaves the DLLs it did not build as they came: libstdc++ alone is 24 MB.
(cd "$stage" && printf '%s\n' "${binaries[@]}" | grep -i '\.dll$' | xargs x86_64-w64-mingw32-strip --strip-unneeded)

# Every shipped program, checked the way Windows' loader will see it.
failed=0
echo "File                                  Subsystem        DLL characteristics"
for binary in "${binaries[@]}"; do
    headers=$(LC_ALL=C x86_64-w64-mingw32-objdump -p "$stage/$binary")
    subsystem=$(sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*(\(.*\))/\1/p' <<<"$headers")
    marks=$(sed -n '/^DllCharacteristics/,/^SizeOfStackReserve/p' <<<"$headers" |
        sed -n 's/^[[:space:]]\+\([A-Z_]\+\)$/\1/p' | tr '\n' ' ')
    printf '%-37s %-16s %s\n' "$binary" "$subsystem" "$marks"
    for mark in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
        [[ " $marks" == *" $mark "* ]] || { echo "  $binary lacks $mark" >&2; failed=1; }
    done
    if [[ $binary == kolmira.exe && $subsystem != "Windows GUI" ]]; then
        echo "  kolmira.exe is not a GUI program: Windows would open a console beside it" >&2
        failed=1
    fi
done
if [[ $failed -ne 0 ]]; then
    echo "The Windows build is not fit to ship; see above." >&2
    exit 1
fi
echo "kolmira.exe sha256 (unsigned): $(sha256sum "$stage/kolmira.exe" | cut -d' ' -f1)"
tools/windows/sign.sh "$stage/kolmira.exe"

# Every time in the zip is the last commit's, the entries in a fixed order.
zip=$PWD/$build/kolmira-$version-windows-x64.zip
rm -f "$zip"
find "$build/stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$build/stage" && printf 'Kolmira/%s\n' "${files[@]}" | TZ=UTC zip -q -X -D -9 "$zip" -@)

# The setup program installs the same files; its lists are made here.
nsis=$build/nsis
rm -rf "$nsis" && mkdir -p "$nsis"
windows_path() { echo "${1//\//\\}"; }
{
    folder=none # so that the first file sets the output folder
    for file in "${files[@]}"; do
        dir=$(dirname "$file")
        [[ $dir == . ]] && dir= || dir=\\$(windows_path "$dir")
        [[ $dir == "$folder" ]] || echo "SetOutPath \"\$INSTDIR$dir\""
        folder=$dir
        echo "File \"$PWD/$stage/$file\""
    done
} >"$nsis/files.nsh"
{
    printf 'Delete "$INSTDIR\\%s"\n' "${files[@]}"
    # Every folder, the deepest first.
    for file in "${files[@]}"; do
        dir=$(dirname "$file")
        while [[ $dir != . ]]; do echo "$dir" && dir=$(dirname "$dir"); done
    done | LC_ALL=C sort -ru | sed 's|^|RMDir "$INSTDIR\\|; s|$|"|'
} | sed 's|/|\\|g' >"$nsis/removed_files.nsh"
# The licence page shows Kolmira's licence, then what is shipped beside it
# and under which licences, in full.
{
    printf '\xef\xbb\xbf'
    for text in LICENSE.txt THIRD-PARTY.txt licenses/qt/LGPL-3.0-only.txt licenses/qt/GPL-3.0-only.txt \
        licenses/mingw-w64/gcc-runtime-copyright.txt licenses/mingw-w64/mingw-w64-copyright.txt; do
        cat "$stage/$text"
        printf '\n\n'
    done
} | sed 's/\r*$/\r/' >"$nsis/licence.txt"
setup=$PWD/$build/kolmira-$version-setup.exe
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DOUTFILE="$setup" -DLISTS="$PWD/$nsis" \
    "$PWD/data/windows/kolmira.nsi"

size=$(stat -c %s "$setup")
echo "Installed: $(du -sh "$stage" | cut -f1), ${#files[@]} files"
stat -c '%n %s' "$zip" "$setup" | awk '{printf "%s  %.1f MB\n", $1, $2 / 1000000}'
if ((size > 10000000)); then
    echo "The setup program is $size bytes, over the 10 MB a household should have to download." >&2
    exit 1
fi
