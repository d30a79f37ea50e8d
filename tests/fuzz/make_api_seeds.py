#!/usr/bin/env python3
"""Writes the seed inputs of api_fuzzer: call sequences in the byte layout
that FuzzedDataProvider reads (numbers taken from the end of the input,
message bytes from the front). Usage: make_api_seeds.py OUTPUT_DIR"""
import pathlib
import sys

# Calls, as api_fuzzer numbers them.
SET_DEFAULT, SET_SIZE, SET_MESSAGE, SET_INFO, SET_BACK, SET_BAR, CLIPBOARD, SAVE = range(8)
# Picks from api_fuzzer's tables of edge values.
INT_MIN, INT_MAX, ZERO, ONE, TWO, THREE = 0, 18, 4, 5, 6, 7
NAN, INF, DENORMAL, HUGE = 0, 2, 6, 18
# Its paths.
A_BMP, B_WMF, C, NULL, EMPTY, SUBDIR, SCRATCH, MISSING, NAME250, NAME256 = range(10)


class Seed:
    def __init__(self):
        self.front = bytearray()  # message bytes
        self.back = []            # numbers, in the order they are read

    def byte(self, value):
        self.back.append(value)

    def call(self, number):
        self.byte(number)

    def edge_int(self, index):
        self.byte(0)
        self.byte(index)

    def edge_double(self, index):
        self.byte(0)
        self.byte(index)

    def message(self, text):
        self.call(SET_MESSAGE)
        self.byte(1)  # not NULL
        length = len(text)
        self.byte(length >> 8)  # ConsumeIntegralInRange(0, 2500): two bytes, high first
        self.byte(length & 0xFF)
        self.front += text
        if length >= 1999:
            self.byte(0)  # with its terminator

    def save(self, wmf, path):
        self.call(SAVE)
        self.byte(1 if wmf else 0)
        self.byte(path)

    def bytes(self):
        return bytes(self.front) + bytes(reversed(self.back))


def seeds():
    s = Seed()
    s.call(SET_DEFAULT)
    s.save(False, A_BMP)
    s.save(True, B_WMF)
    s.call(CLIPBOARD)
    yield "default_outputs", s

    s = Seed()
    s.call(SET_DEFAULT)
    for path in (NULL, EMPTY, SUBDIR, SCRATCH, MISSING, NAME250, NAME256):
        s.save(False, path)
        s.save(True, path)
    yield "odd_paths", s

    s = Seed()
    s.call(SET_DEFAULT)
    s.call(SET_SIZE); s.edge_int(INT_MAX); s.edge_int(INT_MAX)
    s.save(False, A_BMP)
    s.save(True, B_WMF)
    s.call(SET_SIZE); s.edge_int(INT_MIN); s.edge_int(ZERO)
    s.save(False, C)
    yield "extreme_sizes", s

    s = Seed()
    s.call(SET_DEFAULT)
    for module, turn, frame in ((NAN, THREE, ONE), (INF, TWO, TWO), (DENORMAL, ONE, ONE), (HUGE, INT_MAX, INT_MIN)):
        s.call(SET_INFO); s.edge_double(module); s.edge_int(turn); s.edge_int(frame)
        s.save(False, A_BMP)
        s.call(CLIPBOARD)
    yield "module_sizes_turns_frames", s

    s = Seed()
    s.call(SET_DEFAULT)
    s.call(SET_BACK); s.edge_int(INT_MIN); s.edge_int(ONE); s.edge_int(INT_MAX)
    s.call(SET_BAR); s.edge_int(TWO); s.edge_int(ZERO); s.edge_int(THREE)
    s.message(b"\xe9t\xe9 123456 \x00after the zero")
    s.save(True, C)
    yield "colours_and_message", s

    s = Seed()
    s.call(SET_DEFAULT)
    s.message(b"1" * 2500)   # cut to 1999 digits: 1000 codewords
    s.save(False, A_BMP)
    s.message(b"A" * 2500)   # cut to 1999 letters: too long for any symbol
    s.save(True, B_WMF)
    s.call(CLIPBOARD)
    yield "long_messages", s

    s = Seed()
    s.save(False, A_BMP)     # before any setter: every setting zero
    s.call(CLIPBOARD)
    yield "all_zero_settings", s


def main():
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, seed in seeds():
        (out / name).write_bytes(seed.bytes())


if __name__ == "__main__":
    main()
