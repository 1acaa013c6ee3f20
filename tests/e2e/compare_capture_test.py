#!/usr/bin/env python3
"""The sound comparison of the Windows end-to-end test, on recordings made up from a real render:
rough ones like a loaded host records pass, and a recording with anything but the render in it
fails, down to one wrong sample.

Usage: compare_capture_test.py XMRENDER MODULE
"""
import os
import random
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compare_capture  # noqa: E402

FRAME, RATE = compare_capture.FRAME, compare_capture.RATE
RENDER = b""


def music(start, end):
    return RENDER[start * FRAME:end * FRAME]


def silence(frame_count):
    return bytes(frame_count * FRAME)


def rough_recording(seed=13):
    """What a loaded host made of the sound in measured runs: music from the recording's first
    byte, pieces shorter than a stretch around a second lost right after the start, 1 to 4
    frames dropped every 0.04 to 1 s, runs of 880 to 1,500 frames of silence where the sound
    server ran dry, and a last sound shorter than a stretch."""
    numbers = random.Random(seed)
    pieces = [music(2000, 2839), music(52892, 53552)]
    position = 53774
    end = position + 10 * RATE
    silences_left = 4
    while position < end:
        length = numbers.randint(int(0.04 * RATE), RATE)
        pieces.append(music(position, position + length))
        position += length
        if silences_left and numbers.random() < 0.3:
            pieces.append(silence(numbers.randint(880, 1500)))
            silences_left -= 1
        else:
            position += numbers.randint(1, 4)
    pieces += [music(position, position + 300), silence(RATE // 2)]
    return b"".join(pieces)


def with_frames(recording, at_frame, replacement):
    return recording[:at_frame * FRAME] + replacement + recording[at_frame * FRAME + len(replacement):]


def one_sample_off(recording, at_frame):
    """The recording with the left sample of one frame one step away from what it was."""
    left = int.from_bytes(recording[at_frame * FRAME:at_frame * FRAME + 2], "little", signed=True)
    wrong = (left + 1 if left < 32767 else left - 1).to_bytes(2, "little", signed=True)
    return with_frames(recording, at_frame, wrong)


class CompareCapture(unittest.TestCase):
    def judge(self, recording):
        return compare_capture.judge(recording, RENDER)

    def test_rough_recordings_of_the_render_match(self):
        cases = {
            "clean, after a second of silence": silence(RATE) + music(0, 8 * RATE) + silence(100),
            "rough, like a loaded host's": rough_recording(),
            "rough, another run": rough_recording(seed=29),
            "cut off inside the last frame": music(RATE, 7 * RATE) + b"\x01\x02",
        }
        for name, recording in cases.items():
            with self.subTest(name):
                matched, line = self.judge(recording)
                self.assertTrue(matched, line)
        matched, line = self.judge(rough_recording())
        self.assertRegex(line, r"frames dropped in [1-9][0-9]* places, [0-9]+ frames of silence "
                               r"inserted in 4 runs")

    def test_anything_but_the_render_fails(self):
        rough = rough_recording()
        middle = len(rough) // FRAME // 2
        cases = {
            "one sample off by one": (one_sample_off(rough, middle), "foreign"),
            "one sample off in the rough start": (one_sample_off(rough, 1000), "foreign"),
            "a burst of noise": (with_frames(rough, middle, bytes(range(1, 201))), "foreign"),
            "an earlier part of the song again": (
                music(0, 6 * RATE) + music(RATE, 2 * RATE), "earlier in the render"),
            "a short first sound from later in the song": (
                music(5 * RATE, 5 * RATE + 500) + music(0, 6 * RATE), "not in the render between"),
            "too little of it": (music(0, 4 * RATE), "too little"),
            "mostly silence": (music(0, 3 * RATE) + silence(2 * RATE) + music(3 * RATE, 6 * RATE),
                               "too little"),
            "no sound at all": (silence(RATE), "no sound"),
        }
        for name, (recording, reason) in cases.items():
            with self.subTest(name):
                matched, line = self.judge(recording)
                self.assertFalse(matched, line)
                self.assertIn(reason, line)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print("usage: compare_capture_test.py XMRENDER MODULE", file=sys.stderr)
        sys.exit(2)
    xmrender, module = sys.argv[1:]
    with tempfile.TemporaryDirectory() as work:
        wav = os.path.join(work, "render.wav")
        subprocess.run([xmrender, "--seconds", "20", module, wav], check=True,
                       stderr=subprocess.DEVNULL)
        with open(wav, "rb") as render_file:
            RENDER = render_file.read()[44:]
    unittest.main(argv=sys.argv[:1])
