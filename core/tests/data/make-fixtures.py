#!/usr/bin/env python3
"""Writes the small measurement files the tests use: one file of each version.
The times are a run-up of 40 revolutions that get shorter, then a coast-down."""
import struct

def times():
    t, out = 0, []
    for k in range(60):
        period = 100000 - 1500 * k if k < 40 else 40000 + 2500 * (k - 40)
        t += period
        out.append(t)
    return out

def header(version, n, wheel=True):
    ident = {10: b"01XK", 11: b"11XK", 12: b"21XK"}[version]
    h = ident + struct.pack("<4Hdid", n, 21, 1002, 45, 3.0, 1700000000, 7.05)
    h += struct.pack("<d", 1.25) if wheel else b"\x00\x00"
    return h

def comment(text):
    data = text.encode("latin-1") + b"\x00"
    return struct.pack("<H", len(data)) + data

ts = times()
n = len(ts)
with open("v10.kxm", "wb") as f:
    f.write(header(10, n, wheel=False) + comment("Alte Datei") + struct.pack("<%di" % n, *ts))
with open("v11.kxm", "wb") as f:
    f.write(header(11, n) + comment("Prüflauf 3. Gang") + struct.pack("<%di" % n, *ts))
with open("v12.kxm", "wb") as f:
    lam = [147 - (k % 20) for k in range(n)]
    f.write(header(12, n) + comment("mit Lambda") + struct.pack("<%di" % n, *ts) + struct.pack("<%di" % n, *lam))
with open("garbage.kxm", "wb") as f:
    f.write(b"Dies ist keine Messwertdatei.\n")
with open("truncated.kxm", "wb") as f:
    f.write((header(11, n) + comment("kurz") + struct.pack("<%di" % n, *ts))[:100])
