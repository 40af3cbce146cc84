#!/usr/bin/env bash
# Encodes the MP3 and FLAC files the tag reader's tests read, with lame and flac, into the
# folder given; writes a "complete" marker last so that a half-made folder is made again.
set -euo pipefail
out=$1
mkdir -p "$out"
cd "$out"
rm -f complete
# lame reads tag arguments in the locale's encoding; the values below are UTF-8.
export LC_ALL=C.UTF-8

# Two-channel 16-bit tones whose exact sample counts the tests compare lengths against.
python3 - <<'PY'
import math, struct, wave, zlib

def tone(name, seconds, rate=44100):
    frames = bytearray()
    for i in range(int(seconds * rate)):
        left = int(8000 * math.sin(2 * math.pi * 440 * i / rate))
        right = int(8000 * math.sin(2 * math.pi * 554 * i / rate))
        frames += struct.pack('<hh', left, right)
    with wave.open(name, 'wb') as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))

tone('2s.wav', 2.0)
tone('3s.wav', 3.0)

# A 1x1 PNG for a FLAC picture block the reader must step over.
def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
png = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 1, 1, 8, 2, 0, 0, 0))
       + chunk(b'IDAT', zlib.compress(b'\x00\xff\x00\x00')) + chunk(b'IEND', b''))
open('cover.png', 'wb').write(png)
PY

mp3() { lame --quiet --noreplaygain "$@"; }
mp3 -b 128 --add-id3v2 --tt "Title A" --ta "Artist A" --tl "Album A" --ty 2001 --tn 03/12 \
    --tg Rock --tc "A comment" 2s.wav cbr-v23.mp3
mp3 -b 128 --id3v1-only --tt "Only v1" --ta "Old Artist" --tl "Old Album" --ty 1999 --tn 7 \
    --tg Jazz --tc "v1 comment" 2s.wav v1-only.mp3
mp3 -b 128 --id3v2-only --id3v2-latin1 --tt "Café" --ta "Motörhead" --tl "Ace" 2s.wav latin1.mp3
mp3 -b 128 --id3v2-only --tt "Jóga" --ta "Björk" --tl "坂本龍一 Кино" --tc "Сигур Рóс" \
    2s.wav utf16.mp3
mp3 -V 2 --tt "Variable" --ta "O'Neil" --tn 5 3s.wav vbr.mp3
mp3 -t -b 128 2s.wav no-header-cbr.mp3
mp3 -b 64 -m m --resample 22.05 --tt "Low" 2s.wav mpeg2-mono.mp3

flac --silent -f -T TITLE="Группа крови" -T ARTIST=Кино -T ALBUM="Группа крови" -T DATE=1988 \
    -T TRACKNUMBER=03/12 -T GENRE=Post-Punk -T COMMENT="Lossless" 3s.wav -o tagged.flac
flac --silent -f -T title=Hoppípolla -T artist="Sigur Rós" -T tracknumber=4 -T tracktotal=9 \
    -T description="Described" --picture=cover.png 2s.wav -o lower-keys.flac
flac --silent -f 2s.wav -o untagged.flac

rm -f 2s.wav 3s.wav cover.png
touch complete
