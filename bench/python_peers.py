"""ecc200's Python package side by side with zxing-cpp's and pylibdmtx (their
Debian packages python3-zxing-cpp and python3-pylibdmtx, with Pillow making
their PNG): a message to PNG bytes at 5-pixel modules with a quiet zone of
2 modules, the way each package's users write it:

    ecc200     ecc200.encode(message).png(module_px=5)
    zxing-cpp  zxingcpp.write_barcode(DataMatrix, message, width, height, quiet_zone)
               as a grey image, saved by Pillow as PNG
    libdmtx    pylibdmtx.encode(message) (5-pixel modules and a 10-pixel
               margin are its defaults), its RGB pixels saved by Pillow as PNG

The messages are digits, which all three encode as digit pairs in the same
symbol size; before timing, each peer's picture is checked pixel for pixel
against ecc200's. Timed on the thread's CPU clock in interleaved rounds
(the median of each; ecc200's over the peer's is the ratio), as
side_by_side.h times the C++ jobs.

    /usr/bin/python3 bench/python_peers.py [--smoke] [--csv FILE] [--rounds N]

Run with PYTHONPATH holding bindings/python and ECC200_LIBRARY naming the
freshly built libecc200.so.1. --csv appends rows in ecc200_peers' format
(job python_png_<message>) and a note per target. Without the package's
encode() (an older binding) only the peers are timed, and a note says so.
"""
import argparse
import io
import statistics
import sys
import time

import numpy
import zxingcpp
from PIL import Image
from pylibdmtx import pylibdmtx

import ecc200

MODULE_PX = 5
QUIET_ZONE_MODULES = 2
BATCH_SECONDS = 0.02
MESSAGES = {"digits_40": "0123456789" * 4, "digits_200": "0123456789" * 20}
# The targets: ecc200's median at most this fraction of the peer's.
TARGETS = {"zxing-cpp": 0.4, "libdmtx": 0.05}


def ours(message):
    return ecc200.encode(message).png(module_px=MODULE_PX)


def zxing_cpp(message, side_px):
    pixels = zxingcpp.write_barcode(zxingcpp.BarcodeFormat.DataMatrix, message, width=side_px, height=side_px,
                                    quiet_zone=QUIET_ZONE_MODULES * MODULE_PX)
    out = io.BytesIO()
    Image.fromarray(pixels).save(out, "PNG")
    return out.getvalue()


def libdmtx(message):
    encoded = pylibdmtx.encode(message.encode("ascii"))
    out = io.BytesIO()
    Image.frombytes("RGB", (encoded.width, encoded.height), encoded.pixels).save(out, "PNG")
    return out.getvalue()


def grey(png):
    return numpy.asarray(Image.open(io.BytesIO(png)).convert("L"))


def contenders(message, side_px, with_ours):
    """name: one operation giving PNG bytes; ecc200 first."""
    peers = {"zxing-cpp": lambda: zxing_cpp(message, side_px), "libdmtx": lambda: libdmtx(message)}
    return {"ecc200": lambda: ours(message), **peers} if with_ours else peers


def check_same_pixels(reference, operations):
    for name, operation in operations.items():
        if not numpy.array_equal(grey(operation()), reference):
            sys.exit(f"python_peers: {name}'s picture differs from ecc200's")


def batch_size(operation, seconds):
    count = 1
    while True:
        start = time.thread_time()
        for _ in range(count):
            operation()
        if time.thread_time() - start >= seconds:
            return count
        count *= 2


def time_side_by_side(operations, rounds, seconds):
    """name: microseconds per operation of each round, batches interleaved."""
    batches = {name: batch_size(op, seconds) if seconds > 0 else 1 for name, op in operations.items()}
    micro = {name: [] for name in operations}
    for _ in range(rounds):
        for name, operation in operations.items():
            start = time.thread_time()
            for _ in range(batches[name]):
                operation()
            micro[name].append((time.thread_time() - start) * 1e6 / batches[name])
    return batches, micro


def rows_and_notes(job, side, batches, micro, with_ours):
    medians = {name: statistics.median(values) for name, values in micro.items()}
    rows, notes = [], []
    for name, values in micro.items():
        over = medians["ecc200"] / medians[name] if with_ours else ""
        rows.append(f"{job},{side},{name},us,{medians[name]:.4f},{min(values):.4f},{max(values):.4f},"
                    f"{batches[name]},{len(values)},{over if over == '' else f'{over:.4f}'}")
        if with_ours and name in TARGETS:
            met = "met" if over <= TARGETS[name] else "NOT met"
            notes.append(f"target: Python PNG {job[len('python_png_'):]} {side}x{side} over {name} "
                         f"<= {TARGETS[name]:.2f}: {over:.2f} in this run, {met}")
    return rows, notes


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--smoke", action="store_true", help="each job once: a test, not a measurement")
    parser.add_argument("--csv", help="append the rows to this file")
    parser.add_argument("--rounds", type=int, default=31)
    options = parser.parse_args()
    if options.rounds < 1:
        parser.error("--rounds must be at least 1")
    with_ours = hasattr(ecc200, "encode")
    rows, notes = [], []
    if not with_ours:
        notes.append("Python: the ecc200 package has no encode() yet; only the peers were timed")
    for name, message in MESSAGES.items():
        reference = pylibdmtx.encode(message.encode("ascii"))
        side_px = reference.width
        side = side_px // MODULE_PX - 2 * QUIET_ZONE_MODULES
        operations = contenders(message, side_px, with_ours)
        check_same_pixels(grey(libdmtx(message) if not with_ours else ours(message)), operations)
        batches, micro = time_side_by_side(operations, 1 if options.smoke else options.rounds,
                                           0 if options.smoke else BATCH_SECONDS)
        more_rows, more_notes = rows_and_notes(f"python_png_{name}", side, batches, micro, with_ours)
        rows += more_rows
        notes += more_notes
    print("\n".join(rows + notes))
    if options.csv:
        with open(options.csv, "a", encoding="ascii") as csv:
            csv.writelines(f"# {note}\n" for note in notes)
            csv.writelines(f"{row}\n" for row in rows)


if __name__ == "__main__":
    main()
