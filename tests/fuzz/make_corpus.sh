#!/usr/bin/env bash
# Makes the seed corpora of the fuzz targets in corpus/<target>/: settings
# files written here, and pictures from the picture fixtures' script plus a
# few variants only the fuzzers need (1 x 1 pictures, transparency, run-length
# bitmaps, GIF disposal). Same bytes on every run. Files named regress-* are
# past findings and are left alone. Run from anywhere; writes next to itself.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
command -v convert >/dev/null || { echo "make_corpus: ImageMagick's convert is missing" >&2; exit 1; }
export SOURCE_DATE_EPOCH=0

# bytes HEX...: writes the bytes spelled in hex ("42 4d ..." or "424d...").
bytes() {
  local hex="$*"
  hex=${hex// /}
  printf '%b' "$(sed 's/../\\x&/g' <<<"$hex")"
}

# ------------------------------------------------------------------ settings

settings=corpus/settings
mkdir -p "$settings"

# The file as the program writes it on the first run.
cat >"$settings/window.xml" <<'EOF'
<?xml version="1.0" encoding="utf-8"?>
<root>
	<Config>
		<Cursor Type="9">5</Cursor>
		<Splash Type="9">2</Splash>
		<Picture Type="10"></Picture>
		<Size Type="9">1</Size>
		<First Type="2">0</First>
		<WavFile Type="10"></WavFile>
		<Wav Type="9">0</Wav>
	</Config>
</root>
EOF

# Every type mark with texts of its own kind, and some of the wrong kind.
cat >"$settings/types.xml" <<'EOF'
<?xml version="1.0" encoding="utf-8"?>
<root>
	<Values>
		<Bin Type="1">00,01,7F,80,FF,0A,
0B</Bin>
		<BoolTrue Type="2">-1</BoolTrue>
		<BoolWord Type="2">tRUE</BoolWord>
		<Money Type="3">-922337203685477.5808</Money>
		<Day Type="4">2024/02/29</Day>
		<Moment Type="5">1899/12/30 23:59:59</Moment>
		<Path Type="6">%HOME%\Pictures\%NOPE%%</Path>
		<Real Type="7">-1.5E-300</Real>
		<Big Type="8">-9223372036854775808</Big>
		<Hex Type="9">$7FFFFFFF</Hex>
		<Text Type="10">a&amp;amp;b &amp;lt;c&amp;gt; 日本語</Text>
		<Clock Type="11">12:00:00 PM</Clock>
		<NoMark>1e</NoMark>
		<BadMark Type="x9">0x10</BadMark>
		<Overflow Type="9">2147483648</Overflow>
		<Empty Type="4"></Empty>
	</Values>
</root>
EOF

# The other encodings and line breaks a hand-edited file may have.
{ bytes efbbbf; sed 's/$/\r/' "$settings/window.xml"; } >"$settings/utf8-bom-crlf.xml"
{ bytes fffe; iconv -f UTF-8 -t UTF-16LE "$settings/window.xml"; } >"$settings/utf16le.xml"
{ bytes feff; iconv -f UTF-8 -t UTF-16BE <<<'<root><設定 Type="10">値</設定></root>'; } >"$settings/utf16be.xml"

# Markup other than elements: the store keeps it but holds no values in it.
# (A file that declares entities is refused, so this one declares none.)
cat >"$settings/markup.xml" <<'EOF'
<?xml version="1.0" encoding="ISO-8859-1" standalone="yes"?>
<!DOCTYPE root [ <!ELEMENT root ANY> <!ATTLIST C d CDATA "default"> ]>
<!-- before -->
<?app data?>
<root a="1" b='&quot;2&#x9;'>
	<C><![CDATA[<not markup> ]]]]><![CDATA[>]]></C>
	<Mixed>text<Inner/>tail</Mixed>
	<Config><!-- inside --><Key Type="10">&#26085;&#x672C;</Key></Config>
	<Config><Key Type="9">2</Key></Config>
	<app>element named like the instruction</app>
</root>
<!-- after -->
EOF

