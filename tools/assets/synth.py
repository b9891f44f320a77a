"""Small sound synthesis kit: oscillators, envelopes, filters and a loop buffer.

Everything works on plain Python lists of floats at 44100 Hz, full scale 1.0.
Noise comes from our own xorshift generator with fixed seeds, so a render is
the same every time.
"""

import math

RATE = 44100
TWO_PI = 2.0 * math.pi


def midi_to_hz(note):
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


class Noise:
    """xorshift32 white noise in [-1, 1)."""

    def __init__(self, seed):
        self.state = seed & 0xFFFFFFFF or 1

    def next(self):
        x = self.state
        x ^= (x << 13) & 0xFFFFFFFF
        x ^= x >> 17
        x ^= (x << 5) & 0xFFFFFFFF
        self.state = x
        return x / 2147483648.0 - 1.0


def _poly_blep(t, dt):
    """Band-limited step correction around a discontinuity at phase 0."""
    if t < dt:
        t /= dt
        return t + t - t * t - 1.0
    if t > 1.0 - dt:
        t = (t - 1.0) / dt
        return t * t + t + t + 1.0
    return 0.0


def pulse(freqs, duty):
    """Band-limited pulse wave; freqs is the frequency of every sample."""
    out = []
    phase = 0.0
    for f in freqs:
        dt = f / RATE
        value = 1.0 if phase < duty else -1.0
        value += _poly_blep(phase, dt)
        value -= _poly_blep((phase - duty) % 1.0, dt)
        out.append(value)
        phase = (phase + dt) % 1.0
    return out


def triangle(freqs):
    out = []
    phase = 0.25  # start at a zero crossing, rising
    for f in freqs:
        out.append(4.0 * abs(phase - 0.5) - 1.0)
        phase = (phase + f / RATE) % 1.0
    return [-v for v in out]


def sine(freqs):
    out = []
    phase = 0.0
    for f in freqs:
        out.append(math.sin(TWO_PI * phase))
        phase = (phase + f / RATE) % 1.0
    return out


def constant(value, count):
    return [value] * count


def glide(start_hz, end_hz, count):
    """Exponential pitch slide over count samples."""
    if count <= 1:
        return [start_hz] * count
    ratio = end_hz / start_hz
    return [start_hz * ratio ** (i / (count - 1)) for i in range(count)]


def vibrato(freqs, rate_hz, depth_semitones, delay_s):
    start = int(delay_s * RATE)
    out = []
    for i, f in enumerate(freqs):
        if i < start:
            out.append(f)
            continue
        ramp = min(1.0, (i - start) / (0.15 * RATE))
        cents = depth_semitones * ramp * math.sin(TWO_PI * rate_hz * (i - start) / RATE)
        out.append(f * 2.0 ** (cents / 12.0))
    return out


def adsr(count, attack_s, decay_s, sustain, release_s):
    """Envelope over count samples whose release ends exactly at the last sample."""
    attack = max(1, int(attack_s * RATE))
    decay = max(1, int(decay_s * RATE))
    release = max(1, min(int(release_s * RATE), count))
    env = []
    for i in range(count):
        if i < attack:
            level = i / attack
        elif i < attack + decay:
            level = 1.0 - (1.0 - sustain) * (i - attack) / decay
        else:
            level = sustain
        left = count - i
        if left <= release:
            level *= (left - 1) / release
        env.append(level)
    return env


def exp_decay(count, time_constant_s, attack_s=0.001):
    attack = max(1, int(attack_s * RATE))
    k = 1.0 / (time_constant_s * RATE)
    return [min(1.0, i / attack) * math.exp(-k * i) for i in range(count)]


def multiply(a, b):
    return [x * y for x, y in zip(a, b)]


def scale(samples, gain):
    return [x * gain for x in samples]


def lowpass(samples, cutoff_hz, state=0.0):
    """One-pole low-pass; returns (output, last state)."""
    k = 1.0 - math.exp(-TWO_PI * cutoff_hz / RATE)
    out = []
    y = state
    for x in samples:
        y += k * (x - y)
        out.append(y)
    return out, y


def highpass(samples, cutoff_hz):
    low, _ = lowpass(samples, cutoff_hz)
    return [x - l for x, l in zip(samples, low)]


class LoopBuffer:
    """A stereo buffer whose end joins its start.

    Sound that runs past the end wraps round to the beginning, so the last
    bar's ringing notes fade out under the first bar: the loop is seamless by
    construction and has no silent lead-in or tail.
    """

    def __init__(self, length):
        self.length = length
        self.left = [0.0] * length
        self.right = [0.0] * length

    def add(self, start, samples, gain=1.0, pan=0.0):
        """pan -1 is full left, +1 full right (constant-power)."""
        angle = (pan + 1.0) * math.pi / 4.0
        gl, gr = gain * math.cos(angle) * math.sqrt(2.0), gain * math.sin(angle) * math.sqrt(2.0)
        n = self.length
        for i, v in enumerate(samples):
            j = (start + i) % n
            self.left[j] += v * gl
            self.right[j] += v * gr

    def mix_in(self, other):
        """Adds another loop buffer of the same length, side for side."""
        self.left = [a + b for a, b in zip(self.left, other.left)]
        self.right = [a + b for a, b in zip(self.right, other.right)]

    def add_echo(self, source, delay, feedback, taps, pan):
        """Adds delayed, fading copies of a mono loop (same length) to this buffer."""
        gain = 1.0
        for tap in range(1, taps + 1):
            gain *= feedback
            side = pan if tap % 2 else -pan
            cut = self.length - (delay * tap) % self.length
            rotated = source[cut:] + source[:cut]  # rotated[n] = source[n - delay * tap]
            self.add(0, rotated, gain, side)

    def lowpass(self, cutoff_hz):
        """Periodic one-pole low-pass: a first lap settles the filter, a second one is kept."""
        for name in ("left", "right"):
            channel = getattr(self, name)
            _, settled = lowpass(channel, cutoff_hz)
            out, _ = lowpass(channel, cutoff_hz, settled)
            setattr(self, name, out)
