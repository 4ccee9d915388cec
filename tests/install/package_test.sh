#!/usr/bin/env bash
# Makes the Debian package from the build, unpacks it into a scratch root
# (dpkg -x), checks its files against those cmake --install lays out, and
# runs the installed programs from there: leafmill-cli --version, a PDF and a
# Kindle book through their modules, a book from the command line with the
# shipped settings, and the window program's first start, which copies
# main.ini into the user's configuration folder.
# Skipped (status 77) without cpack or dpkg-deb.
set -uo pipefail

build_dir=${1:?usage: package_test.sh <build folder>}
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null 2>&1 || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$work/package" >"$work/cpack.log" 2>&1 \
  || fail "cpack: $(tail -20 "$work/cpack.log")"
deb=$(ls "$work"/package/leafmill_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || fail "no package made: $(tail -20 "$work/cpack.log")"
depends=$(dpkg-deb -f "$deb" Depends)
for needed in libqt6widgets6 libicu72 fonts-dejavu-extra; do
  grep -q "$needed" <<<"$depends" || fail "Depends lacks $needed: $depends"
done

root=$work/root
dpkg -x "$deb" "$root" || fail "dpkg -x failed"
module=$(cd "$root" && ls usr/lib/*/leafmill/leafmill-pdf.so usr/lib/leafmill/leafmill-pdf.so 2>/dev/null | head -1)
[ -n "$module" ] || fail "the package lacks the PDF module"
kindle_module=$(dirname "$module")/leafmill-kindle.so
installed="usr/bin/leafmill usr/bin/leafmill-cli $module $kindle_module usr/share/leafmill/main.ini
  usr/share/leafmill/language/English.ini usr/share/leafmill/language/SimplifiedChinese.ini
  usr/share/leafmill/images/tit.gif usr/share/applications/leafmill.desktop
  usr/share/icons/hicolor/48x48/apps/leafmill.png usr/share/icons/hicolor/scalable/apps/leafmill.svg
  usr/share/man/man1/leafmill.1.gz usr/share/man/man1/leafmill-cli.1.gz
  usr/share/bash-completion/completions/leafmill usr/share/bash-completion/completions/leafmill-cli
  usr/share/zsh/vendor-completions/_leafmill usr/share/metainfo/org.example.leafmill.metainfo.xml
  usr/share/doc/leafmill/copyright usr/share/doc/leafmill/changelog.gz"
for file in $installed; do
  [ -e "$root/$file" ] || fail "the package lacks /$file"
done
# cmake --install lays out the same files under its prefix.
cmake --install "$build_dir" --prefix "$work/prefix" >"$work/install.log" 2>&1 || fail "cmake --install: $(cat "$work/install.log")"
for file in $installed; do
  [ -e "$work/prefix/${file#usr/}" ] || fail "cmake --install lacks ${file#usr/}"
done

export HOME=$work/home XDG_CONFIG_HOME=$work/home/config
mkdir -p "$HOME"
cli=$root/usr/bin/leafmill-cli
version=$("$cli" --version) || fail "leafmill-cli --version failed"
grep -q '1\.60' <<<"$version" || fail "unexpected version: $version"

# PDFs through the installed PDF module, found relative to the program.
LD_DEBUG=files "$cli" --text "$(dirname "$0")/../extract/pdf/fixtures/report.pdf" >"$work/pdf.txt" 2>"$work/pdf.log"
grep -q "Harbour Water Survey" "$work/pdf.txt" || fail "the installed tool reads no PDF: $(grep -v '^ *[0-9]*:' "$work/pdf.log")"
grep -q "file=$root/$module " "$work/pdf.log" \
  || fail "not the installed PDF module: $(grep 'leafmill-pdf' "$work/pdf.log")"
# Kindle books likewise through the installed Kindle module.
LD_DEBUG=files "$cli" --text "$(dirname "$0")/../extract/fixtures/report.mobi" >"$work/mobi.txt" 2>"$work/mobi.log"
grep -q "Annual Report of the Riverside Library" "$work/mobi.txt" \
  || fail "the installed tool reads no Kindle book: $(grep -v '^ *[0-9]*:' "$work/mobi.log")"
grep -q "file=$root/$kindle_module " "$work/mobi.log" \
  || fail "not the installed Kindle module: $(grep 'leafmill-kindle' "$work/mobi.log")"

# Every option of the help is completed by both shells.
for option in $("$cli" --help | grep -o -- '--[a-z-]*' | sort -u); do
  for completion in usr/share/bash-completion/completions/leafmill-cli usr/share/zsh/vendor-completions/_leafmill; do
    grep -q -- "$option\b" "$root/$completion" || fail "/$completion does not complete $option"
  done
done

# A book from the shipped settings; the tool only reads, so no user file yet.
mkdir -p "$work/out"
printf 'Call me Ishmael.\r\n%.0s' $(seq 600) >"$work/moby.txt"
"$cli" --book Moby --out "$work/out" "$work/moby.txt" >"$work/run.log" 2>&1 \
  || fail "the book run failed: $(cat "$work/run.log")"
[ -s "$work/out/Moby/Moby0000.txt" ] || fail "no pages: $(ls -R "$work/out")"
[ -s "$work/out/Moby/Moby0001.txt" ] || fail "one page only from 10 kB"
[ ! -e "$XDG_CONFIG_HOME/leafmill" ] || fail "leafmill-cli wrote the user's settings"

# The window program's first start makes the user's main.ini from the shipped one.
QT_QPA_PLATFORM=offscreen "$root/usr/bin/leafmill" >"$work/gui.log" 2>&1 &
app_pid=$!
for _ in $(seq 300); do
  [ -s "$XDG_CONFIG_HOME/leafmill/main.ini" ] && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
cmp -s "$XDG_CONFIG_HOME/leafmill/main.ini" "$root/usr/share/leafmill/main.ini" \
  || fail "no copy of the shipped main.ini in $XDG_CONFIG_HOME/leafmill: $(cat "$work/gui.log")"
kill "$app_pid" 2>/dev/null
wait "$app_pid" 2>/dev/null
app_pid=""
echo "PASS: $(basename "$deb"), Depends: $depends"
