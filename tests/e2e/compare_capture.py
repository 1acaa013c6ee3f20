#!/usr/bin/env python3
"""Checks that a recording of what a sound server played is the offline render of the same music.

A loaded host makes a recording rough without any fault of the program that played: the server
drops a few frames now and then, loses a second at the start, or runs dry and inserts silence.
So the recording is split into exact stretches of the render, each found by its own bytes and
at least MIN_STRETCH_FRAMES long, and runs of pure silence. It matches when
- the stretches come in increasing render order,
- every audible frame lies in a stretch or a run of silence: nothing foreign, and one wrong
  sample is foreign,
- the stretches make up at least MIN_SHARE of the time from the first audible frame to the last,
  and at least MIN_MATCHED_SECONDS.

Usage: compare_capture.py CAPTURE.raw RENDER.wav
CAPTURE.raw: signed 16-bit little-endian stereo at 44100 Hz; RENDER.wav: the same behind a
44-byte header. Prints one line with the figures and exits 0 when they match, 1 when they do not.
"""
import sys

FRAME = 4  # bytes: left and right, 16 bits each
RATE = 44100
MIN_STRETCH_FRAMES = RATE // 50  # 20 ms
MIN_SHARE = 0.8
MIN_MATCHED_SECONDS = 5.0
SILENT_FRAME = bytes(FRAME)


class Mismatch(Exception):
    pass


def frames(data):
    return len(data) // FRAME


def frame_at(data, index):
    return data[index * FRAME:(index + 1) * FRAME]


