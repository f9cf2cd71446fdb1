#!/usr/bin/env python3
"""Writes the benchmark input: LINES lines ended by CR LF, 2 to 20 words each, some
with spaces at either end, some with GBK characters. Deterministic for a given seed."""
import random
import sys


def main():
    path, count = sys.argv[1], int(sys.argv[2])
    rng = random.Random(2026)
    letters = "abcdefghijklmnopqrstuvwxyz"
    words = ["".join(rng.choice(letters) for _ in range(rng.randint(1, 7))) for _ in range(4000)]
    # Common GBK double-byte characters (both bytes 0xA1..0xFE: never 0x20, 0x0D or 0x0A).
    words += [bytes([rng.randint(0xB0, 0xD7), rng.randint(0xA1, 0xFE)]).decode("latin-1") * 2
              for _ in range(400)]
    with open(path, "wb") as out:
        chunk = []
        for _ in range(count):
            line = " ".join(rng.choices(words, k=rng.randint(2, 20)))
            roll = rng.random()
            if roll < 0.1:
                line = "   " + line
            elif roll < 0.2:
                line = line + "  "
            elif roll < 0.25:
                line = " \t" + line + " "
            chunk.append(line)
            if len(chunk) == 100000:
                out.write(("\r\n".join(chunk) + "\r\n").encode("latin-1"))
                chunk = []
        if chunk:
            out.write(("\r\n".join(chunk) + "\r\n").encode("latin-1"))


if __name__ == "__main__":
    main()
