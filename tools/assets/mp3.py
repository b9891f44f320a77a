"""MP3 encoding with the lame command line and decoding with mpg123.

lame writes its LAME/Info header with the encoder delay and padding, and
libmpg123 (which the game's SDL_mixer uses) trims both: the decoded sound has
exactly as many samples as the source. We rely on that for the music seam and
check it after every encode.
"""

import array
import math
import os
import subprocess
import sys
import tempfile
import wave

RATE = 44100
FULL_SCALE = 32767


def db_to_gain(db):
    return 10.0 ** (db / 20.0)


def gain_to_db(gain):
    return 20.0 * math.log10(gain) if gain > 0 else -math.inf


def to_pcm16(channels, gain):
    """Interleaves float channels into little-endian signed 16-bit bytes."""
    frames = len(channels[0])
    pcm = array.array("h", bytes(2 * frames * len(channels)))
    for c, channel in enumerate(channels):
        for i, v in enumerate(channel):
            s = int(round(v * gain * FULL_SCALE))
            pcm[i * len(channels) + c] = max(-FULL_SCALE, min(FULL_SCALE, s))
    if sys.byteorder != "little":
        pcm.byteswap()
    return pcm.tobytes()


def encode(pcm, channel_count, kbps, path):
    """Encodes 16-bit PCM at constant bit rate, with the LAME header and no ID3 tag."""
    mode = "m" if channel_count == 1 else "j"
    with tempfile.TemporaryDirectory() as tmp:
        wav_path = os.path.join(tmp, "source.wav")
        with wave.open(wav_path, "wb") as w:
            w.setnchannels(channel_count)
            w.setsampwidth(2)
            w.setframerate(RATE)
            w.writeframes(pcm)
        cmd = ["lame", "--quiet", "--noreplaygain", "-q", "2", "--cbr", "-b", str(kbps), "-m", mode,
               wav_path, path]
        subprocess.run(cmd, check=True)


def decode(path):
    """Returns (channel count, interleaved signed 16-bit samples) as decoded by libmpg123."""
    with tempfile.TemporaryDirectory() as tmp:
        wav_path = os.path.join(tmp, "decoded.wav")
        subprocess.run(["mpg123", "-q", "-w", wav_path, path], check=True)
        with wave.open(wav_path, "rb") as w:
            if w.getframerate() != RATE or w.getsampwidth() != 2:
                raise RuntimeError(f"{path}: unexpected decoded format")
            channel_count = w.getnchannels()
            samples = array.array("h", w.readframes(w.getnframes()))
    if sys.byteorder != "little":
        samples.byteswap()
    return channel_count, samples


def peak_dbfs(samples):
    peak = max(abs(s) for s in samples)
    return gain_to_db(peak / 32768.0)


def _encode_checked(channels, gain, kbps, path):
    encode(to_pcm16(channels, gain), len(channels), kbps, path)
    channel_count, decoded = decode(path)
    if len(decoded) // channel_count != len(channels[0]):
        raise RuntimeError(f"{path}: decoded length differs from the source; "
                           "the decoder did not honour the gapless header")
    return peak_dbfs(decoded)


PEAK_WINDOW_DB = 0.5


def encode_mastered(channels, kbps, path, target_peak_db):
    """Encodes so that the decoded peak lies within half a decibel under target_peak_db.

    MP3 coding moves peaks by up to a decibel, and not smoothly with the gain,
    so after a first correction we try gains in 0.1 dB steps round it, nearest
    first, and keep the first one whose decoded peak falls inside the window.
    """
    source_peak = max(abs(v) for channel in channels for v in channel)
    gain_db = target_peak_db - PEAK_WINDOW_DB / 2 - gain_to_db(source_peak)
    measured = _encode_checked(channels, db_to_gain(gain_db), kbps, path)
    gain_db += target_peak_db - PEAK_WINDOW_DB / 2 - measured
    for step in range(31):
        offset = 0.1 * ((step + 1) // 2) * (1 if step % 2 else -1)
        measured = _encode_checked(channels, db_to_gain(gain_db + offset), kbps, path)
        if target_peak_db - PEAK_WINDOW_DB <= measured <= target_peak_db:
            return measured
    raise RuntimeError(f"{path}: no gain puts the decoded peak within "
                       f"{PEAK_WINDOW_DB} dB under {target_peak_db} dBFS")
