#!/usr/bin/env python3
"""Writes the small measurement files the tests use: one file of each version
(a run-up of 40 revolutions that get shorter, then a short coast-down),
worked.kxm, nine revolutions whose evaluation is worked out by hand, and
runup.kxm, a whole run as the roller sees it: full-throttle run-up from 1500
to 6500 U/min, then eight seconds of coast-down, so that the drive-train loss
can be read three seconds after the engine-speed maximum."""
import math
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

# ---- runup.kxm -----------------------------------------------------------------
TICKS = 2000000          # per second
INERTIA = 7.05           # Nms², the roller assembly
RATIO = 3.0              # engine revolutions per roller revolution

def engine_torque(rpm):
    """Torque at the engine that accelerates the roller, Nm: peaks at 4000 U/min."""
    return 70.0 + 30.0 * math.sin(math.pi * (rpm - 1500.0) / 5000.0)

def loss_torque(rpm):
    """Drive-train and tyre loss while coasting, Nm at the engine."""
    return -(8.0 + 0.0025 * rpm)

def runup_times():
    """One time stamp per completed roller revolution, with a few ticks of jitter
    from the controller's period counter (a fixed pseudo-random sequence)."""
    dt = 1e-5
    t, turns, rps = 0.0, 0.0, 1500.0 / 60.0 / RATIO
    coasting_since, seed, out = None, 12345, []
    while True:
        rpm = rps * RATIO * 60.0
        if coasting_since is None and rpm >= 6500.0:
            coasting_since = t
        if coasting_since is not None and t - coasting_since >= 8.0:
            break
        torque = engine_torque(rpm) if coasting_since is None else loss_torque(rpm)
        # roller angular acceleration from the torque reflected through the ratio
        alpha = torque * RATIO / INERTIA
        rps += alpha / (2.0 * math.pi) * dt
        before = turns
        turns += rps * dt
        t += dt
        if math.floor(turns) > math.floor(before):
            crossing = t - (turns - math.floor(turns)) / rps
            seed = (seed * 1103515245 + 12345) % 2**31
            jitter = seed % 41 - 20
            out.append(int(round(crossing * TICKS)) + jitter)
    return out

def runup_lambda(times):
    """A/F times 100: rich under full load, lean on the overrun."""
    peak = max(range(len(times) - 1), key=lambda k: -(times[k + 1] - times[k]))
    return [1260 + (k % 7) * 5 if k <= peak else 1650 + (k % 5) * 10 for k in range(len(times))]

rt = runup_times()
with open("runup.kxm", "wb") as f:
    n = len(rt)
    h = b"21XK" + struct.pack("<4Hdid", n, 21, 1002, 45, RATIO, 1700003600, INERTIA) + struct.pack("<d", 1.25)
    f.write(h + comment("Golf 1.8, 3. Gang, Vollgas") + struct.pack("<%di" % n, *rt)
            + struct.pack("<%di" % n, *runup_lambda(rt)))

# ---- worked.kxm: four revolutions of 50 ms, then four of 40 ms -----------------
wt = [0, 100000, 200000, 300000, 400000, 480000, 560000, 640000, 720000]
with open("worked.kxm", "wb") as f:
    h = b"11XK" + struct.pack("<4Hdid", len(wt), 20, 1013, 50, 1.0, 1700000000, 7.05) + struct.pack("<d", 1.25)
    f.write(h + comment("") + struct.pack("<%di" % len(wt), *wt))
