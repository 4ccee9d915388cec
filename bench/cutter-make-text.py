#!/usr/bin/env python3
"""Writes a text file of mixed line lengths for the cutter benchmark.

Mostly prose-like lines of 0 to about 200 bytes, some paragraphs of a few
thousand bytes and now and then a line of tens of kilobytes, all from a fixed
seed so every run cuts the same text.
"""
import argparse
import random
import sys

WORDS = ("the a of and to in is was that he for it with as his on be at by I had not are but from or "
         "have an they which one you were her all she there would their we him been has when who will "
         "more no if out so said what up its about into than them can only other new some could time "
         "these two may then do first any my now such like our over man me even most made after also "
         "did many before must through back years where much your way well down should because each "
         "just those people Mr how too little state good very make world still own see men work long "
         "get here between both life being under never day same another know while last might us great "
         "old year off come since against go came right used take three").split()
PUNCT = (".", ",", ";", "!", "?", "", "", "", "")


def line(rng, length):
    out = []
    size = 0
    while size < length:
        word = rng.choice(WORDS) + rng.choice(PUNCT)
        out.append(word)
        size += len(word) + 1
    return " ".join(out)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--mb", type=int, required=True, help="size in MiB")
    parser.add_argument("--lf", action="store_true", help="end lines with LF alone instead of CR LF")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    rng = random.Random(args.seed)
    end = "\n" if args.lf else "\r\n"
    # A pool of lines drawn once keeps generation quick; the order stays random.
    pool = []
    for _ in range(4000):
        pick = rng.random()
        if pick < 0.15:
            length = 0
        elif pick < 0.85:
            length = rng.randint(1, 200)
        elif pick < 0.99:
            length = rng.randint(500, 6000)
        else:
            length = rng.randint(20000, 80000)
        pool.append((line(rng, length) + end).encode("ascii"))

    target = args.mb * 1024 * 1024
    written = 0
    out = sys.stdout.buffer
    chunk = []
    while written < target:
        piece = rng.choice(pool)
        piece = piece[: target - written]
        chunk.append(piece)
        written += len(piece)
        if len(chunk) >= 4096:
            out.write(b"".join(chunk))
            chunk = []
    out.write(b"".join(chunk))


if __name__ == "__main__":
    main()
