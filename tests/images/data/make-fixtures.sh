#!/usr/bin/env bash
# Regenerates the image fixtures with third-party tools (ImageMagick, netpbm, libjpeg-turbo, libtiff).
# Not run by the tests; the files it makes are committed. Needs: imagemagick netpbm libjpeg-turbo-progs
# libtiff-tools python3.
set -euo pipefail
cd "$(dirname "$0")"
C=/usr/bin/convert
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# 32 x 32: red top-left, lime top-right, blue bottom-left, white bottom-right (16 x 16 each, so JPEG
# chroma blocks never straddle two colours).
$C -size 16x16 xc:red xc:lime +append \( -size 16x16 xc:blue xc:white +append \) -append "$tmp/quad.ppm"
# 16 x 8 black and white halves for 1-bit files.
$C -size 8x8 xc:black xc:white +append "$tmp/mono.pbm"
# 8 x 8 with a half-transparent red left half and an opaque blue right half.
$C -size 4x8 xc:"rgba(255,0,0,0.5)" xc:blue +append "$tmp/half.png"

# BMP
$C "$tmp/quad.ppm" -type TrueColor BMP3:bmp24.bmp
ppmtobmp -windows -bpp 8 "$tmp/quad.ppm" > bmp8.bmp
$C "$tmp/quad.ppm" -type Palette -compress RLE BMP3:bmp8rle.bmp
ppmtobmp -windows -bpp 4 "$tmp/quad.ppm" > bmp4.bmp
ppmtobmp -windows -bpp 1 "$tmp/mono.pbm" > bmp1.bmp
ppmtobmp -os2 -bpp 8 "$tmp/quad.ppm" > bmpos2.bmp
$C "$tmp/quad.ppm" -define bmp:subtype=RGB565 BMP:bmp16.bmp
$C "$tmp/half.png" BMP:bmp32alpha.bmp

# JPEG
cjpeg -quality 95 "$tmp/quad.ppm" > jpeg-baseline.jpg
cjpeg -quality 95 -progressive "$tmp/quad.ppm" > jpeg-progressive.jpg
cjpeg -quality 95 -grayscale "$tmp/quad.ppm" > jpeg-grey.jpg
$C "$tmp/quad.ppm" -quality 95 -colorspace CMYK jpeg-cmyk.jpg
# 32 x 16 (left half red, right half lime) tagged "rotate 90 clockwise to show": upright it is 16 x 32,
# red on top.
$C -size 16x16 xc:red xc:lime +append "$tmp/wide.ppm"
cjpeg -quality 95 "$tmp/wide.ppm" > "$tmp/wide.jpg"
python3 - "$tmp/wide.jpg" jpeg-exif-rotate90.jpg <<'PY'
import struct, sys
data = open(sys.argv[1], 'rb').read()
tiff = b'II*\x00' + struct.pack('<I', 8) + struct.pack('<H', 1) + struct.pack('<HHII', 0x0112, 3, 1, 6) + struct.pack('<I', 0)
payload = b'Exif\x00\x00' + tiff
app1 = b'\xff\xe1' + struct.pack('>H', len(payload) + 2) + payload
open(sys.argv[2], 'wb').write(data[:2] + app1 + data[2:])
PY

# PNG
$C "$tmp/quad.ppm" PNG24:png-rgb.png
$C "$tmp/half.png" PNG32:png-half-alpha.png
$C "$tmp/quad.ppm" PNG8:png-palette.png
$C "$tmp/quad.ppm" -transparent white PNG8:png-palette-trns.png
$C "$tmp/quad.ppm" -colorspace Gray -define png:color-type=0 -define png:bit-depth=8 png-grey8.png
$C "$tmp/mono.pbm" -define png:color-type=0 -define png:bit-depth=1 png-grey1.png
$C "$tmp/quad.ppm" -colorspace Gray -depth 16 -define png:color-type=0 png-grey16.png
$C "$tmp/half.png" -colorspace Gray -define png:color-type=4 png-grey-alpha.png
$C "$tmp/quad.ppm" -depth 16 PNG48:png-rgb16.png
$C "$tmp/quad.ppm" -interlace PNG PNG24:png-interlaced.png
