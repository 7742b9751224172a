#!/usr/bin/env python3
"""Makes the game's seven WAVE sounds (PCM, 44100 Hz, 16 bit, mono) into res/sounds/.

    python3 tools/gen_sounds.py [output-dir]

Every sound is synthesised from sine partials, so regenerating gives the same bytes. Peaks stay at
14000, well inside 16 bits, so that two sounds mixed together rarely clip.
"""
import math
import os
import struct
import sys
import wave

RATE = 44100
PEAK = 14000


def envelope(t, attack, decay):
    """Fast linear attack, exponential decay."""
    rise = min(1.0, t / attack) if attack > 0 else 1.0
    return rise * math.exp(-t / decay)


def bell(freq, seconds, decay, partials=((1.0, 1.0), (2.76, 0.45), (5.40, 0.25), (8.93, 0.12))):
    """A struck bell: inharmonic partials, the higher ones dying sooner."""
    out = []
    for i in range(int(seconds * RATE)):
        t = i / RATE
        v = 0.0
        for ratio, amp in partials:
            v += amp * math.sin(2 * math.pi * freq * ratio * t) * envelope(t, 0.002, decay / ratio ** 0.5)
        out.append(v)
    return out


def mix(length, *parts):
    """Sums (offset in seconds, samples) parts into one buffer of length seconds."""
    out = [0.0] * int(length * RATE)
    for offset, samples in parts:
        start = int(offset * RATE)
        for i, v in enumerate(samples):
            if start + i < len(out):
                out[start + i] += v
    return out


def fade(samples, seconds):
    """Fades the last seconds out linearly, so every sound ends in silence."""
    n = min(len(samples), int(seconds * RATE))
    for i in range(n):
        samples[len(samples) - n + i] *= 1.0 - (i + 1) / n
    return samples


def tone(freq, seconds, harmonics=((1, 1.0),), attack=0.005, release=0.01):
    out = []
    total = int(seconds * RATE)
    for i in range(total):
        t = i / RATE
        gain = min(1.0, t / attack, (total - i) / (release * RATE))
        out.append(gain * sum(a * math.sin(2 * math.pi * freq * h * t) for h, a in harmonics))
    return out


def sweep(f0, f1, seconds):
    out = []
    total = int(seconds * RATE)
    phase = 0.0
    for i in range(total):
        t = i / total
        freq = f0 * (f1 / f0) ** t
        phase += 2 * math.pi * freq / RATE
        gain = min(1.0, i / (0.02 * RATE), (total - i) / (0.08 * RATE))
        out.append(gain * (math.sin(phase) + 0.25 * math.sin(2 * phase)))
    return out


def cling1():  # red stops: a bright bell
    return fade(bell(1568.0, 0.45, 0.12), 0.05)


def cling2():  # blue stops: a lower bell
    return fade(bell(1046.5, 0.50, 0.14), 0.05)


def cling3():  # the reveal ends: a rising arpeggio of bells
    notes = [(0.00, 1046.5), (0.09, 1318.5), (0.18, 1568.0), (0.27, 2093.0)]
    return fade(mix(1.0, *[(at, bell(f, 0.7, 0.16)) for at, f in notes]), 0.08)


def sweep_sound():
    return sweep(400.0, 1600.0, 0.6)


def timer():  # the countdown's beep
    return tone(880.0, 0.15, harmonics=((1, 1.0), (2, 0.2), (3, 0.1)))


def error():  # two falling, hollow tones
    hollow = ((1, 1.0), (3, 0.33), (5, 0.2), (7, 0.14))
    return mix(0.40, (0.0, tone(196.0, 0.18, hollow)), (0.20, tone(146.8, 0.20, hollow)))


def tick():  # a short wooden click
    out = []
    for i in range(int(0.025 * RATE)):
        t = i / RATE
        out.append(math.sin(2 * math.pi * 2500.0 * t) * envelope(t, 0.0005, 0.004) +
                   0.5 * math.sin(2 * math.pi * 1200.0 * t) * envelope(t, 0.0005, 0.006))
    return fade(out, 0.005)


SOUNDS = {
    "cling1": cling1,
    "cling2": cling2,
    "cling3": cling3,
    "sweep": sweep_sound,
    "timer": timer,
    "error": error,
    "tick": tick,
}


def write_wave(path, samples):
    top = max(abs(v) for v in samples) or 1.0
    pcm = [int(round(v * PEAK / top)) for v in samples]
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(struct.pack("<%dh" % len(pcm), *pcm))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, "res", "sounds")
    os.makedirs(out_dir, exist_ok=True)
    for name, make in SOUNDS.items():
        write_wave(os.path.join(out_dir, name + ".wav"), make())


if __name__ == "__main__":
    main()
