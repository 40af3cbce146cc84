#!/usr/bin/env bash
# Makes a small music library for trying the plugin in the stand-in host: tagged MP3 and FLAC
# files in Artist/Album folders, names in several scripts, playlists, a hidden folder and a
# few files that are not audio. The same COUNT always gives the same files, and a library that
# was finished once is left alone.
#
# usage: make-sample-library.sh DEST [COUNT]     (COUNT audio files, 300 when not given)
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ]; then
  echo "usage: $0 DEST [COUNT]" >&2
  exit 2
fi
dest=$1
count=${2:-300}
if ! [[ $count =~ ^[0-9]+$ ]] || [ "$count" -lt 20 ]; then
  echo "COUNT must be a number of at least 20" >&2
  exit 2
fi
marker="$dest/.sample-library-complete"
if [ -f "$marker" ]; then
  echo "sample library already complete: $(cat "$marker")"
  exit 0
fi
for tool in lame flac python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (tools/setup/install-deps.sh installs it)" >&2; exit 1; }
done

started=$(date +%s.%N)
mkdir -p "$dest"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# lame reads tag arguments in the locale's encoding, and the names below are UTF-8.
export LC_ALL=C.UTF-8

counts=$(python3 - "$dest" "$count" "$work" "$(nproc)" <<'PY'
import math, os, struct, subprocess, sys, wave
from concurrent.futures import ThreadPoolExecutor

dest, total, work, jobs = sys.argv[1], int(sys.argv[2]), sys.argv[3], int(sys.argv[4])

# Short tones, reused by many files: encoding is what takes the time, so they stay 1-3 s.
DURATIONS = [1.0, 1.5, 2.0, 2.5, 3.0]
def make_tone(index, seconds, rate=44100):
    path = os.path.join(work, f'tone{index}.wav')
    freq = 220.0 * (1 + index / 4)
    samples = bytearray()
    for i in range(int(seconds * rate)):
        v = int(6000 * math.sin(2 * math.pi * freq * i / rate))
        samples += struct.pack('<hh', v, v // 2)
    with wave.open(path, 'wb') as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(samples))
    return path
tones = [make_tone(i, s) for i, s in enumerate(DURATIONS)]

WORDS = {
    'en': ['Morning', 'River', 'Glass', 'Echo', 'Lantern', 'Harbour', 'Static', 'Velvet', 'Orbit',
           'Paper', 'Signal', 'Winter', 'Copper', 'Meadow', 'Thunder', 'Silver'],
    'is': ['Hoppípolla', 'Glósóli', 'Sæglópur', 'Svefn', 'Vaka', 'Ný batterí', 'Starálfur',
           'Flugufrelsarinn', 'Olsen Olsen', 'Viðrar vel'],
    'ru': ['Звезда', 'Кровь', 'Ночь', 'Город', 'Солнце', 'Дождь', 'Перемен', 'Кукушка',
           'Пачка сигарет', 'Спокойная ночь'],
    'ja': ['雨', '光', '夜', '海', '風', '時間', '戦場のメリークリスマス', '東風', '千のナイフ',
           '君に、胸キュン'],
    'el': ['Ήλιος', 'Θάλασσα', 'Νύχτα', 'Άνεμος', 'Φως', 'Δρόμος', 'Όνειρο', 'Καλοκαίρι'],
    'fr': ['Été', 'Crème brûlée', 'Noël', 'Déjà vu', 'Naïveté', 'Cœur', 'Façade', 'Garçon'],
}

# Artist, genre, language of the titles, format, albums (name, year). The names exercise
# accents, other scripts, apostrophes and the characters SQL patterns treat specially.
ARTISTS = [
    ('Björk', 'Electronic', 'en', 'mp3', [('Debut', 1993), ('Homogenic', 1997)]),
    ('Sigur Rós', 'Post-Rock', 'is', 'flac', [('Ágætis byrjun', 1999), ('Takk', 2005)]),
    ('Motörhead', 'Heavy Metal', 'en', 'mp3', [('Ace of Spades', 1980)]),
    ('坂本龍一', 'Ambient', 'ja', 'flac', [('音楽図鑑', 1984), ('async', 2017)]),
    ('Кино', 'Post-Punk', 'ru', 'mp3', [('Группа крови', 1988), ('Звезда по имени Солнце', 1989)]),
    ("O'Neil", 'Folk', 'en', 'mp3', [("Rock 'n' Roll Can't Wait", 2003)]),
    ('100% Pure_Noise', 'Noise', 'en', 'mp3', [('[Live] & Loud', 2010)]),
    ('Δέλτα Κύμα', 'Electronic', 'el', 'flac', [('Νύχτα', 2015)]),
    ('Zoë & the Naïve Crêpes', 'Indie', 'fr', 'mp3', [('Café Société', 2012)]),
    ('The Quiet Ensemble', 'Classical', 'en', 'flac', [('Études, Book 1', 2001), ('Études, Book 2', 2004)]),
    ('The Lanterns', 'Pop', 'en', 'mp3', [('Yellow Harbour', 1999)]),
]
HIDDEN = 3         # files in the hidden folder
COMPILATION = 8    # files in the various-artists compilation, one folder deeper
LOOSE = 1          # a file straight in the library's top folder
albums = [(a, album) for a in ARTISTS for album in a[4]]
album_total = max(total - HIDDEN - COMPILATION - LOOSE, len(albums))
tracks_per_album = [album_total // len(albums) + (1 if i < album_total % len(albums) else 0)
                    for i in range(len(albums))]

def latin1(text):
    try:
        text.encode('latin-1')
        return True
    except UnicodeEncodeError:
        return False

def title_for(lang, n):
    bank = WORDS[lang]
    word = bank[n % len(bank)]
    return word if n < len(bank) else f'{word} {WORDS["en"][n // len(bank) % 16]}'

jobs_list = []   # (argv) for the encoders
made = {'mp3': 0, 'flac': 0, 'untagged': 0, 'folders': set()}
entries = []     # (relative path with backslashes, seconds, artist, title) for playlists

def add(rel_parts, fmt, tags, k):
    folder = os.path.join(dest, *rel_parts[:-1])
    os.makedirs(folder, exist_ok=True)
    made['folders'].add(folder)
    out = os.path.join(dest, *rel_parts)
    tone = tones[k % len(tones)]
    untagged = k % 37 == 5
    if fmt == 'mp3':
        argv = ['lame', '--quiet', '--noreplaygain']
        argv += [['-b', '128'], ['-b', '192'], ['-V', '2'], ['-b', '96'], ['-V', '5']][k % 5]
        if not untagged:
            values = [tags['title'], tags['artist'], tags['album'], tags['comment']]
            versions = [[], ['--id3v2-only'], ['--add-id3v2'], ['--id3v1-only']][k % 4]
            if versions == ['--id3v1-only'] and not all(latin1(v) for v in values):
                versions = []
            if versions == ['--id3v2-only'] and all(latin1(v) for v in values) and k % 8 == 1:
                versions += ['--id3v2-latin1']
            argv += versions
            argv += ['--tt', tags['title'], '--ta', tags['artist'], '--tl', tags['album'],
                     '--ty', str(tags['year']), '--tn', tags['track'], '--tg', tags['genre']]
            if tags['comment']:
                argv += ['--tc', tags['comment']]
        argv += [tone, out]
    else:
        argv = ['flac', '--silent', '-f']
        if not untagged:
            number, _, of = tags['track'].partition('/')
            fields = [('TITLE', tags['title']), ('ARTIST', tags['artist']), ('ALBUM', tags['album']),
                      ('DATE', str(tags['year'])), ('GENRE', tags['genre'])]
            if k % 3 == 0 and of:
                fields += [('TRACKNUMBER', number), ('TRACKTOTAL', of)]
            else:
                fields += [('TRACKNUMBER', tags['track'])]
            if tags['comment']:
                fields += [('COMMENT' if k % 2 else 'DESCRIPTION', tags['comment'])]
            for key, value in fields:
                argv += ['-T', f'{key}={value}']
        argv += [tone, '-o', out]
    jobs_list.append(argv)
    made[fmt] += 1
    made['untagged'] += untagged
    seconds = int(DURATIONS[k % len(DURATIONS)] + 0.5)
    entries.append(('\\'.join(rel_parts), seconds, tags['artist'], tags['title']))

k = 0
for index, ((artist, genre, lang, fmt, _), (album, year)) in enumerate(albums):
    n = tracks_per_album[index]
    for t in range(1, n + 1):
        title = title_for(lang, t - 1)
        # Half the albums store "03/12", the others the bare number.
        track = f'{t:02d}/{n:02d}' if index % 2 == 0 else str(t)
        comment = ['', 'Sample library', 'Ünïcode cömment ✓', ''][k % 4]
        tags = dict(title=title, artist=artist, album=album, year=year, track=track, genre=genre,
                    comment=comment)
        # Every seventh FLAC artist's file is an MP3 too, so both formats share folders.
        f = 'mp3' if fmt == 'mp3' or k % 7 == 3 else 'flac'
        add([artist, album, f'{t:02d} {title}.{f}'], f, tags, k)
        k += 1

guests = [a for a in ARTISTS]
for t in range(1, COMPILATION + 1):
    artist, genre, lang = guests[t % len(guests)][:3]
    title = title_for(lang, t + 3)
    tags = dict(title=title, artist=artist, album='Sampler 2020', year=2020, track=f'{t}/{COMPILATION}',
                genre=genre, comment='Compilation')
    add(['Various Artists', 'Sampler 2020', 'Disc 1', f'{t:02d} {artist} - {title}.mp3'], 'mp3', tags, k)
    k += 1
for t in range(1, HIDDEN + 1):
    tags = dict(title=f'Hidden Track {t}', artist='Nobody', album='Secret Demos', year=2021,
                track=str(t), genre='Experimental', comment='')
    add(['.hidden', 'Secret Demos', f'{t:02d} Hidden Track {t}.mp3'], 'mp3', tags, k)
    k += 1
tags = dict(title='Loose Track', artist='Unknown', album='', year=2000, track='1', genre='Other', comment='')
add(['Loose Track.mp3'], 'mp3', tags, k)

def run(argv):
    subprocess.run(argv, check=True, stdin=subprocess.DEVNULL)
with ThreadPoolExecutor(max_workers=max(jobs, 1)) as pool:
    list(pool.map(run, jobs_list))

def write(rel, data):
    path = os.path.join(dest, rel)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)

