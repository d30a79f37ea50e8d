#!/usr/bin/env python3
"""Writes the seed inputs of round_trip_fuzzer: its header of option bytes
(in round_trip_fuzzer.cpp's order) followed by the message.
Usage: make_round_trip_seeds.py OUTPUT_DIR"""
import pathlib
import sys

ASCII, C40, TEXT, X12, EDIFACT, BASE256 = range(1, 7)
RECTANGLE, ANY = 1, 2
DMRE, GS1, READER_INIT, ISO144, SEGMENTS = 0x04, 0x08, 0x10, 0x20, 0x40
FIRST_DMRE_SIZE, SIZE_144 = 31, 24  # one-based rows of the size table
ECI_3, ECI_26, ECI_899 = 3, 4, 9    # indexes into kEcis


def seed(message, encodation=0, flags=0, size=0, append=0, file_id=0, segments=0, ecis=0):
    header = [encodation, flags, size, 0, 0, 0, append, file_id >> 8, file_id & 0xFF,
              segments, ecis & 0xFF, ecis >> 8]
    return bytes(header) + message


SEEDS = {
    "default": seed(b"12"),
    "c40": seed(b"HELLO WORLD 2024", C40),
    "text": seed(b"hello world 2024", TEXT, ANY),
    "x12": seed(b"AB3*>\r 99", X12, RECTANGLE),
    "edifact": seed(b"AB3 :<^ EDIFACT", EDIFACT),
    "base256": seed(bytes(range(0, 256, 7)), BASE256),
    "gs1_round": seed(b"(01)09506000134352(17)201225(10)ABC123(21)xyz", 0, GS1),
    "gs1_square": seed(b"[00]106141412345678908[400]PO-1234[91]abc", 0, GS1 | RECTANGLE),
    "eci_segments": seed("Grüße Привет 12345678".encode("utf-8"), 0, SEGMENTS, segments=2,
                         ecis=ECI_3 | ECI_26 << 4 | ECI_899 << 8),
    "macro06": seed(b"[)>\x1e06\x1d12345ABC\x1e\x04"),
    "reader_init": seed(b"PROGRAM 1", 0, READER_INIT),
    "append": seed(b"part two of three", 0, 0, append=0x21, file_id=300),
    "dmre": seed(b"DMRE 8x48", 0, DMRE | RECTANGLE, FIRST_DMRE_SIZE),
    "largest": seed(b"Q" * 1500, 0, 0, SIZE_144),
}


def main():
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (out / name).write_bytes(data)


if __name__ == "__main__":
    main()
