#!/usr/bin/env python3
"""Writes the program's two short sounds into assets/: Exhaust.wav, the chuff of one exhaust
beat, and Error.wav, the alert of an impossible linkage. Both are 22050 Hz, 16-bit mono.

The noise comes from a fixed seed, so running the script again writes the same bytes.
Usage: scripts/make-sounds.py [output directory, default assets/ beside this script]
"""

import math
import random
import struct
import sys
import wave
from pathlib import Path

RATE = 22050
FULL_SCALE = 32767


def write_wave(path, samples):
    """Writes samples in [-1, 1] as a 16-bit mono wave file."""
    frames = b"".join(
        struct.pack("<h", round(max(-1.0, min(1.0, s)) * FULL_SCALE)) for s in samples
    )
    with wave.open(str(path), "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def normalised(samples, peak):
    top = max(abs(s) for s in samples) or 1.0
    return [s * peak / top for s in samples]


def chuff(seconds=0.15, attack=0.004, decay=0.035, cutoff_hz=900.0):
    """A burst of low-passed noise: a hard attack, then an exponential fall, like steam leaving
    a blast pipe."""
    rng = random.Random(1847)
    count = round(seconds * RATE)
    # Two one-pole low-pass stages: the chuff is a dull thump rather than a hiss.
    alpha = 1.0 - math.exp(-2.0 * math.pi * cutoff_hz / RATE)
    first = second = 0.0
    samples = []
    for i in range(count):
        t = i / RATE
        envelope = t / attack if t < attack else math.exp(-(t - attack) / decay)
        first += alpha * (rng.uniform(-1.0, 1.0) - first)
        second += alpha * (first - second)
        samples.append(second * envelope)
    # Fade the last few milliseconds to silence so the end does not click.
    tail = round(0.005 * RATE)
    for k in range(tail):
        samples[count - 1 - k] *= k / tail
    return normalised(samples, 0.9)


def alert(seconds=0.25, tones_hz=(880.0, 660.0), fade=0.005):
    """Two tones, high then low, each faded in and out so the change and the ends are clean."""
    count = round(seconds * RATE)
    part = count // len(tones_hz)
    edge = round(fade * RATE)
    samples = []
    for tone in tones_hz:
        for i in range(part):
            gain = min(1.0, i / edge, (part - 1 - i) / edge)
            samples.append(0.6 * gain * math.sin(2.0 * math.pi * tone * i / RATE))
    return samples


def main():
    default = Path(__file__).resolve().parent.parent / "assets"
    out_dir = Path(sys.argv[1]) if len(sys.argv) > 1 else default
    out_dir.mkdir(parents=True, exist_ok=True)
    write_wave(out_dir / "Exhaust.wav", chuff())
    write_wave(out_dir / "Error.wav", alert())


if __name__ == "__main__":
    main()