# Playlists: UTF-8 without a byte order mark, Windows line ends and relative paths with
# backslashes, as a Windows player writes them. The second one sits in its own folder and
# names one file that does not exist, for repairing broken entries.
visible = [e for e in entries if not e[0].startswith('.hidden')]
def playlist(items, prefix):
    lines = ['#EXTM3U']
    for rel, seconds, artist, title in items:
        lines += [f'#EXTINF:{seconds},{artist} - {title}', prefix + rel]
    return ('\r\n'.join(lines) + '\r\n').encode('utf-8')
write('Favourites.m3u8', playlist(visible[::max(len(visible) // 20, 1)][:20], ''))
road = visible[3::max(len(visible) // 12, 1)][:12]
road.insert(5, ('Кино\\Группа крови\\99 Потерянная песня.mp3', 3, 'Кино', 'Потерянная песня'))
write(os.path.join('Playlists', 'Road Trip.m3u8'), playlist(road, '..\\'))

# Files that are not audio: a cover in each of the first albums (a few bytes, not a real
# picture), notes at the top and in one album, and a folder with nothing in it.
others = 0
for artist, genre, lang, fmt, album_list in ARTISTS[:5]:
    write(os.path.join(artist, album_list[0][0], 'cover.jpg'), b'\xff\xd8\xff\xe0\x00\x10JFIF\x00\xff\xd9')
    others += 1
write('notes.txt', 'Sample library for trying Crateview.\r\n'.encode('utf-8'))
write(os.path.join('Björk', 'Debut', 'notes.txt'), 'Liner notes — ünïcode.\r\n'.encode('utf-8'))
others += 2
os.makedirs(os.path.join(dest, 'Empty Folder'), exist_ok=True)

folders = set()
for root, dirs, files in os.walk(dest):
    folders.update(os.path.join(root, d) for d in dirs)
print(made['mp3'], made['flac'], made['untagged'], HIDDEN, others, len(folders))
PY
)
read -r mp3s flacs untagged hidden others folders <<<"$counts"
elapsed=$(python3 -c "import sys; print(f'{float(sys.argv[2]) - float(sys.argv[1]):.1f}')" "$started" "$(date +%s.%N)")
summary="$((mp3s + flacs)) audio files ($mp3s mp3, $flacs flac, $untagged untagged, $hidden in .hidden), 2 playlists, $others other files, $folders folders"
echo "$summary" >"$marker"
echo "sample library made in $dest in ${elapsed}s: $summary"
