#!/usr/bin/env bash
# Cuts CR LF texts with the leafmill-cli of an earlier revision and with this
# tree's, and compares the books byte for byte: a text whose lines all end
# with CR LF is cut as before.
#   bench/crlf-before-after.sh [BASE]     (BASE: a git revision, main by default)
# The texts are the samples of tests/fixtures/encodings/source, each in UTF-8
# and in its language's legacy code page (the code page of its run), with CR
# LF line ends, repeated to about 300 KB; each is cut with three cut types
# and cut-word lists. Chinese and Japanese texts, whose full-width sentence
# ends now end pages where no cut word is found, are listed apart.
set -euo pipefail
. "$(dirname "$0")/bench-common.sh"
base=${1:-main}
samples="$root/tests/fixtures/encodings/source"

echo "Building leafmill-cli of $base ..."
mkdir -p "$work/base"
git -C "$root" archive "$base" | tar -x -C "$work/base"
cmake -S "$work/base" -B "$work/base/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLEAFMILL_BUILD_TESTS=OFF \
    -DLEAFMILL_BUILD_GUI=OFF >/dev/null
cmake --build "$work/base/build" --target leafmill-cli program_folder >/dev/null
before="$work/base/build/Leafmill/leafmill-cli"

# settings FILE CODEPAGE SIZE WINDOW KEEP WORDS...: a main.ini for one cut type.
settings() {
    local file=$1 codePage=$2 size=$3 window=$4 keep=$5
    shift 5
    {
        printf '[MainSettings]\r\nCodePage=%s\r\nCutTypeNum=0\r\nSingleFileSize0=%s\r\nInOutFileSize0=%s\r\n' \
            "$codePage" "$size" "$window"
        printf 'Filter=All|*.*\r\nCutWordNum=%s\r\n[UserSettings]\r\nMyLagIndex=English\r\nCutTypeIndex=0\r\n' $(($# - 1))
        printf 'KeepFileSize=%s\r\n' "$keep"
        local i=0
        for word in "$@"; do printf 'CutWord%s=%s\r\n' $i "$word"; i=$((i + 1)); done
    } >"$file"
}

python3 - "$samples" "$work/texts" <<'PY'
import os, sys
samples, out = sys.argv[1:]
os.makedirs(out)
legacy = {"zh-hans": "gbk", "zh": "gbk", "zh-hant": "cp950", "ja": "cp932", "ko": "cp949", "ru": "cp1251", "uk": "cp1251",
          "bg": "cp1251", "el": "cp1253", "he": "cp1255", "ar": "cp1256", "tr": "cp1254", "th": "cp874",
          "vi": "utf-8", "lt": "cp1257", "lv": "cp1257", "et": "cp1257"}
central = {"pl", "cs", "hu", "sk", "hr", "ro", "sl"}
for name in sorted(os.listdir(samples)):
    language = name[:-4]
    text = open(os.path.join(samples, name), encoding="utf-8").read().replace("\n", "\r\n")
    text = text * (300_000 // len(text.encode("utf-8")) + 1)
    family = language.removesuffix("-2")
    codec = legacy.get(family, "cp1250" if family in central else "cp1252")
    for encoding in sorted({"utf-8", codec}):
        open(os.path.join(out, f"{language}.{encoding}.txt"), "wb").write(text.encode(encoding))
PY

# why.py BEFORE AFTER CODEPAGE: why the first page that differs does.
cat >"$work/why.py" <<'PY'
import os, re, sys
before, after, codec = sys.argv[1], sys.argv[2], {"windows-936": "gbk", "windows-950": "cp950",
                                                   "windows-31j": "cp932", "windows-949": "cp949"}.get(sys.argv[3], sys.argv[3])
read = lambda folder, name: open(os.path.join(folder, name), "rb").read()[:-2].decode(codec, "replace")
names = sorted(os.listdir(before))
for i, name in enumerate(names):
    old, new = read(before, name), read(after, name)
    if old == new:
        continue
    line = old[old.rfind("\n") + 1:] + read(before, names[i + 1]).split("\r\n")[0] if i + 1 < len(names) else ""
    if re.match(r"(Chapter|CHAPTER|Part|Book) [0-9IVXLC]+|第[0-9一二三四五六七八九十百千]+[章回节卷部篇集]", line.strip()):
        print(f"{name}: the earlier cut fell inside a chapter heading, {line.strip()!r}")
    elif new.rstrip("」』”")[-1:] in "。！？；．｡":
        print(f"{name}: the new one ends at a full-width sentence end, {new[-12:]!r}")
    else:
        print(f"{name}: {old[-20:]!r} became {new[-20:]!r}")
    break
else:
    print(f"{len(names)} pages before, {len(os.listdir(after))} after")
PY

declare -A codePages=([utf-8]=UTF-8 [gbk]=windows-936 [cp950]=windows-950 [cp932]=windows-31j [cp949]=windows-949)
same=0
differ=()
for text in "$work"/texts/*.txt; do
    name=$(basename "$text" .txt)
    codec=${name#*.}
    codePage=${codePages[$codec]:-windows-${codec#cp}}
    for cutType in "4000 400 0 enter . ! ? ; space" "2000 200 16 enter . ! ? ; space" "1000 500 0 space enter"; do
        # shellcheck disable=SC2086
        settings "$work/main.ini" "$codePage" $cutType
        rm -rf "$work/before" "$work/after"
        mkdir -p "$work/before" "$work/after"
        "$before" --settings "$work/main.ini" --book Book --out "$work/before" "$text" >/dev/null 2>&1 || true
        "$cli" --settings "$work/main.ini" --book Book --out "$work/after" "$text" >/dev/null 2>&1 || true
        if [ -n "$(ls -A "$work/before/Book")" ] && diff -rq "$work/before" "$work/after" >/dev/null; then
            same=$((same + 1))
        else
            differ+=("$name [${cutType}]: $(python3 "$work/why.py" "$work/before/Book" "$work/after/Book" "$codePage")")
        fi
    done
done
echo "Books cut byte for byte as before: $same"
echo "Books cut otherwise: ${#differ[@]}, at their first differing page:"
printf '  %s\n' "${differ[@]}"
status=0
for line in "${differ[@]}"; do
    case $line in *"inside a chapter heading"* | *"at a full-width sentence end"*) ;; *) status=1 ;; esac
done
[ $status -eq 0 ] && echo "Every other book differs only by a cut moved out of a heading or to a sentence end." \
    || echo "Some books differ for another reason."
exit $status
