#!/usr/bin/env bash
# Checks the release files as a group uploads them: each archive holds exactly its files; the
# Windows product imports only DLLs every Windows has and carries no debug sections; the Linux
# intro needs only libraries a desktop system has and no glibc newer than the oldest compo
# machine's; the nfo is code page 437 with DOS line ends and the version; the screenshot is a
# whole window; the Debian package's tools run from where dpkg-deb unpacks it (nothing is
# installed), and lintian reports no error.
# Usage: release_files_test.sh DIST_DIR VERSION MODULE
# shellcheck source-path=SCRIPTDIR
set -euo pipefail
# shellcheck source=../e2e/lib.sh
source "$(dirname "${BASH_SOURCE[0]}")/../e2e/lib.sh"

(($# == 3)) || { echo "usage: $0 DIST_DIR VERSION MODULE" >&2; exit 2; }
dist=$1 version=$2 module=$3
require_tools unzip tar readelf objdump i686-w64-mingw32-objdump identify dpkg-deb lintian iconv
zip=$dist/omra-$version-windows.zip
tarball=$dist/omra-$version-linux-x86_64.tar.gz
deb=$dist/omra_${version}_amd64.deb
for file in "$zip" "$tarball" "$deb"; do
    [[ -f "$file" ]] || fail "$file was not made"
done
work=$(mktemp -d -t omra-release.XXXXXX)
remove_work() { rm -rf "$work"; }
E2E_CLEANUP_HOOKS+=(remove_work)

# --- The archives' contents.
listed=$(unzip -Z1 "$zip" | sort | tr '\n' ' ')
[[ "$listed" == "omra.exe omra.nfo omra.png " ]] || fail "the zip holds $listed"
top=omra-$version-linux-x86_64
listed=$(tar tzf "$tarball" | sort | tr '\n' ' ')
[[ "$listed" == "$top/ $top/omra $top/omra.nfo $top/omra.png " ]] || fail "the tarball holds $listed"
pass "the zip and the tarball hold the intro, its nfo and its screenshot"
unzip -q -d "$work/windows" "$zip"
tar xzf "$tarball" -C "$work"

# --- The Windows product.
imports=$(i686-w64-mingw32-objdump -p "$work/windows/omra.exe" | awk '/DLL Name:/ { print toupper($3) }' | sort | tr '\n' ' ')
[[ "$imports" == "GDI32.DLL KERNEL32.DLL MSVCRT.DLL OPENGL32.DLL USER32.DLL WINMM.DLL " ]] ||
    fail "omra.exe imports $imports"
i686-w64-mingw32-objdump -h "$work/windows/omra.exe" | grep -q '\.debug' && fail "omra.exe carries debug sections"
i686-w64-mingw32-objdump -f "$work/windows/omra.exe" | grep -q 'file format pei-i386' ||
    fail "omra.exe is not a 32-bit Windows program"
pass "omra.exe: 32-bit, no debug sections, imports only $imports"

# --- The Linux intro: what it needs from the system it lands on. SDL is linked in and brings
# the window-system and sound libraries it was built against.
allowed="libc.so.6 libm.so.6 libgcc_s.so.1 libstdc++.so.6 libX11.so.6 libXext.so.6 libXcursor.so.1
libXi.so.6 libXfixes.so.3 libXrandr.so.2 libXss.so.1 libxkbcommon.so.0 libwayland-client.so.0
libwayland-cursor.so.0 libwayland-egl.so.1 libdecor-0.so.0 libdrm.so.2 libgbm.so.1 libasound.so.2
libpulse.so.0 libsamplerate.so.0"
intro=$work/$top/omra
needed=$(readelf -d "$intro" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
for library in $needed; do
    grep -qw -- "$library" <<<"$allowed" || fail "the Linux intro needs $library"
done
grep -qx 'libSDL2-2.0.so.0' <<<"$needed" && fail "the Linux intro needs libSDL2"
newest=$(objdump -T "$intro" | grep -o 'GLIBC_[0-9.]*' | sed 's/GLIBC_//' | sort -V | tail -n 1)
[[ "$(printf '%s\n2.35\n' "$newest" | sort -V | tail -n 1)" == 2.35 ]] ||
    fail "the Linux intro needs glibc $newest, newer than 2.35"
pass "the Linux intro needs $(wc -w <<<"$needed") libraries, none of them SDL, and glibc $newest at most"
"$intro" --version | grep -qx "omra $version" || fail "the Linux intro's --version is not 'omra $version'"

# --- The nfo and the screenshot, the same in both archives.
cmp -s "$work/windows/omra.nfo" "$work/$top/omra.nfo" || fail "the archives' nfo files differ"
cmp -s "$work/windows/omra.png" "$work/$top/omra.png" || fail "the archives' screenshots differ"
nfo=$work/windows/omra.nfo
grep -q $'\r$' "$nfo" && ! grep -qv $'\r$' "$nfo" || fail "omra.nfo does not end every line with CR LF"
iconv -f CP437 -t UTF-8 "$nfo" | grep -q "version .* $version" || fail "omra.nfo does not give the version"
iconv -f CP437 -t UTF-8 "$nfo" | grep -q '▄██████▄' || fail "omra.nfo's art is not code page 437"
[[ "$(identify -format '%wx%h' "$work/windows/omra.png")" == 960x540 ]] || fail "omra.png is not a 960x540 window"
pass "omra.nfo is code page 437 with CR LF and the version; omra.png is a whole window"

# --- The Debian package, unpacked where nothing is installed.
dpkg-deb -x "$deb" "$work/deb"
for tool in omra xmrender omra-capture omra-pack; do
    "$work/deb/usr/bin/$tool" --version | grep -q "$version" || fail "the package's $tool does not answer --version"
    [[ -f "$work/deb/usr/share/man/man1/$tool.1.gz" ]] || fail "the package has no man page for $tool"
done
"$work/deb/usr/bin/xmrender" --seconds 2 "$module" "$work/two-seconds.wav" 2>"$work/xmrender.err" ||
    fail "the package's xmrender could not render $module" "$work/xmrender.err"
(($(stat -c %s "$work/two-seconds.wav") == 44 + 2 * 44100 * 4)) || fail "the package's xmrender wrote a WAV of the wrong length"
depends=$(dpkg-deb -f "$deb" Depends)
[[ "$depends" == *libc6* && "$depends" == *libavcodec* ]] || fail "the package's dependencies were not computed: $depends"
lintian --no-tag-display-limit "$deb" >"$work/lintian.log" 2>&1 || fail "lintian finds errors in the package" "$work/lintian.log"
pass "the package's tools run unpacked, with man pages and computed dependencies; lintian: $(grep -c '^[EW]:' "$work/lintian.log" || true) errors or warnings"
