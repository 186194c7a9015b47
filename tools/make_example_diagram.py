#!/usr/bin/env python3
"""Indicator diagrams of the bundled example engines (examples/V16-26-26.dia, L6-26-26.dia).

Both example engines are turbocharged four-stroke high-speed diesels of the same cylinder:
bore and stroke of 26 cm (crank radius 0.13 m, connecting rod 0.58 m), compression ratio 15,
at 1000 rpm. They differ in the charge (ENGINES below): the V16 runs on 0.25 MPa charge air and
1.05 g of fuel per cycle, the in-line six at a higher rating, 0.30 MPa and 1.25 g, with a
correspondingly higher exhaust manifold pressure (0.26 MPa against 0.22 MPa: about 0.87 of
the charge-air pressure in both).

Model (single-zone, one cylinder, crank angle phi in degrees from the firing top dead centre):
- volume: V = Vc + Fp * (R (1 - cos phi) + L (1 - sqrt(1 - (R/L)^2 sin^2 phi)))  (slider crank,
  Heywood, Internal Combustion Engine Fundamentals, eq. 2.4), Vc = Vs / (eps - 1);
- intake, from the gas-exchange top dead centre (phi = -360) to inlet closing (IVC, -145):
  charge-air pressure minus the intake pressure loss;
- compression from IVC to the start of combustion: polytropic, exponent n1 = 1.36
  (typical of turbocharged diesels, Heywood section 10.2);
- combustion and expansion up to exhaust opening (EVO, +130): first law of a closed system
  with constant gamma = 1.33, dp = ((gamma - 1) dQ - gamma p dV) / V (Heywood eq. 10.4),
  the apparent heat release following a Wiebe function x = 1 - exp(-6.908 (t / tz)^(m + 1))
  (Vibe; Heywood eq. 9.23) with start 8 deg before top dead centre (injection at -15 deg and
  an ignition delay of 7 deg), duration tz = 70 deg and m = 0.5; the heat released is the fuel
  energy (fuel per cycle x 42.5 MJ/kg) less 15 per cent lost to the walls;
- blowdown after EVO: the pressure falls exponentially towards the turbine-inlet pressure
  (time constant 20 deg), then the exhaust stroke at the turbine-inlet pressure.

Run: python3 tools/make_example_diagram.py [FOLDER] (default examples/) writes both diagrams.

Output: the ".dia" layout of the program: a header line, then one line per degree from 0 to
720 (firing top dead centre at 360), columns 1-8 the angle, 9-24 the cylinder volume in
litres (not read by the program), 25-32 the pressure in MPa, then temperature-free extra
columns (burned fraction and heat-release rate) so that every line has more than 40 characters
after column 32. The last line repeats the first a cycle later.
"""
import math
import os
import sys

BORE = 0.26          # m
CRANK = 0.13         # m
ROD = 0.58           # m
EPS = 15.0           # compression ratio
INTAKE_LOSS = 0.007  # MPa
IVC = -145.0         # deg, inlet valve closing
EVO = 130.0          # deg, exhaust valve opening
N1 = 1.36            # polytropic compression exponent
GAMMA = 1.33         # ratio of specific heats during combustion and expansion
HU = 42.5e6          # J/kg, lower heating value of diesel fuel
WALL_LOSS = 0.15     # share of the fuel energy lost to the walls
SOC = -8.0           # deg, start of combustion
DURATION = 70.0      # deg
WIEBE_M = 0.5
BLOWDOWN = 20.0      # deg

# Per engine: file, title, charge-air pressure (MPa), exhaust manifold pressure (MPa), fuel
# per cycle and cylinder (kg).
ENGINES = [
    ("V16-26-26.dia", "example V16 26/26 diesel, 1000 rpm", 0.25, 0.22, 1.05e-3),
    ("L6-26-26.dia", "example 6L 26/26 diesel, 1000 rpm", 0.30, 0.26, 1.25e-3),
]

AREA = math.pi * BORE ** 2 / 4
SWEPT = AREA * 2 * CRANK
VC = SWEPT / (EPS - 1)


def volume(phi):
    a = math.radians(phi)
    lam = CRANK / ROD
    return VC + AREA * (CRANK * (1 - math.cos(a)) + ROD * (1 - math.sqrt(1 - (lam * math.sin(a)) ** 2)))


def burned(phi):
    if phi <= SOC:
        return 0.0
    return 1 - math.exp(-6.908 * (min(phi - SOC, DURATION) / DURATION) ** (WIEBE_M + 1))


def cycle(boost, turbine_in, fuel):
    """Pressure (MPa), burned fraction and heat-release rate (J/deg) at every degree -360..360."""
    fine = 20  # internal steps per degree
    p_ivc = boost - INTAKE_LOSS
    heat = fuel * HU * (1 - WALL_LOSS)
    out = {}
    p = None
    for tenth in range(-360 * fine, 360 * fine + 1):
        phi = tenth / fine
        if phi <= IVC:
            p = p_ivc
        elif phi <= SOC:
            p = p_ivc * (volume(IVC) / volume(phi)) ** N1
        elif phi <= EVO:
            prev = phi - 1 / fine
            dq = heat * (burned(phi) - burned(prev))
            v0, v1 = volume(prev), volume(phi)
            pa = p * 1e6
            pa += ((GAMMA - 1) * dq - GAMMA * pa * (v1 - v0)) / ((v0 + v1) / 2)
            p = pa / 1e6
            p_evo = p
        else:
            p = turbine_in + (p_evo - turbine_in) * math.exp(-(phi - EVO) / BLOWDOWN)
        if tenth % fine == 0:
            rate = heat * (burned(phi + 0.5) - burned(phi - 0.5))
            out[int(round(phi))] = (p, burned(phi), rate)
    return out


def write_diagram(path, title, boost, turbine_in, fuel):
    data = cycle(boost, turbine_in, fuel)
    lines = ["   Angle      Volume, l  P, MPa    Burned   dQ/dphi, J/deg   (" + title + ")"]
    for angle in range(0, 721):
        phi = angle - 360
        p, x, rate = data[phi if phi < 360 else phi - 720] if angle < 720 else data[-360]
        lines.append(f"{angle:8.1f}{volume(phi) * 1e3:16.5f}{p:8.4f}{x:12.5f}{rate:16.3f}{'':14s}")
    with open(path, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")
    work = sum((data[a][0] + data[a + 1][0]) / 2 * 1e6 * (volume(a + 1) - volume(a)) for a in range(-360, 360))
    peak = max((v[0], a) for a, v in data.items())
    print(f"{os.path.basename(path)}: peak {peak[0]:.2f} MPa at {peak[1]} deg, IMEP {work / SWEPT / 1e6:.3f} MPa, "
          f"indicated efficiency {work / (fuel * HU):.3f}")


def main(folder):
    for name, title, boost, turbine_in, fuel in ENGINES:
        write_diagram(os.path.join(folder, name), title, boost, turbine_in, fuel)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "examples")
