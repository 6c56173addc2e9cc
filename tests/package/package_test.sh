#!/usr/bin/env bash
# The packages as a player or a host receives them, not the build tree: the installed tree against
# its manifest, the desktop entry and the metadata through their validators, the Debian package
# through lintian and then unpacked and started under Xvfb, the Windows zip's program started
# under Wine, and the web bundle's page at the top of its zip.
#
#   package_test.sh DIST BUILD SHOT_PROBE OUT
#     DIST        what scripts/package made
#     BUILD       the build tree of the Debian package (preset package)
#     SHOT_PROBE  the end-to-end screenshot tool (tests/e2e/shot_probe.cpp)
#     OUT         made afresh: the installed tree, the unpacked packages, screenshots and logs
set -uo pipefail

dist=$(realpath "$1") build=$(realpath "$2") probe=$(realpath "$3") out=$4
rm -rf "$out" && mkdir -p "$out" && out=$(realpath "$out")

# scripts/test installs these with the other test packages (scripts/deps.sh).
for tool in cmake dpkg-deb lintian desktop-file-validate appstreamcli unzip Xvfb xdotool import \
  convert identify wine wineboot wineserver x86_64-w64-mingw32-objdump; do
  command -v "$tool" >/dev/null || { echo "FAIL - $tool is missing"; exit 1; }
done

# shellcheck source=../checks.sh
source "$(dirname "${BASH_SOURCE[0]}")/../checks.sh"
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"; }

version=$(cached CMAKE_PROJECT_VERSION)
app_id=$(cached QUARVELINGDROME_APP_ID)
bindir=$(cached CMAKE_INSTALL_BINDIR)
echo "quarvelingdrome $version, id $app_id"
check "the id $app_id is reverse-DNS: three or more lower-case dotted parts" \
  grep -Eqx '[a-z][a-z0-9_]*(\.[a-z][a-z0-9_]*){2,}' <<<"$app_id"

# ---- The first frame, judged by the end-to-end screenshot tool ---------------------------------
# first_frame SHOT.ppm: whether the shot shows the game's first frame: the sky's top rows in their
# colour RGB(42, 46, 115) (a patch clear of the flyer, the score label and the enemies), and the
# level flyer at its start in the top-left corner. Only this function names the tool.
first_frame() {
  local matching total
  read -r matching _ total < <("$probe" count "$1" 42 46 115 130 30 290 62)
  [ -n "$matching" ] && [ $((matching * 10)) -ge $((total * 9)) ] &&
    [ "$("$probe" find "$1" 105 | awk '{print $2, $3}')" = "0 0" ]
}

