#!/usr/bin/env python3
"""The install benchmark's product: 500 files, 51.3 MB, in nested directories.

Usage: make-install-payload.py OUTDIR

Every byte follows from a fixed seed, so every run and every machine gets the
same files. Half of the files are slices of a text (words and line breaks),
half slices of code-like bytes (short instruction patterns with varying
operands, tables and strings), as a program's files are. OUTDIR is replaced.
"""
import os
import random
import shutil
import sys

FILE_COUNT = 500
TOTAL_BYTES = 51_300_000
SEED = 20261207

WORDS = (
    "the of and to in is that for it as with was on be by this are or from at an which have not but "
    "setup install file directory volume program window message progress option component archive "
    "disk target system registry value section key number table record group item text picture"
).split()

DIRECTORIES = [
    "",
    "bin",
    "bin/plugins",
    "bin/plugins/codecs",
    "bin/plugins/filters",
    "lib",
    "lib/runtime",
    "lib/runtime/i386",
    "doc",
    "doc/manual",
    "doc/manual/chapters",
    "doc/api",
    "data",
    "data/samples",
    "data/samples/small",
    "data/samples/large",
    "data/tables",
    "help",
    "help/en",
    "help/de",
]


def text_pool(rng, size):
    out = bytearray()
    line = 0
    while len(out) < size:
        word = WORDS[rng.randrange(len(WORDS))]
        out += word.encode()
        line += len(word) + 1
        if line > 60 + rng.randrange(20):
            out += b"\r\n"
            line = 0
        else:
            out += b" "
    return bytes(out[:size])


def code_pool(rng, size):
    out = bytearray()
    patterns = [bytes(rng.randrange(256) for _ in range(rng.randrange(2, 7))) for _ in range(64)]
    while len(out) < size:
        kind = rng.randrange(10)
        if kind < 7:  # instructions: a pattern and an operand
            out += patterns[rng.randrange(len(patterns))]
            out += rng.randrange(1 << 16).to_bytes(2, "little")
        elif kind < 9:  # a sparse table
            out += bytes(rng.choice((0, 0, 0, rng.randrange(256))) for _ in range(32))
        else:  # a string
            out += WORDS[rng.randrange(len(WORDS))].encode() + b"\0"
    return bytes(out[:size])


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip().splitlines()[2])
    root = sys.argv[1]
    rng = random.Random(SEED)
    pools = [text_pool(rng, 2_000_000), code_pool(rng, 2_000_000)]

    # Sizes spread from a few hundred bytes to about a megabyte, scaled to the total.
    weights = [rng.lognormvariate(0, 1.2) for _ in range(FILE_COUNT)]
    scale = TOTAL_BYTES / sum(weights)
    sizes = [max(1, int(w * scale)) for w in weights]
    sizes[-1] += TOTAL_BYTES - sum(sizes)

    shutil.rmtree(root, ignore_errors=True)
    for index, size in enumerate(sizes):
        directory = os.path.join(root, DIRECTORIES[index % len(DIRECTORIES)])
        os.makedirs(directory, exist_ok=True)
        kind = index % 2
        name = "%s%03d.%s" % (("doc", "mod")[kind], index, ("txt", "dll")[kind])
        pool = pools[kind]
        content = bytearray()
        while len(content) < size:
            start = rng.randrange(len(pool) - 1)
            content += pool[start : start + size - len(content)]
        with open(os.path.join(directory, name), "wb") as out:
            out.write(content)


if __name__ == "__main__":
    main()