# Deep nesting and long names.
{
  for i in $(seq 1 40); do printf '<N%d>' "$i"; done
  printf '<Key Type="9">7</Key>'
  for i in $(seq 40 -1 1); do printf '</N%d>' "$i"; done
  echo
} >"$settings/deep.xml"
long=$(printf 'Name%.0s' $(seq 1 64))
printf '<root><%s Type="10"><%s.x Type="9">1</%s.x></%s></root>\n' "$long" "$long" "$long" "$long" >"$settings/long-names.xml"

# ------------------------------------------------------------------ byte compression

# The first two bytes give the size the rest is expanded into: repeats as
# frames' colour indexes have them, and a copy in the packed form.
compression=corpus/byte_compression
mkdir -p "$compression"
{
  bytes 6400
  for _ in $(seq 1 40); do printf 'ab'; done
  for _ in $(seq 1 10); do printf 'abcabcabd'; done
} >"$compression/repeats"
bytes 1e00 e2 6162636465666768696a6b6c6d6e 0e00 a0 70717273747576777879 >"$compression/packed-copy"

# ------------------------------------------------------------------ pictures

../pictures/fixtures/make_fixtures.sh

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for format in jpeg png bitmap gif; do mkdir -p "corpus/picture_$format"; done
convert -size 1x1 xc:'rgb(10,200,30)' corpus/picture_jpeg/1x1.jpg
convert -size 1x1 xc:'rgba(10,200,30,0.5)' png32:corpus/picture_png/1x1.png
convert -size 1x1 xc:'rgb(10,200,30)' bmp3:corpus/picture_bitmap/1x1.bmp
convert -size 1x1 xc:'rgb(10,200,30)' corpus/picture_gif/1x1.gif

# JPEG: 4:2:0 chroma, which the decoder's scaling handles apart from 4:4:4.
convert -size 24x24 gradient:red-blue -sampling-factor 2x2 -quality 60 corpus/picture_jpeg/subsampled.jpg

# PNG: interlaced palette with transparency (tRNS), and 16-bit grey.
convert -size 9x5 xc:red -fill blue -draw 'rectangle 2,1 5,3' -transparent blue -interlace PNG \
  png8:corpus/picture_png/interlaced-trns.png
convert -size 9x5 gradient:white-black -depth 16 -colorspace Gray png:corpus/picture_png/gray16.png

# GIF: transparency and every disposal, frames with local colour tables.
convert -delay 5 -loop 0 -size 6x6 xc:red \
  -dispose Previous -page +1+1 -size 3x3 xc:none -fill blue -draw 'point 1,1' \
  -dispose Background -page +3+2 -size 3x4 xc:yellow \
  -dispose None -page +0+0 -size 2x2 xc:lime +map corpus/picture_gif/disposal.gif

# Bitmaps with run-length data of both kinds, written by hand since the
# encoder only makes RLE8: end of line, end of picture, a delta move, and
# absolute runs with their padding.
palette16=$(for i in $(seq 0 15); do printf '%02x%02x%02x00' $((i * 17)) $((255 - i * 17)) $((i * 8)); done)
{
  bytes 424d 8a000000 00000000 76000000                     # file header, 138 bytes, pixels at 118
  bytes 28000000 05000000 03000000 0100 0400 02000000       # 5 x 3, 4 bits, RLE4
  bytes 14000000 00000000 00000000 10000000 00000000
  bytes "$palette16"
  bytes 0512 0000 0005 345670 00 0000 0002 0100 03ff 0001   # run, line; absolute, line; delta, run, end
} >corpus/picture_bitmap/rle4.bmp
palette256=$(for i in $(seq 0 255); do printf '%02x%02x%02x00' "$i" $((255 - i)) $((i / 2)); done)
{
  bytes 424d 4a040000 00000000 36040000                     # 1098 bytes, pixels at 1078
  bytes 28000000 06000000 04000000 0100 0800 01000000       # 6 x 4, 8 bits, RLE8
  bytes 14000000 00000000 00000000 00000000 00000000
  bytes "$palette256"
  bytes 0310 0003 203040 00 0000 0002 0201 02ff 0000 0001   # run, absolute, line; delta, run, line, end
} >corpus/picture_bitmap/rle8-delta.bmp