# ---- A private display -------------------------------------------------------------------------
pids=()
wine_prefix=""  # set once this script has made its own Wine prefix
cleanup() {
  if [ -n "$wine_prefix" ]; then
    WINEPREFIX=$wine_prefix timeout 20 wineserver -k >/dev/null 2>&1
    WINEPREFIX=$wine_prefix timeout 20 wineserver -w >/dev/null 2>&1
  fi
  for pid in "${pids[@]}"; do
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
}
trap cleanup EXIT
number=$((200 + $$ % 500))
while [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; do
  number=$((number + 1))
done
Xvfb ":$number" -screen 0 1024x768x24 -nolisten tcp -ardelay 5000 -arinterval 5000 \
  >"$out/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$number"
for _ in $(seq 50); do
  xdotool getdisplaygeometry >/dev/null 2>&1 && break
  sleep 0.1
done

# shows_first_frame NAME: waits for the game's window (started by the caller) and takes shots of
# it until one shows the first frame, for at most 20 s; the shots stay in OUT as NAME.png/.ppm.
shows_first_frame() {
  local name=$1 window
  window=$(timeout -k 2 60 xdotool search --sync --onlyvisible --name '^quarvelingdrome$' |
    head -n 1)
  [ -n "$window" ] || return 1
  game_window=$window
  for _ in $(seq 80); do
    import -window "$window" "$out/$name.png" 2>/dev/null &&
      convert "$out/$name.png" -depth 8 "$out/$name.ppm" && first_frame "$out/$name.ppm" &&
      return 0
    sleep 0.25
  done
  return 1
}

# exit_code PID: the exit code of PID, or 124 if it still runs after 10 s.
exit_code() {
  for _ in $(seq 100); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$1" 2>/dev/null && kill -KILL "$1" 2>/dev/null && return 124
  wait "$1"
}

# ---- The installed tree ------------------------------------------------------------------------
echo "# cmake --install into $out/installed"
root=$out/installed
cmake --install "$build" --prefix "$root/usr" >"$out/install.log" 2>&1 ||
  fail "cmake --install (see install.log)"
manifest=$build/install_manifest.txt
sort "$manifest" >"$out/manifest.txt"
find "$root" -type f -o -type l | sort >"$out/tree.txt"
check "the installed tree holds exactly the files of install_manifest.txt" \
  diff -u "$out/manifest.txt" "$out/tree.txt"
sed "s|^$root/usr/||" "$out/manifest.txt" >"$out/installed.txt"
sort >"$out/expected.txt" <<EOF
$bindir/quarvelingdrome
share/applications/$app_id.desktop
share/metainfo/$app_id.metainfo.xml
share/icons/hicolor/48x48/apps/$app_id.png
share/icons/hicolor/64x64/apps/$app_id.png
share/icons/hicolor/128x128/apps/$app_id.png
share/icons/hicolor/256x256/apps/$app_id.png
share/icons/hicolor/scalable/apps/$app_id.svg
share/man/man6/quarvelingdrome.6.gz
share/doc/quarvelingdrome/copyright
share/doc/quarvelingdrome/changelog.gz
EOF
check "the manifest: program, desktop entry, metadata, 5 icons, manual page, copyright, changelog" \
  diff -u "$out/expected.txt" "$out/installed.txt"

desktop=$root/usr/share/applications/$app_id.desktop
metainfo=$root/usr/share/metainfo/$app_id.metainfo.xml
check "desktop-file-validate passes on the desktop entry" desktop-file-validate "$desktop"
check "appstreamcli validate --no-net passes on the metadata" \
  appstreamcli validate --no-net "$metainfo"
check "the desktop entry starts quarvelingdrome, shows icon $app_id and sits in Game;ArcadeGame" \
  test "$(grep -E '^(Exec|Icon|Categories)=' "$desktop" | sort | tr '\n' ' ')" = \
  "Categories=Game;ArcadeGame; Exec=quarvelingdrome Icon=$app_id "
metadata_ties_up() {
  grep -q "<id>$app_id</id>" "$metainfo" &&
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" &&
    grep -q "<control>keyboard</control>" "$metainfo"
}
check "the metadata has the same id, launches the desktop entry and requires a keyboard" \
  metadata_ties_up
for size in 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x$size/apps/$app_id.png
  # Size, whether it has an alpha channel, and the corner pixel's alpha.
  facts=$(identify -format '%w %h %[channels] %[fx:p{0,0}.a]' "$icon" 2>/dev/null)
  check "the $size-pixel icon is ${size}x$size RGBA with transparent corners ($facts)" \
    test "$facts" = "$size $size srgba 0"
  red=$(convert "$icon" -alpha off -fill black +opaque '#ff0000' -fill white -opaque '#ff0000' \
    -format '%[fx:mean*w*h]' info: 2>/dev/null)
  check "no pure red is left in the $size-pixel icon ($red pixels)" test "${red%.*}" = 0
  # The flyer along the diagonal covers about an eighth of the square, fully opaque.
  opaque=$(convert "$icon" -alpha extract -threshold 99% -format '%[fx:round(mean*100)]' info:)
  check "the flyer covers $opaque% of the $size-pixel icon opaquely (10 to 20%)" \
    test "$opaque" -ge 10 -a "$opaque" -le 20
done
check "the scalable icon is an SVG picture with a square view box" \
  grep -q '^<svg xmlns="http://www.w3.org/2000/svg" .*viewBox="0 0 256 256">$' \
  "$root/usr/share/icons/hicolor/scalable/apps/$app_id.svg"
manual_page_says_it() {
  local page
  page=$(zcat "$1") && grep -q '^\.TH QUARVELINGDROME 6 ' <<<"$page" &&
    grep -q '^\.SH KEYS' <<<"$page" && grep -q '^\.SH OPTIONS' <<<"$page" &&
    grep -q '^\.SH FILES' <<<"$page" && grep -q '^\.SH EXIT STATUS' <<<"$page"
}
check "the manual page is section 6 with the keys, the options, the files and the exit status" \
  manual_page_says_it "$root/usr/share/man/man6/quarvelingdrome.6.gz"

# ---- The Debian package ------------------------------------------------------------------------
deb=$dist/quarvelingdrome_${version}_amd64.deb
echo "# $deb"
check "dist holds $(basename "$deb")" test -f "$deb"
field() { dpkg-deb -f "$deb" "$1"; }
check "its control file: section games, version $version, a maintainer, a description" \
  test "$(field Section) $(field Version)" = "games $version" -a -n "$(field Maintainer)" \
  -a -n "$(field Description)"
# dpkg-shlibdeps writes each library's package with the lowest version the program needs.
depends_from_program() {
  grep -Eq '(^|, )libsdl2-2\.0-0 \(>= [0-9.]+\)' <<<"$1" &&
    grep -Eq '(^|, )libc6 \(>= [0-9.]+\)' <<<"$1"
}
check "its dependencies come from the program: SDL2 and the C library ($(field Depends))" \
  depends_from_program "$(field Depends)"
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | sed 's|^\./usr/||' | sort >"$out/deb.txt"
check "it holds the same files as the installed tree, the program in /usr/games" \
  diff -u "$out/expected.txt" <(sed "s|^$bindir/|games/|" "$out/deb.txt" | sort)
grep -qx games/quarvelingdrome "$out/deb.txt" || fail "the package's program is not /usr/games"
lintian --pedantic --display-info "$deb" >"$out/lintian.txt" 2>&1
grep -v '^running with root privileges' "$out/lintian.txt" | sed 's/^/  lintian: /'
check "lintian reports no error" test -z "$(grep '^E:' "$out/lintian.txt")"

# Unpacked into a private root and started from there, the system's libraries beside it.
unpacked=$out/deb-root
dpkg-deb -x "$deb" "$unpacked"
SDL_AUDIODRIVER=dummy timeout -k 5 120 "$unpacked/usr/games/quarvelingdrome" 2>"$out/deb-game.log" &
game=$!
pids+=("$game")
check "the unpacked package's program shows the first frame under Xvfb" shows_first_frame deb-first
kill -TERM "$game" 2>/dev/null
exit_code "$game"
check "it ends with exit code 0 on SIGTERM" test $? -eq 0

# ---- The Windows zip ---------------------------------------------------------------------------
zip=$dist/quarvelingdrome-$version-windows.zip
echo "# $zip"
check "dist holds $(basename "$zip")" test -f "$zip"
unzip -q "$zip" -d "$out/windows"
folder=$out/windows/quarvelingdrome-$version-windows
inside=./quarvelingdrome-$version-windows
check "it unpacks into one folder holding quarvelingdrome.exe and README.txt, nothing else" \
  test "$(cd "$out/windows" && find . -type f | sort | tr '\n' ' ')" = \
  "$inside/README.txt $inside/quarvelingdrome.exe "
readme_says_it() {
  grep -q "Arrow keys" "$1" && grep -q "Space" "$1" && grep -q "needs nothing else" "$1"
}
check "README.txt names the keys and says nothing else is needed" \
  readme_says_it "$folder/README.txt"
dlls=$(x86_64-w64-mingw32-objdump -p "$folder/quarvelingdrome.exe" |
  awk '/DLL Name:/ {print toupper($3)}' | sort | tr '\n' ' ')
# ADVAPI32 comes with the stack protector, whose guard value is seeded from the system's random
# source.
check "the program imports only Windows' own DLLs ($dlls)" \
  test -z "$(tr ' ' '\n' <<<"$dlls" |
    grep -vxE '|(ADVAPI32|GDI32|KERNEL32|MSIMG32|MSVCRT|USER32|WINMM)\.DLL')"

