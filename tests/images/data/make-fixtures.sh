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

# GIF
$C "$tmp/quad.ppm" gif-quad.gif
$C "$tmp/quad.ppm" -interlace GIF gif-interlaced.gif
$C "$tmp/quad.ppm" -transparent white gif-transparent.gif
$C -delay 10 "$tmp/quad.ppm" \( "$tmp/quad.ppm" -negate \) gif-animated.gif

# TIFF
$C "$tmp/quad.ppm" -compress None tiff-none.tif
$C "$tmp/quad.ppm" -compress LZW tiff-lzw.tif
$C "$tmp/quad.ppm" -compress Zip tiff-deflate.tif
$C "$tmp/quad.ppm" -compress JPEG -quality 95 tiff-jpeg.tif
$C "$tmp/quad.ppm" -compress RLE tiff-packbits.tif
$C "$tmp/quad.ppm" -type Palette tiff-palette.tif
$C "$tmp/quad.ppm" -depth 16 -compress LZW tiff-rgb16.tif
$C "$tmp/mono.pbm" -compress Group4 tiff-g4.tif
$C "$tmp/half.png" -alpha on tiff-alpha.tif
tiffcp -t -w 16 -l 16 tiff-lzw.tif tiff-tiled.tif
$C "$tmp/quad.ppm" \( "$tmp/quad.ppm" -negate \) -compress LZW tiff-pages.tif

# ICO: three entries; the 32 x 32 one is chosen.
$C "$tmp/quad.ppm" -define icon:auto-resize=16,32,24 ico-quad.ico
$C "$tmp/half.png" ico-alpha.ico
$C "$tmp/quad.ppm" -resize 256x256 PNG32:"$tmp/big.png"
$C "$tmp/big.png" -define icon:auto-resize=256,16 ico-png.ico

# PCX
$C "$tmp/quad.ppm" -type TrueColor pcx-24.pcx
ppmtopcx -8bit "$tmp/quad.ppm" > pcx-8.pcx
ppmtopcx -planes 4 "$tmp/quad.ppm" > pcx-4planes.pcx
ppmtopcx -packed "$tmp/quad.ppm" > pcx-4packed.pcx
pbmtopcx "$tmp/mono.pbm" 2>/dev/null > pcx-1.pcx || ppmtopcx "$tmp/mono.pbm" > pcx-1.pcx

# EMF from fig2dev: a 1-inch red square on the left, a blue disc on the right, "Hi" in black.
cat > "$tmp/shapes.fig" <<'FIG'
#FIG 3.2  Produced by hand
Landscape
Center
Inches
Letter
100.00
Single
-2
1200 2
2 2 0 0 0 4 50 -1 20 0.000 0 0 -1 0 0 5
	 0 0 1200 0 1200 1200 0 1200 0 0
1 1 0 0 0 1 50 -1 20 0.000 1 0.0000 1800 600 600 600 1800 600 2400 600
4 0 0 40 -1 0 24 0.0000 4 300 600 100 1100 Hi\001
FIG
fig2dev -L emf "$tmp/shapes.fig" emf-shapes.emf

# WMF: no common tool writes one, so this one is assembled record by record (libwmf's wmf2gd and
# ImageMagick render it as described). 200 x 100 units at 96 units an inch: a red left half, a blue ellipse
# on the right, a green triangle drawn inside a saved state, a blue corner square after the restore, a 2 x 2
# DIB (magenta, white over yellow, cyan) stretched to 20 x 20 at (100, 0), and "Hi" in white.
python3 - wmf-shapes.wmf <<'PY'
import struct, sys
records = []
def rec(function, *words, raw=b''):
    body = b''.join(struct.pack('<h', w) if w < 0x8000 else struct.pack('<H', w) for w in words) + raw
    if len(body) % 2:
        body += b'\0'
    records.append(struct.pack('<IH', 3 + len(body) // 2, function) + body)
def brush(r, g, b):
    rec(0x02FC, 0, raw=struct.pack('<IH', r | g << 8 | b << 16, 0))
rec(0x020B, 0, 0)                                  # SETWINDOWORG y, x
rec(0x020C, 100, 200)                              # SETWINDOWEXT y, x
rec(0x02FA, 5, 0, 0, raw=struct.pack('<I', 0))     # CREATEPENINDIRECT null -> 0
rec(0x012D, 0)                                     # SELECTOBJECT 0
brush(255, 0, 0)                                   # -> 1
rec(0x012D, 1)
rec(0x041B, 100, 100, 0, 0)                        # RECTANGLE b, r, t, l
rec(0x01F0, 1)                                     # DELETEOBJECT 1
brush(0, 0, 255)                                   # -> 1 again
rec(0x012D, 1)
rec(0x0418, 90, 190, 10, 110)                      # ELLIPSE
rec(0x001E)                                        # SAVEDC
brush(0, 255, 0)                                   # -> 2
rec(0x012D, 2)
rec(0x0324, 3, 10, 90, 50, 60, 90, 90)             # POLYGON
rec(0x0127, 0xFFFF)                                # RESTOREDC -1
rec(0x01F0, 2)                                     # DELETEOBJECT 2
rec(0x041B, 10, 200, 0, 190)                       # RECTANGLE in the restored blue
dib = struct.pack('<IiiHHIIiiII', 40, 2, 2, 1, 24, 0, 16, 0, 0, 0, 0)
dib += bytes([0, 255, 255, 255, 255, 0, 0, 0])     # bottom row: yellow, cyan (+2 padding)
dib += bytes([255, 0, 255, 255, 255, 255, 0, 0])   # top row: magenta, white
rec(0x0F43, 0x0020, 0x00CC, 0, 2, 2, 0, 0, 20, 20, 0, 100, raw=dib)  # STRETCHDIB
rec(0x0209, raw=struct.pack('<I', 0xFFFFFF))       # SETTEXTCOLOR white
rec(0x0102, 1)                                     # SETBKMODE transparent
rec(0x02FB, (-30) & 0xFFFF, 0, 0, 0, 700, raw=bytes(8) + b'Liberation Sans\0'.ljust(32, b'\0'))  # font -> 2
rec(0x012D, 2)
rec(0x0521, 2, raw=b'Hi' + struct.pack('<hh', 40, 135))  # TEXTOUT "Hi" at (135, 40)
records.append(struct.pack('<IH', 3, 0))           # EOF
body = b''.join(records)
size = 9 + len(body) // 2
header = struct.pack('<HHHIHIH', 1, 9, 0x0300, size, 3, max(len(r) for r in records) // 2, 0)
placeable = struct.pack('<IHhhhhHI', 0x9AC6CDD7, 0, 0, 0, 200, 100, 96, 0)
checksum = 0
for (w,) in struct.iter_unpack('<H', placeable):
    checksum ^= w
open(sys.argv[1], 'wb').write(placeable + struct.pack('<H', checksum) + header + body)
PY
