#!/usr/bin/env python3
"""Checks that a capture of what a sound server played is the offline render of the same music.

A capture starts at an arbitrary moment and may lose its first frames, so its first audible
frames are looked up in the render (exact bytes); from there on, capture and render must be
identical for at least MIN_SECONDS, up to where the capture's sound ends.

Usage: compare_capture.py CAPTURE.raw RENDER.wav MIN_SECONDS
CAPTURE.raw: signed 16-bit little-endian stereo at 44100 Hz; RENDER.wav: the same behind a
44-byte header. Prints one line and exits 0 when they match, 1 when they do not.
"""
import sys

FRAME = 4  # bytes: left and right, 16 bits each
RATE = 44100
PROBE_FRAMES = 2048


def first_audible(data):
    stripped = data.lstrip(b"\0")
    return (len(data) - len(stripped)) // FRAME * FRAME


def last_audible(data):
    return len(data.rstrip(b"\0")) // FRAME * FRAME + FRAME


def main():
    capture_path, render_path, min_seconds = sys.argv[1], sys.argv[2], float(sys.argv[3])
    capture = open(capture_path, "rb").read()
    render = open(render_path, "rb").read()[44:]
    start = first_audible(capture)
    end = min(last_audible(capture), len(capture))
    probe = capture[start:start + PROBE_FRAMES * FRAME]
    if len(probe) < PROBE_FRAMES * FRAME:
        print(f"FAIL: the capture holds no music ({len(capture)} bytes, audible from {start})")
        return 1
    offset = render.find(probe)
    while offset >= 0 and offset % FRAME != 0:
        offset = render.find(probe, offset + 1)
    if offset < 0:
        print(f"FAIL: the capture's first audible frames (byte {start}) are nowhere in the render")
        return 1
    length = min(end - start, len(render) - offset)
    matched = 0
    while matched < length and capture[start + matched] == render[offset + matched]:
        matched += 1
    matched_seconds = matched // FRAME / RATE
    if matched_seconds < min_seconds:
        print(f"FAIL: capture and render agree for only {matched_seconds:.2f} s from render "
              f"frame {offset // FRAME} (first difference at capture byte {start + matched})")
        return 1
    print(f"{matched_seconds:.2f} s of captured sound equal the render from its frame "
          f"{offset // FRAME} on")
    return 0


if __name__ == "__main__":
    sys.exit(main())