def common_frames(a, a_start, b, b_start):
    """How many frames from a_start in a equal those from b_start in b."""
    a_view, b_view = memoryview(a), memoryview(b)
    limit = min(frames(a) - a_start, frames(b) - b_start)
    done, step = 0, 256
    while done < limit:
        count = min(step, limit - done)
        a_bytes = a_view[(a_start + done) * FRAME:(a_start + done + count) * FRAME]
        b_bytes = b_view[(b_start + done) * FRAME:(b_start + done + count) * FRAME]
        if a_bytes == b_bytes:
            done += count
            step *= 2
        elif count == 1:
            break
        else:
            step = max(1, count // 2)
    return done


def find_frames(render, piece, from_frame, to_frame=None):
    """The first frame-aligned place at or after from_frame where piece lies in render (ending by
    to_frame, if given), or -1."""
    end = None if to_frame is None else to_frame * FRAME
    offset = render.find(piece, from_frame * FRAME, end)
    while offset >= 0 and offset % FRAME != 0:
        offset = render.find(piece, offset + 1, end)
    return -1 if offset < 0 else offset // FRAME


def silence_end(capture, start):
    end = start
    while end < frames(capture) and frame_at(capture, end) == SILENT_FRAME:
        end += 1
    return end


def longest_prefix(capture, position, limit, render, from_frame):
    """The most frames, up to limit, from position in capture that lie together in render at or
    after from_frame, and where they first do. A prefix of a piece that lies there does too, so
    the count is found by halving."""
    def place(count):
        return find_frames(render, capture[position * FRAME:(position + count) * FRAME], from_frame)

    low, high = 0, limit
    while low < high:
        middle = (low + high + 1) // 2
        if place(middle) >= 0:
            low = middle
        else:
            high = middle - 1
    return low, place(low)


def foreign(position, why):
    return Mismatch(f"recorded frame {position} ({position / RATE:.3f} s) is foreign: {why}")


def place_short(capture, render, pieces, render_from, render_to, stretches):
    """Places pieces (capture frame, frames) shorter than a stretch one after another in the
    render between render_from and render_to, as stretches."""
    for position, count in pieces:
        piece = capture[position * FRAME:(position + count) * FRAME]
        start = find_frames(render, piece, render_from, render_to)
        if start < 0:
            raise foreign(position, f"its {count} frames are not in the render between the "
                                    f"stretches around them")
        stretches.append((position, start, count))
        render_from = start + count


def split(capture, render, audible_end):
    """The recording up to audible_end as stretches (capture frame, render frame, frames) and
    silent runs (capture frame, frames). Raises Mismatch at the first foreign frame.

    A stretch of MIN_STRETCH_FRAMES or more is found by its own bytes anywhere after the one
    before it. A shorter piece, as a rough start or the recording's ends cut them, must lie in
    the render between the long stretches before and after it."""
    stretches, silences, short = [], [], []
    position, render_next = 0, 0
    while position < audible_end:
        if frame_at(capture, position) == SILENT_FRAME:
            end = silence_end(capture, position)
            silences.append((position, end - position))
            position = end
            continue
        wanted = min(MIN_STRETCH_FRAMES, audible_end - position)
        found, start = longest_prefix(capture, position, wanted, render, render_next)
        if found == 0:
            probe = capture[position * FRAME:(position + wanted) * FRAME]
            raise foreign(position, "it comes earlier in the render than the sound before it"
                          if find_frames(render, probe, 0) >= 0 else "it is nowhere in the render")
        if found < MIN_STRETCH_FRAMES:
            short.append((position, found))
            position += found
            continue
        place_short(capture, render, short, render_next, start, stretches)
        short = []
        length = min(common_frames(capture, position, render, start), audible_end - position)
        stretches.append((position, start, length))
        render_next = start + length
        position += length
    place_short(capture, render, short, render_next, frames(render), stretches)
    return stretches, silences


def count(number, one, many):
    return f"{number} {one if number == 1 else many}"


def judge(capture, render):
    """Returns (matched, line)."""
    capture = capture[:frames(capture) * FRAME]
    render = render[:frames(render) * FRAME]
    first = silence_end(capture, 0)
    if first == frames(capture):
        return False, f"FAIL: the recording holds no sound ({frames(capture)} frames)"
    last = frames(capture)
    while frame_at(capture, last - 1) == SILENT_FRAME:
        last -= 1
    try:
        stretches, silences = split(capture, render, last)
    except Mismatch as mismatch:
        return False, f"FAIL: {mismatch}"
    if not stretches:
        return False, f"FAIL: the recording's only sound is shorter than a stretch ({last - first} frames)"
    matched = sum(length for _, _, length in stretches)
    inserted = [length for start, length in silences if start > first]
    dropped = [b[1] - (a[1] + a[2]) for a, b in zip(stretches, stretches[1:])]
    span = last - first
    share = matched / span
    figures = (f"{count(len(stretches), 'exact stretch', 'exact stretches')} of render frames "
               f"{stretches[0][1]} to {stretches[-1][1] + stretches[-1][2]} make up "
               f"{matched / RATE:.2f} s, {100 * share:.1f} % of the {span / RATE:.2f} s of sound "
               f"recorded; {sum(dropped)} frames dropped in "
               f"{count(sum(1 for d in dropped if d), 'place', 'places')}, {sum(inserted)} frames "
               f"of silence inserted in {count(len(inserted), 'run', 'runs')}")
    if share < MIN_SHARE or matched < MIN_MATCHED_SECONDS * RATE:
        return False, (f"FAIL: too little of the recording is the render (at least "
                       f"{100 * MIN_SHARE:.0f} % and {MIN_MATCHED_SECONDS:.0f} s needed): {figures}")
    return True, f"the recorded sound is the render: {figures}"


def main():
    if len(sys.argv) != 3:
        print("usage: compare_capture.py CAPTURE.raw RENDER.wav", file=sys.stderr)
        return 2
    with open(sys.argv[1], "rb") as capture_file, open(sys.argv[2], "rb") as render_file:
        capture = capture_file.read()
        render = render_file.read()[44:]
    matched, line = judge(capture, render)
    print(line)
    return 0 if matched else 1


if __name__ == "__main__":
    sys.exit(main())
