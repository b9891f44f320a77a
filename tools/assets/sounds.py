"""The game's three sounds: the bite, the game-over sting and the music loop."""

from synth import (RATE, LoopBuffer, Noise, adsr, constant, exp_decay, glide, highpass, lowpass,
                   midi_to_hz, multiply, pulse, scale, sine, triangle, vibrato)


def _fade_in(samples, seconds):
    n = max(1, int(seconds * RATE))
    return [v * min(1.0, i / n) for i, v in enumerate(samples)]


def _fade_out(samples, seconds):
    n = max(1, int(seconds * RATE))
    total = len(samples)
    return [v * min(1.0, (total - 1 - i) / n) for i, v in enumerate(samples)]


def _mix_into(target, start, samples, gain=1.0):
    for i, v in enumerate(samples):
        if start + i < len(target):
            target[start + i] += v * gain


# ---------------------------------------------------------------- bite

BITE_SECONDS = 0.16


def make_bite():
    """A crunchy bite: three bright noise crackles over a quick falling 'chomp'."""
    total = int(BITE_SECONDS * RATE)
    out = [0.0] * total
    noise = Noise(0xB17E)
    # Crackles: each a little duller and softer than the one before.
    for start_s, length_s, gain, cutoff in ((0.000, 0.045, 1.0, 5200.0),
                                             (0.040, 0.040, 0.8, 3800.0),
                                             (0.085, 0.050, 0.6, 2600.0)):
        count = int(length_s * RATE)
        raw = [noise.next() for _ in range(count)]
        bright, _ = lowpass(highpass(raw, 900.0), cutoff)
        burst = multiply(bright, exp_decay(count, length_s / 4.0))
        _mix_into(out, int(start_s * RATE), burst, 2.2 * gain)
    # The chomp: a square-ish tone that drops an octave and a half.
    count = int(0.11 * RATE)
    tone = pulse(glide(520.0, 150.0, count), 0.35)
    tone, _ = lowpass(tone, 2400.0)
    _mix_into(out, int(0.005 * RATE), multiply(tone, exp_decay(count, 0.035)), 0.55)
    return _fade_out(_fade_in(out, 0.001), 0.02)


# ---------------------------------------------------------------- game over

def make_game_over():
    """A falling minor phrase ending on a long, wobbling low note: 1.5 seconds."""
    total = int(1.5 * RATE)
    out = [0.0] * total
    steps = ((0.00, 0.20, 76), (0.20, 0.20, 72), (0.40, 0.20, 69))
    for start_s, length_s, note in steps:
        count = int(length_s * RATE)
        tone, _ = lowpass(pulse(constant(midi_to_hz(note), count), 0.25), 6000.0)
        _mix_into(out, int(start_s * RATE), multiply(tone, adsr(count, 0.005, 0.06, 0.7, 0.03)),
                  0.45)
    # The last note sags a semitone while it fades, with a slow wobble.
    start = int(0.60 * RATE)
    count = total - start
    freqs = vibrato(glide(midi_to_hz(64), midi_to_hz(63), count), 5.5, 0.25, 0.12)
    tone = pulse(freqs, 0.5)
    tone, _ = lowpass(tone, 3000.0)
    _mix_into(out, start, multiply(tone, adsr(count, 0.008, 0.25, 0.6, 0.55)), 0.4)
    # A soft low floor under the whole phrase.
    bass = triangle(constant(midi_to_hz(45), total))
    _mix_into(out, 0, multiply(bass, adsr(total, 0.01, 0.4, 0.6, 0.5)), 0.35)
    return _fade_out(_fade_in(out, 0.002), 0.05)


# ---------------------------------------------------------------- music

BPM = 100
EIGHTH = RATE * 60 // BPM // 2          # 13230 samples: tempo chosen to be a whole number
BAR = 8 * EIGHTH
BARS = 16

# One chord per bar: (bass root, three chord tones for the arpeggio).
CHORDS = {
    "Am": (45, (57, 60, 64)),
    "F": (41, (57, 60, 65)),
    "C": (48, (55, 60, 64)),
    "G": (43, (55, 59, 62)),
    "E": (40, (56, 59, 64)),
    "Dm": (38, (57, 62, 65)),
    "Em": (40, (55, 59, 64)),
}
PROGRESSION = ["Am", "F", "C", "G", "Am", "F", "G", "E",
               "F", "G", "Am", "Am", "Dm", "Em", "F", "E"]

