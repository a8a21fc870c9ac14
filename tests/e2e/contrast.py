#!/usr/bin/python3
# The high-contrast look measured on a screenshot of the table window at
# `scale` device pixels to the layout pixel, the keyboard's focus on 18 and
# the chip of 1 in hand: numerals, the drawn number and the marks against what
# lies around them, and red against black under simulated colour blindness;
# one figure a line, rounded down.   contrast.py <screenshot> <scale>
import re
import subprocess
import sys
from collections import Counter
from colorspacious import cspace_convert

data = subprocess.run(['convert', sys.argv[1], 'ppm:-'], capture_output=True, check=True).stdout
scale, header = float(sys.argv[2]), re.match(rb'P6\s+(\d+)\s+\d+\s+255\s', data)
width, pixels = int(header[1]), data[header.end():]

def ratio(*pair):
    lum = [sum(w * (v / 255 / 12.92 if v <= 10 else ((v / 255 + 0.055) / 1.055) ** 2.4)
               for w, v in zip((0.2126, 0.7152, 0.0722), rgb)) for rgb in pair]
    return (max(lum) + 0.05) / (min(lum) + 0.05)

def at(x, y):  # in device pixels
    return tuple(pixels[3 * (y * width + x):3 * (y * width + x) + 3])

def inside(x, y, w, h):
    """The background (most common colour) and the colour standing out most from it."""
    seen = Counter(at(round(x * scale) + i, round(y * scale) + j) for i in range(round(w * scale)) for j in range(round(h * scale)))
    back = seen.most_common(1)[0][0]
    return back, max(seen, key=lambda c: ratio(back, c))

def figure(name, value):
    print(f'{name} {int(value * 10) / 10:.1f}')

cells = {'17': (224, 264), '18': (304, 264)}
for number, (x, y) in cells.items():
    figure(f'numeral {number}', ratio(*inside(x + 3, y + 3, 59, 19)))
figure('drawn number', ratio(*inside(658, 74, 69, 29)))
# Each mark's colour, at its outer edge, against the cloth or the tray beyond
# it and against what lies inside its ring of `w` layout pixels.
for mark, (x, y, w) in {'focus 18': (304, 264, 2), 'chip in hand': (144, 600, 3)}.items():
    x, y = round(x * scale), round((y + 12) * scale)
    figure(f'{mark} outside', ratio(at(x, y), at(x - 1, y)))
    figure(f'{mark} inside', ratio(at(x, y), at(x + round(w * scale) - 1, y)))
red, black = inside(*cells['18'], 65, 25)[0], inside(*cells['17'], 65, 25)[0]
for cvd in ('deuteranomaly', 'protanomaly', 'tritanomaly'):
    seen = [tuple(min(255, max(0, round(v * 255))) for v in cspace_convert([c / 255 for c in rgb],
            {'name': 'sRGB1+CVD', 'cvd_type': cvd, 'severity': 100}, 'sRGB1')) for rgb in (red, black)]
    figure(f'red to black {cvd}', ratio(*seen))
