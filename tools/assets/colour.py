"""WCAG relative luminance and contrast ratio, used to keep the board readable."""


def _linear(channel):
    c = channel / 255.0
    return c / 12.92 if c <= 0.04045 else ((c + 0.055) / 1.055) ** 2.4


def relative_luminance(rgb):
    r, g, b = (_linear(v) for v in rgb[:3])
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast_ratio(a, b):
    la, lb = relative_luminance(a), relative_luminance(b)
    hi, lo = max(la, lb), min(la, lb)
    return (hi + 0.05) / (lo + 0.05)


# Colours the game draws on top of the backgrounds.
SNAKE_BODY = (0, 228, 48)
STATUS_TEXT = (200, 122, 255)
SNAKE_BODY_MIN_CONTRAST = 3.0
STATUS_TEXT_MIN_CONTRAST = 2.5
