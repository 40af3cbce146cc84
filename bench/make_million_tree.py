#!/usr/bin/env python3
"""Generates the million-file library the million bench scans: empty files in 50,000 folders,
named the way a ripped collection is (artist, year and album, numbered tracks, a cover image),
with a fixed random sequence so every generated tree is the same. Made from the Linux side:
creating a million files through Wine takes many times longer. A marker file says the tree is
complete, so a second run returns at once.

    make_million_tree.py FOLDER
"""
import os
import random
import sys

ARTISTS = 2500
ALBUMS_PER_ARTIST = 19          # 2,500 artist folders + 47,500 album folders = 50,000 folders
TRACKS_PER_ALBUM = 21           # 997,500 tracks, and one loose file per artist folder
LOOSE_PER_ARTIST = 1            # 2,500 more: 1,000,000 media files in all
MARKER = "complete.txt"

FIRST = ["Black", "Silver", "Electric", "Velvet", "Crystal", "Midnight", "Golden", "Broken", "Wild", "Neon",
         "Cosmic", "Paper", "Iron", "Lunar", "Royal", "Hollow", "Scarlet", "Static", "Atomic", "Frozen",
         "Bj\u00f6rk", "Mot\u00f6rhead", "Beyonc\u00e9", "Caf\u00e9", "M\u00f6tley", "Zo\u00eb", "Se\u00f1or",
         "Am\u00e9lie", "Arcade", "Blue", "Deep", "Pink", "Red", "White", "Young", "Old", "Little", "Big",
         "The Dead", "The Happy", "Lazy", "Sonic", "Mystic", "Northern", "Southern", "Savage", "Quiet", "Loud"]
SECOND = ["Horses", "Wolves", "Kings", "Queens", "Machines", "Lights", "Rivers", "Mountains", "Echoes",
          "Shadows", "Dreams", "Ghosts", "Hearts", "Stones", "Flowers", "Birds", "Rockets", "Tigers", "Ravens",
          "Pilots", "Sailors", "Saints", "Strangers", "Brothers", "Sisters", "Angels", "Giants", "Orchestra",
          "Ensemble", "Collective", "Quartet", "Trio", "Band", "Project", "Society", "Club", "Union", "Parade",
          "Circus", "Cr\u00fce", "R\u00f3s", "Monkeys", "Foxes", "Bears", "Lions", "Owls", "Sharks", "Falcons",
          "Eagles", "Crows", "Swans", "Sparrows", "Larks"]
WORDS = ["love", "night", "day", "heart", "fire", "rain", "summer", "winter", "dance", "dream", "light",
         "shadow", "river", "road", "home", "gone", "forever", "again", "tonight", "world", "time", "life", "sky",
         "star", "moon", "sun", "ocean", "city", "street", "train", "highway", "window", "garden", "storm",
         "thunder", "silence", "echo", "memory", "song", "blues", "soul", "gold", "diamond", "glass", "stone",
         "lonely", "sweet", "bitter", "cold", "warm", "morning", "evening", "sunday", "angel", "devil", "heaven",
         "desert", "island", "valley", "forest", "running", "falling", "flying", "burning", "waiting", "tears",
         "kiss", "eyes", "hands", "voice", "secrets", "lies", "truth", "story", "letter", "radio", "machine",
         "rocket", "planet", "velvet", "rose", "honey", "sugar", "wine", "coffee", "caf\u00e9", "se\u00f1orita",
         "na\u00efve", "don't", "it's", "rock'n'roll", "part 1", "part 2", "(live)", "[demo]", "remix"]
# Extensions weighted roughly as a real collection: mostly mp3, some lossless, a few others.
EXTENSIONS = ["mp3"] * 80 + ["flac"] * 10 + ["m4a"] * 5 + ["ogg"] * 3 + ["wma"] * 2


def words(rng, count):
    text = " ".join(rng.choice(WORDS) for _ in range(count))
    return text[0].upper() + text[1:]


def artist_name(index):
    name = FIRST[index % len(FIRST)] + " " + SECOND[(index // len(FIRST)) % len(SECOND)]
    return name + (" II" if index >= len(FIRST) * len(SECOND) else "")


def touch(path):
    os.close(os.open(path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC, 0o644))


def generate(top):
    rng = random.Random(20261208)
    os.makedirs(top, exist_ok=True)
    folders = files = 0
    for a in range(ARTISTS):
        artist = os.path.join(top, artist_name(a))
        os.mkdir(artist)
        folders += 1
        for n in range(LOOSE_PER_ARTIST):
            touch(os.path.join(artist, "%s - %s.%s" % (artist_name(a), words(rng, 2), rng.choice(EXTENSIONS))))
            files += 1
        used = set()
        for b in range(ALBUMS_PER_ARTIST):
            album = "%d - %s" % (1960 + rng.randrange(60), words(rng, 1 + rng.randrange(3)))
            while album.lower() in used:
                album += " (Deluxe)"
            used.add(album.lower())
            folder = os.path.join(artist, album)
            os.mkdir(folder)
            folders += 1
            extension = rng.choice(EXTENSIONS)
            names = set()
            for t in range(1, TRACKS_PER_ALBUM + 1):
                name = "%02d - %s.%s" % (t, words(rng, 1 + rng.randrange(4)), extension)
                names.add(name.lower())
                touch(os.path.join(folder, name))
                files += 1
            touch(os.path.join(folder, "cover.jpg"))
    with open(os.path.join(top, MARKER), "w") as marker:
        marker.write("%d folders, %d media files\n" % (folders, files))
    return folders, files


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make_million_tree.py FOLDER")
    top = sys.argv[1]
    if os.path.exists(os.path.join(top, MARKER)):
        return
    if os.path.exists(top):
        # A generation cut short: start again rather than guess what is there.
        import shutil
        shutil.rmtree(top)
    print("generating the million-file library in %s (first run only)..." % top, flush=True)
    folders, files = generate(top)
    print("generated %d folders, %d media files" % (folders, files), flush=True)


if __name__ == "__main__":
    main()
