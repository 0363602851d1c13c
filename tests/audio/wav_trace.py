#!/usr/bin/env python3
"""Level trace of a recorded run: RMS of a 16-bit stereo WAV (as --record-audio writes it) per
window of game time, printed as one line per window with the level in dBFS and a bar.

    python3 tests/audio/wav_trace.py run.wav [--window 0.5] [--fps-ms 20]

With --fps-ms the main-loop pass each window starts at is printed too, so a trace lines up with
--dump-at passes and scripted input."""
import argparse
import math
import struct
import wave


def trace(path, window_s):
    with wave.open(path, "rb") as w:
        if w.getsampwidth() != 2:
            raise SystemExit("only 16-bit WAV files are read")
        rate, channels = w.getframerate(), w.getnchannels()
        step = max(1, int(rate * window_s))
        while True:
            raw = w.readframes(step)
            if not raw:
                break
            samples = struct.unpack("<%dh" % (len(raw) // 2), raw)
            mean = sum(s * s for s in samples) / max(1, len(samples))
            yield math.sqrt(mean), len(samples) // channels / rate


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("wav")
    ap.add_argument("--window", type=float, default=0.5, help="seconds per line")
    ap.add_argument("--fps-ms", type=float, default=0, help="ms per pass, to print pass numbers")
    args = ap.parse_args()
    t = 0.0
    for rms, length in trace(args.wav, args.window):
        db = 20 * math.log10(rms / 32768) if rms > 0 else -120.0
        bar = "#" * max(0, int((db + 60) / 1.5))
        at = " pass %5d" % int(t * 1000 / args.fps_ms) if args.fps_ms else ""
        print("%7.1f s%s  rms %7.1f  %6.1f dBFS  %s" % (t, at, rms, db, bar))
        t += length


if __name__ == "__main__":
    main()
