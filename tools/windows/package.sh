#!/usr/bin/env bash
# Packs the Windows build: installs it into one folder (stripped), checks
# that every .exe and .dll there carries the ASLR, high-entropy ASLR and DEP
# marks and finds every DLL it imports, and that kolmira.exe is a GUI
# program; then writes kolmira-<version>-windows-x64.zip and
# kolmira-<version>-setup.exe (NSIS) into the build folder.
set -euo pipefail
cd "$(dirname "$0")/../.."

build=${BUILD_DIR:-build-windows}
tools/setup.sh nsis zip binutils-mingw-w64-x86-64 >&2
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
objdump=x86_64-w64-mingw32-objdump
# Every time in the packages is the last commit's: git is there wherever this runs.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH

stage=$build/stage/Kolmira
rm -rf "$build/stage"
cmake --install "$build" --prefix "$stage" --strip >/dev/null
# install(FILES) leaves the DLLs as they came; unstripped, libstdc++ alone is 24 MB.
find "$stage" -name '*.dll' -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

# Every shipped file, checked the way Windows' loader will see it.
mapfile -t binaries < <(cd "$stage" && find . -name '*.exe' -o -name '*.dll' | sed 's|^\./||' | LC_ALL=C sort)
shipped=$(printf '%s\n' "${binaries[@]##*/}" | tr '[:upper:]' '[:lower:]')
# A DLL that MinGW or Qt provides must be shipped; the rest are Windows' own.
IFS=';' read -r -a dll_folders < <(sed -n 's/^KOLMIRA_DLL_FOLDERS:INTERNAL=//p' "$build/CMakeCache.txt")
provided=$(ls "${dll_folders[@]}" | grep -i '\.dll$' | tr '[:upper:]' '[:lower:]' | sort -u)
failed=0
echo "File                                  Subsystem        DLL characteristics"
for binary in "${binaries[@]}"; do
    headers=$(LC_ALL=C $objdump -p "$stage/$binary")
    subsystem=$(sed -n 's/^Subsystem[[:space:]]*[0-9a-f]*[[:space:]]*(\(.*\))/\1/p' <<<"$headers")
    marks=$(sed -n '/^DllCharacteristics/,/^SizeOfStackReserve/p' <<<"$headers" |
        sed -n 's/^[[:space:]]\+\([A-Z_]\+\)$/\1/p' | tr '\n' ' ')
    printf '%-37s %-16s %s\n' "$binary" "$subsystem" "$marks"
    for mark in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
        [[ " $marks" == *" $mark "* ]] || { echo "  $binary lacks $mark" >&2; failed=1; }
    done
    for dll in $(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]'); do
        if grep -qxF "$dll" <<<"$provided" && ! grep -qxF "$dll" <<<"$shipped"; then
            echo "  $binary needs $dll, which is not shipped" >&2
            failed=1
        fi
    done
done
[[ $(LC_ALL=C $objdump -p "$stage/kolmira.exe" | grep '^Subsystem') == *"(Windows GUI)" ]] ||
    { echo "  kolmira.exe is not a GUI program: Windows would open a console beside it" >&2; failed=1; }
if [[ $failed -ne 0 ]]; then
    echo "The Windows build is not fit to ship; see above." >&2
    exit 1
fi
echo "kolmira.exe sha256: $(sha256sum "$stage/kolmira.exe" | cut -d' ' -f1)"

# Every time in the zip is the last commit's, the entries in a fixed order.
zip=$PWD/$build/kolmira-$version-windows-x64.zip
rm -f "$zip"
find "$build/stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
(cd "$build/stage" && find Kolmira | LC_ALL=C sort | TZ=UTC zip -q -X -D -9 "$zip" -@)

# The setup program installs the same folder; its file lists are made here.
nsis=$build/nsis
rm -rf "$nsis" && mkdir -p "$nsis"
stage_windows() { sed 's|/|\\|g' <<<"$1"; }
(cd "$stage" && find . -type f | sed 's|^\./||' | LC_ALL=C sort) >"$nsis/files"
{
    folder=none # so that the first file sets the output folder
    while read -r file; do
        dir=$(dirname "$file")
        [[ $dir == . ]] && dir= || dir=\\$(stage_windows "$dir")
        if [[ $dir != "$folder" ]]; then
            echo "SetOutPath \"\$INSTDIR$dir\""
            folder=$dir
        fi
        echo "File \"$PWD/$stage/$file\""
    done <"$nsis/files"
} >"$nsis/files.nsh"
{
    sed 's|^|Delete "$INSTDIR\\|; s|$|"|; s|/|\\|g' "$nsis/files"
    (cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | LC_ALL=C sort -r) |
        sed 's|^|RMDir "$INSTDIR\\|; s|$|"|; s|/|\\|g'
} >"$nsis/removed_files.nsh"
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
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DOUTFILE="$setup" \
    -DICON="$PWD/data/windows/kolmira.ico" -DLICENSE="$PWD/$nsis/licence.txt" \
    -DFILES="$PWD/$nsis/files.nsh" -DREMOVED_FILES="$PWD/$nsis/removed_files.nsh" \
    -DSIZE_KB="$(du -sk "$stage" | cut -f1)" -DGUIDE=README.sv.html \
    data/windows/kolmira.nsi

size=$(stat -c %s "$setup")
echo "Installed: $(du -sh "$stage" | cut -f1), $(wc -l <"$nsis/files") files"
ls -l "$zip" "$setup" | awk '{printf "%s  %.1f MB\n", $NF, $5 / 1000000}'
if ((size > 10000000)); then
    echo "The setup program is $size bytes, over the 10 MB a household should have to download." >&2
    exit 1
fi
