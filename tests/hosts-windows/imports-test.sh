#!/usr/bin/env bash
# Checks the cross-built Windows binaries: 64-bit PE files that import only DLLs every Windows has
# (no MinGW runtime, no libpng or zlib DLL), a VST3 module exporting the VST3 entry points and a
# Standalone app built for the GUI subsystem (no console window).
# Usage: imports-test.sh VST3_DLL STANDALONE_EXE
set -uo pipefail

objdump=x86_64-w64-mingw32-objdump
command -v "$objdump" >/dev/null || { echo "FAIL: $objdump is missing (scripts/build-windows.sh installs it)"; exit 1; }

# Windows' own DLLs, present on every 64-bit Windows since 7.
system_dlls="advapi32 bcrypt comctl32 comdlg32 crypt32 d2d1 d3d11 dwmapi dwrite dxgi gdi32 imm32 kernel32
    msvcrt ole32 oleaut32 opengl32 rpcrt4 setupapi shell32 shlwapi user32 uxtheme version winhttp wininet
    winmm winspool ws2_32 wsock32"
system_dlls=" $(echo $system_dlls) "

failed=0
fail() { echo "FAIL: $*"; failed=1; }

check() {
    local file="$1" kind="$2" info imports dll name
    [ -f "$file" ] || { fail "$file was not built"; return; }
    info="$("$objdump" -p "$file")" || { fail "$objdump cannot read $file"; return; }
    echo "== $file"
    grep -q "file format pei-x86-64" <<<"$info" || fail "$kind: not a 64-bit Windows binary"
    imports="$(awk '/DLL Name:/ {print $3}' <<<"$info")"
    echo "imports: $(echo $imports)"
    [ -n "$imports" ] || fail "$kind: no import table"
    for dll in $imports; do
        name="$(echo "${dll%.*}" | tr 'A-Z' 'a-z')"
        case "$system_dlls" in
            *" $name "*) ;;
            *) fail "$kind imports $dll, which is not a Windows system DLL" ;;
        esac
    done
    case "$kind" in
        VST3)
            for entry in GetPluginFactory InitDll ExitDll; do
                grep -Eq "\] $entry\$" <<<"$info" || fail "VST3 does not export $entry"
            done
            ;;
        Standalone)
            grep -q "^Subsystem.*(Windows GUI)" <<<"$info" || fail "Standalone is not a GUI-subsystem program";;
    esac
}

check "$1" VST3
check "$2" Standalone
[ "$failed" -eq 0 ] && echo "both binaries import Windows system DLLs only"
exit "$failed"