# A fresh Wine prefix on this display; its background processes write to a log.
wine_prefix=$out/wineprefix
export WINEPREFIX=$wine_prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winealsa.drv,winepulse.drv=d"
timeout -k 5 180 wineboot -i </dev/null >"$out/wineboot.log" 2>&1 || fail "wineboot failed"
timeout 20 wineserver -p 60 </dev/null >>"$out/wineboot.log" 2>&1
timeout -k 5 60 wine cmd /c exit </dev/null >>"$out/wineboot.log" 2>&1
timeout -k 5 120 wine "$folder/quarvelingdrome.exe" </dev/null >"$out/wine-game.log" 2>&1 &
game=$!
pids+=("$game")
check "the zip's program shows the first frame under Wine" shows_first_frame wine-first
xdotool mousemove --window "$game_window" 400 300 key alt+F4 2>/dev/null
exit_code "$game"
check "it ends with exit code 0 on Alt+F4" test $? -eq 0

# ---- The web bundle ----------------------------------------------------------------------------
web=$dist/quarvelingdrome-$version-web.zip
if [ -f "$web" ]; then
  check "the web bundle has the page's index.html at its top, as a static host serves it" \
    grep -qx index.html <<<"$(unzip -Z1 "$web")"
else
  echo "# no web bundle in dist/: scripts/package skipped it (no web preset on this branch)"
fi

if [ "$failures" -gt 0 ]; then
  echo "packages: $failures check(s) failed; artifacts in $out"
  exit 1
fi
echo "packages: all checks passed; artifacts in $out"