# The tune, bar by bar: (start in eighths, length in eighths, MIDI note).
MELODY = [
    [(0, 2, 76), (2, 1, 72), (3, 1, 69), (4, 1, 71), (5, 1, 72), (6, 2, 76)],
    [(0, 3, 77), (3, 1, 76), (4, 2, 72), (6, 2, 69)],
    [(0, 2, 67), (2, 2, 72), (4, 2, 76), (6, 2, 79)],
    [(0, 3, 74), (3, 1, 71), (4, 4, 67)],
    [(0, 2, 69), (2, 1, 72), (3, 1, 76), (4, 3, 81), (7, 1, 79)],
    [(0, 2, 77), (2, 1, 76), (3, 1, 74), (4, 2, 72), (6, 2, 74)],
    [(0, 2, 71), (2, 2, 74), (4, 2, 79), (6, 1, 77), (7, 1, 74)],
    [(0, 4, 76), (4, 2, 68), (6, 2, 71)],
    [(0, 2, 69), (2, 2, 72), (4, 3, 77), (7, 1, 76)],
    [(0, 2, 74), (2, 2, 71), (4, 2, 67), (6, 2, 71)],
    [(0, 3, 72), (3, 1, 71), (4, 2, 69), (6, 2, 76)],
    [(0, 4, 81), (4, 2, 76), (6, 2, 72)],
    [(0, 2, 74), (2, 2, 77), (4, 2, 81), (6, 2, 77)],
    [(0, 3, 79), (3, 1, 76), (4, 2, 71), (6, 2, 76)],
    [(0, 2, 72), (2, 2, 69), (4, 2, 77), (6, 1, 76), (7, 1, 74)],
    [(0, 2, 76), (2, 1, 74), (3, 1, 72), (4, 2, 71), (6, 2, 68)],
]

# Bass line per bar in eighths: (start, length, interval above the root).
BASS_PATTERN = [(0, 3, 0), (3, 2, 7), (5, 1, 12), (6, 2, 7)]
ARP_ORDER = [0, 1, 2, 1, 0, 1, 2, 1]

MUSIC_SAMPLES = BARS * BAR


def _lead_note(note, length):
    count = length * EIGHTH - EIGHTH // 8  # a small breath between notes
    freqs = vibrato(constant(midi_to_hz(note), count), 5.0, 0.12, 0.18)
    tone = pulse(freqs, 0.25)
    return multiply(tone, adsr(count, 0.008, 0.12, 0.65, 0.06))


def _bass_note(note, length):
    count = length * EIGHTH - EIGHTH // 10
    return multiply(triangle(constant(midi_to_hz(note), count)),
                    adsr(count, 0.004, 0.2, 0.8, 0.04))


def _arp_note(note):
    count = EIGHTH
    tone = pulse(constant(midi_to_hz(note), count), 0.125)
    return multiply(tone, adsr(count, 0.004, 0.08, 0.35, 0.05))


def _kick(noise):
    count = int(0.22 * RATE)
    body = multiply(sine(glide(120.0, 42.0, count)), exp_decay(count, 0.07))
    click, _ = lowpass([noise.next() for _ in range(count)], 3000.0)
    click = multiply(click, exp_decay(count, 0.003))
    return [b + 0.3 * c for b, c in zip(body, click)]


def _snare(noise):
    count = int(0.18 * RATE)
    hiss = highpass([noise.next() for _ in range(count)], 1200.0)
    hiss, _ = lowpass(hiss, 7000.0)
    tone = scale(sine(constant(190.0, count)), 0.5)
    return multiply([h + t for h, t in zip(hiss, tone)], exp_decay(count, 0.045))


def _hat(noise, open_hat):
    count = int((0.16 if open_hat else 0.05) * RATE)
    hiss = highpass(highpass([noise.next() for _ in range(count)], 6000.0), 6000.0)
    return multiply(hiss, exp_decay(count, 0.05 if open_hat else 0.012))


def make_music():
    """A calm 16-bar chiptune loop at 100 BPM: 38.4 seconds, stereo."""
    loop = LoopBuffer(MUSIC_SAMPLES)
    lead_dry = LoopBuffer(MUSIC_SAMPLES)
    noise = Noise(0x5EED)
    for bar, chord in enumerate(PROGRESSION):
        root, tones = CHORDS[chord]
        bar_start = bar * BAR
        for start, length, interval in BASS_PATTERN:
            loop.add(bar_start + start * EIGHTH, _bass_note(root + interval, length), 0.42)
        for step, index in enumerate(ARP_ORDER):
            loop.add(bar_start + step * EIGHTH, _arp_note(tones[index]), 0.07, pan=0.45)
        for start, length, note in MELODY[bar]:
            lead_dry.add(bar_start + start * EIGHTH, _lead_note(note, length), 0.16, pan=-0.15)
        for beat in range(4):
            beat_start = bar_start + beat * 2 * EIGHTH
            if beat in (0, 2):
                loop.add(beat_start, _kick(noise), 0.5)
            else:
                loop.add(beat_start, _snare(noise), 0.16, pan=0.1)
            loop.add(beat_start + EIGHTH, _hat(noise, beat == 3 and bar % 4 == 3), 0.07, pan=-0.3)
            loop.add(beat_start, _hat(noise, False), 0.04, pan=-0.3)
    loop.mix_in(lead_dry)
    # A dotted-eighth echo on the lead, bouncing between the sides.
    mono_lead = [0.5 * (a + b) for a, b in zip(lead_dry.left, lead_dry.right)]
    loop.add_echo(mono_lead, 3 * EIGHTH, 0.3, 3, 0.6)
    loop.lowpass(9000.0)
    return loop.left, loop.right
