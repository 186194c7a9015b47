#!/usr/bin/env python3
"""Writes the 27 design graphs (".kft" tables) of VEXA from their published formulas and tables.

Usage: python3 tools/make_graphs.py [output directory]
The default output directory is data/DataBase/Коэффициенты beside this script's repository.

Every graph names its source in the comment next to it and in its title line; graphs for
which no published source was found carry "[provisional]" in the title and hold
conservative values (values that lower the safety factors rather than raise them).
data/README.md lists the same sources.

File format: line 1 title; a single curve has the number of intervals n on line 2, the n + 1
abscissas on line 3 and the n + 1 ordinates on line 4; a family has "n m" on line 2, the
corner cell 0 and the abscissas on line 3, then one line per curve: its parameter and its
n + 1 ordinates. "." is the decimal separator.
"""

import math
import os
import sys

# ---------------------------------------------------------------------------------------
# Writing the tables
# ---------------------------------------------------------------------------------------


def fmt(value):
    """Six significant digits: the program rounds every graph value to 0.0001."""
    text = "%.6g" % value
    return "0" if text == "-0" else text


def write_curve(directory, name, title, xs, ys):
    assert len(xs) == len(ys) >= 2
    assert all(b > a for a, b in zip(xs, xs[1:])), name
    with open(os.path.join(directory, name), "w", encoding="utf-8", newline="\n") as f:
        f.write(title + "\n")
        f.write("%d\n" % (len(xs) - 1))
        f.write(" ".join(fmt(x) for x in xs) + "\n")
        f.write(" ".join(fmt(y) for y in ys) + "\n")


def write_family(directory, name, title, xs, params, rows):
    assert len(xs) >= 2 and len(params) >= 2 and len(rows) == len(params)
    assert all(b > a for a, b in zip(xs, xs[1:])), name
    assert all(b > a for a, b in zip(params, params[1:])), name
    for row in rows:
        assert len(row) == len(xs)
        # Family lookups replace values outside [0, 5] by 0: a table must stay inside.
        assert all(0 <= y <= 5 for y in row), name
    with open(os.path.join(directory, name), "w", encoding="utf-8", newline="\n") as f:
        f.write(title + "\n")
        f.write("%d %d\n" % (len(xs) - 1, len(params) - 1))
        f.write("0 " + " ".join(fmt(x) for x in xs) + "\n")
        for p, row in zip(params, rows):
            f.write(fmt(p) + " " + " ".join(fmt(y) for y in row) + "\n")


def steps(first, last, step):
    count = int(round((last - first) / step))
    return [round(first + i * step, 10) for i in range(count + 1)]


def geometric(first, last, count):
    ratio = (last / first) ** (1.0 / (count - 1))
    return [first * ratio**i for i in range(count)]


# ---------------------------------------------------------------------------------------
# Crankpin fillet: empirical stress concentration factors of IACS UR M53 "Calculation of
# crankshafts for I.C. engines", Rev.1 (2004), 3.2 "Crankpin fillet", in the rule's
# dimensionless ratios to the crankpin diameter D:
#   s = overlap S/D, w = web thickness W/D, b = web width B/D, r = fillet radius R/D,
#   dG = journal bore/D, dH = crankpin bore/D (no recesses).
# Bending:  alphaB = 2.6914·fB(s,w)·fB(w)·fB(b)·fB(r)·fB(dG)·fB(dH)·f(recess)
# Torsion:  alphaT = 0.8·fT(r,s)·fT(b)·fT(w)
# The rule's range: s <= 0.5, 0.2 <= w <= 0.8, 1.1 <= b <= 2.2, 0.03 <= r <= 0.13,
# 0 <= dG, dH <= 0.8; for s < -0.5 the factors of s are taken at s = -0.5.
# ---------------------------------------------------------------------------------------


def m53_fB_sw(s, w):
    return (-4.1883 + 29.2004 * w - 77.5925 * w**2 + 91.9454 * w**3 - 40.0416 * w**4
            + (1 - s) * (9.5440 - 58.3480 * w + 159.3415 * w**2 - 192.5846 * w**3 + 85.2916 * w**4)
            + (1 - s)**2 * (-3.8399 + 25.0444 * w - 70.5571 * w**2 + 87.0328 * w**3 - 39.1832 * w**4))


def m53_fB_w(w):
    return 2.1790 * w**0.7171


def m53_fB_b(b):
    return 0.6840 - 0.0077 * b + 0.1473 * b**2


def m53_fB_r(r):
    return 0.2081 * r**(-0.5231)


def m53_fB_dG(dG):
    return 0.9993 + 0.27 * dG - 1.0211 * dG**2 + 0.5306 * dG**3


def m53_fB_dH(dH):
    return 0.9978 + 0.3145 * dH - 1.5241 * dH**2 + 2.4147 * dH**3


def m53_fT_rs(r, s):
    return r**(-0.322 + 0.1015 * (1 - s))


def m53_fT_b(b):
    return 7.8955 - 10.654 * b + 5.3482 * b**2 - 0.857 * b**3


def m53_fT_w(w):
    return w**(-0.145)


# Typical crankshaft proportions at which the inputs that the program does not pass to a
# graph are fixed (stated in data/README.md):
W0 = 0.33   # web thickness / crankpin diameter of the no-overlap base curve "KsgmD0"
R0 = 0.04   # fillet radius / crankpin diameter in the overlap factor of torsion "BetTauD"
S_MIN = -0.5  # the rule evaluates smaller overlaps at -0.5


def web_factor(s, w):
    """The part of the bending factor that depends on overlap and web thickness once the
    fillet radius is expressed over the web thickness: r = (R/W)·w, so
    fB(r) = 0.2081·(R/W)^-0.5231·w^-0.5231."""
    return m53_fB_sw(max(s, S_MIN), w) * m53_fB_w(w) * w**(-0.5231)


OVERLAPS = [-2.0] + steps(-0.5, 0.5, 0.05)  # s; the point at -2 holds the rule's constant tail


def crankpin_fillet_graphs(out):
    # "KsgmD0": base bending factor without overlap over (fillet radius / web thickness), at
    # s = 0, w = W0, solid journal (fB(dG = 0) = 0.9993); the web width, crankpin bore and the
    # overlap/web-thickness effects follow in their own graphs. The journal bore is not an
    # argument of this graph: fB(dG) peaks at 1.019 near dG = 0.15, so for bored journals the
    # table may read up to 2 % below the rule.
    xs = geometric(0.02, 1.0, 41)
    base = 2.6914 * 0.2081 * m53_fB_dG(0.0) * web_factor(0.0, W0)
    write_curve(out, "KsgmD0.kft",
                "KsgmD0: crankpin fillet bending, no overlap, over R/W (IACS UR M53, s=0, w=%.2f)" % W0,
                xs, [base * x**(-0.5231) for x in xs])

    # "BetsgmH": web-width factor fB(b) of the rule, over H/D.
    bs = steps(0.8, 2.6, 0.1)
    write_curve(out, "BetsgmH.kft", "BetsgmH: web width factor in bending fB(b) (IACS UR M53)",
                bs, [m53_fB_b(b) for b in bs])

    # "BetsgmDv": crankpin bore factor fB(dH) of the rule, over Dbore/D.
    ds = steps(0.0, 0.8, 0.05)
    write_curve(out, "BetsgmDv.kft", "BetsgmDv: crankpin bore factor in bending fB(dH) (IACS UR M53)",
                ds, [m53_fB_dH(d) for d in ds])

    # "KsiSigmH": the rule multiplies the overlap and web-width factors, so the correction
    # of the overlap factor by web width is 1.
    write_curve(out, "KsiSigmH.kft", "KsiSigmH: overlap correction by web width, 1 (IACS UR M53 factors multiply)",
                [0.5, 3.0], [1.0, 1.0])

    # "BetSgmD1": overlap factor over s = overlap/D, one curve per w = web thickness/D:
    # the rule's overlap and web-thickness terms relative to the base curve at s = 0, w = W0.
    ws = steps(0.2, 0.8, 0.05)
    ref = web_factor(0.0, W0)
    write_family(out, "BetSgmD1.kft",
                 "BetSgmD1: overlap factor in bending over s, curves per W/D (IACS UR M53, relative to s=0, w=%.2f)" % W0,
                 OVERLAPS, ws, [[web_factor(s, w) / ref for s in OVERLAPS] for w in ws])

    # "Ktau0": torsion base over r = fillet radius/D at s = 0: 0.8·fT(r, 0); the rule has no
    # crankpin-bore term in torsion, so the curves for every bore ratio coincide.
    rs = geometric(0.01, 0.3, 41)
    row = [0.8 * m53_fT_rs(r, 0.0) for r in rs]
    write_family(out, "Ktau0.kft", "Ktau0: crankpin fillet torsion at s=0 over R/D, curves per bore ratio (IACS UR M53)",
                 rs, [0.0, 0.8], [row, row])

    write_curve(out, "BetTauH.kft", "BetTauH: web width factor in torsion fT(b) (IACS UR M53)",
                bs, [m53_fT_b(b) for b in bs])

    ws_t = steps(0.1, 1.0, 0.05)
    write_curve(out, "BetTauB.kft", "BetTauB: web thickness factor in torsion fT(w) (IACS UR M53)",
                ws_t, [m53_fT_w(w) for w in ws_t])

    # "BetTauD": overlap factor in torsion fT(r, s)/fT(r, 0) = r^(-0.1015·s) at r = R0; the
    # rule has no dependence on the program's curve parameter (web factors), so the curves
    # coincide.
    row = [R0**(-0.1015 * max(s, S_MIN)) for s in OVERLAPS]
    write_family(out, "BetTauD.kft",
                 "BetTauD: overlap factor in torsion over s at R/D=%.2f (IACS UR M53)" % R0,
                 OVERLAPS, [0.0, 5.0], [row, row])

    # Eccentric lightening holes: the rule covers concentric bores only; no published
    # factor found. 1 credits no relief from eccentricity.
    for name, what in (("KsgmE.kft", "bending"), ("KtauE.kft", "torsion")):
        write_family(out, name,
                     "%s: eccentricity factor of the lightening hole in %s, 1 [provisional]" % (name[:-4], what),
                     [0.0, 1.0], [0.0, 0.8], [[1.0, 1.0], [1.0, 1.0]])


# ---------------------------------------------------------------------------------------
# Oil holes: shaft with a transverse hole of diameter d, outer diameter D, bore Di.
# The program forms the coefficient as alpha(net) / (W/W0), so the graphs hold the
# coefficient on the net section and the net-to-gross section-modulus ratio.
# Net section moduli (Peterson's Stress Concentration Factors, transverse hole charts):
#   bending  Wnet = pi(D^4 - Di^4)/(32 D) - d(D^3 - Di^3)/(6 D)
#   torsion  Wnet = pi(D^4 - Di^4)/(16 D) - d(D^3 - Di^3)/(6 D)
# Gross-section coefficients:
#   bending  IACS UR M53, 3.4 (oil bore outlet): gammaB = 3 - 5.88 dO + 34.6 dO^2
#   torsion  Roark's Formulas for Stress and Strain, Table 17.1, radial hole in a hollow or
#            solid shaft, torsion (peak normal stress over nominal shear stress):
#            Kt = 4 + C2 (d/D) + C3 (d/D)^2 + C4 (d/D)^3 with
#            C2 = -6.793 + 1.133 b - 0.126 b^2, C3 = 38.382 - 7.242 b + 6.495 b^2,
#            C4 = -44.576 - 7.428 b + 58.656 b^2, b = Di/D (valid for d/D <= 0.4, b <= 0.9)
# ---------------------------------------------------------------------------------------


def bore_term(beta):
    return (1 - beta**3) / (1 - beta**4)


def net_ratio_bending(x, beta):
    return 1 - 16 / (3 * math.pi) * x * bore_term(beta)


def net_ratio_torsion(x, beta):
    return 1 - 8 / (3 * math.pi) * x * bore_term(beta)


def m53_oil_bending(x):
    return 3 - 5.88 * x + 34.6 * x**2


def roark_hole_torsion(x, beta):
    c2 = -6.793 + 1.133 * beta - 0.126 * beta**2
    c3 = 38.382 - 7.242 * beta + 6.495 * beta**2
    c4 = -44.576 - 7.428 * beta + 58.656 * beta**2
    return 4 + c2 * x + c3 * x**2 + c4 * x**3


def oil_hole_graphs(out):
    # Oil holes of crankshafts stay well below 0.3 D; up to there the torsion factor of the
    # thinnest tube (Di/D = 0.9) stays below 5, the largest value a family may hold.
    xs = steps(0.0, 0.3, 0.02)
    betas = [0.0, 0.2, 0.4, 0.6, 0.8, 0.9]
    write_curve(out, "AlphaSgm.kft",
                "AlphaSgm: oil hole in bending on the net section (IACS UR M53 3.4 x Peterson net section, solid)",
                xs, [m53_oil_bending(x) * net_ratio_bending(x, 0.0) for x in xs])
    write_family(out, "AlphaTau.kft",
                 "AlphaTau: oil hole in torsion on the net section over d/D, curves per Di/D (Roark Table 17.1 x Peterson net section)",
                 xs, betas, [[roark_hole_torsion(x, b) * net_ratio_torsion(x, b) for x in xs] for b in betas])
    write_family(out, "W_W0_sgm.kft", "W_W0_sgm: net/gross section modulus in bending, hollow shaft with transverse hole (Peterson)",
                 xs, betas, [[net_ratio_bending(x, b) for x in xs] for b in betas])
    write_family(out, "W_W0_tau.kft", "W_W0_tau: net/gross section modulus in torsion, hollow shaft with transverse hole (Peterson)",
                 xs, betas, [[net_ratio_torsion(x, b) for x in xs] for b in betas])
    write_curve(out, "W_W0_sgm_solid.kft", "W_W0_sgm_solid: net/gross section modulus in bending, solid shaft with transverse hole (Peterson)",
                xs, [net_ratio_bending(x, 0.0) for x in xs])
    write_curve(out, "W_W0_tau_solid.kft", "W_W0_tau_solid: net/gross section modulus in torsion, solid shaft with transverse hole (Peterson)",
                xs, [net_ratio_torsion(x, 0.0) for x in xs])

    # Inclined oil hole (angle gamma to the radial direction, degrees): no published factor
    # found. The hole meets the surface in an ellipse with axis ratio 1/cos(gamma); in pure
    # shear an elliptical hole with axes a >= b along the principal stresses has the peak
    # stress tau·2(1 + a/b) against 4·tau for a round hole (Inglis/Kolosov solution, the
    # least favourable orientation): factor (1 + 1/cos gamma)/2.
    gammas = steps(0.0, 60.0, 5.0)
    write_curve(out, "ASTG_ASTG0.kft",
                "ASTG_ASTG0: inclined oil hole factor in torsion, elliptic outlet in shear (Inglis) [provisional]",
                gammas, [(1 + 1 / math.cos(math.radians(g))) / 2 for g in gammas])


# ---------------------------------------------------------------------------------------
# Notch sensitivity q, abscissa: notch radius in mm.
# ---------------------------------------------------------------------------------------

RADII_MM = [0.0, 0.05, 0.1, 0.2, 0.3, 0.5, 0.75, 1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0,
            10.0, 12.0, 15.0, 20.0, 30.0]


def kuhn_hardrath_sqrt_a(su_mpa):
    """Neuber's constant sqrt(a) in sqrt(mm) for bending of steels, from the ultimate strength
    in MPa: Budynas & Nisbett, Shigley's Mechanical Engineering Design, eq. 6-35a (SI form,
    fit to the Kuhn-Hardrath data, 340 <= Su <= 1700 MPa; the printed kpsi form
    0.246 - 3.08e-3 S + 1.51e-5 S^2 - 2.67e-8 S^3 in sqrt(in) converts to it within 0.002). The fit reaches zero near the top
    of its range; it is not allowed below zero (q <= 1)."""
    return max(0.0, 1.24 - 2.25e-3 * su_mpa + 1.60e-6 * su_mpa**2 - 4.11e-10 * su_mpa**3)


def neuber_q(r_mm, sqrt_a):
    if r_mm <= 0:
        return 0.0
    return 1 / (1 + sqrt_a / math.sqrt(r_mm))


def peterson_q(r_mm, a_mm):
    if r_mm <= 0:
        return 0.0
    return 1 / (1 + a_mm / r_mm)


def notch_sensitivity_graphs(out):
    # Parameter: ultimate strength in kgf/mm² (the program passes SgmV·1.0197/10).
    strengths = [35, 40, 50, 60, 70, 80, 90, 100, 110, 120, 140, 160, 170]
    rows = []
    for s in strengths:
        su_mpa = s * 10 / 1.0197
        sa = kuhn_hardrath_sqrt_a(su_mpa)
        rows.append([neuber_q(r, sa) for r in RADII_MM])
    write_family(out, "q(r, SgmV).kft",
                 "q(r, SgmV): notch sensitivity over radius mm, curves per ultimate strength kgf/mm2 (Neuber, Kuhn-Hardrath constant, Shigley eq. 6-35a)",
                 RADII_MM, strengths, rows)

    # Parameter: yield ratio SgmT/SgmV. Peterson's relation q = 1/(1 + a/r) with his material
    # constants a = 0.010 in (0.254 mm) for annealed or normalised steels and 0.0025 in
    # (0.0635 mm) for quenched and tempered steels (bending and axial load; Peterson gives
    # 0.6·a for torsion, which this graph does not distinguish). The two heat-treatment states are placed
    # at the yield ratios of GOST steels in those states: Сталь 45 normalised 355/600 = 0.59
    # (GOST 1050), 40ХН2МА quenched and tempered 930/1080 = 0.86 (GOST 4543); below 0.59 and
    # above 0.86 the curves are held constant.
    normalised = [peterson_q(r, 0.254) for r in RADII_MM]
    tempered = [peterson_q(r, 0.0635) for r in RADII_MM]
    write_family(out, "q(r, SgmT_SgmV).kft",
                 "q(r, SgmT_SgmV): notch sensitivity over radius mm, curves per yield ratio (Peterson, a = 0.254 mm normalised, 0.0635 mm quenched and tempered)",
                 RADII_MM, [0.3, 0.59, 0.86, 1.0], [normalised, normalised, tempered, tempered])


# ---------------------------------------------------------------------------------------
# Scale factors over the diameter in metres, one curve per material class
# (0 carbon steel, 1 alloy steel, 2 cast iron).
# Russian machine-design handbooks (Иванов М.Н., «Детали машин»; Дунаев П.Ф., Леликов О.П.,
# «Конструирование узлов и деталей машин», table of the size factor Kd) for d = 20 … 100 mm:
#   bending, carbon steel:                       0.92 0.88 0.85 0.81 0.76 0.71
#   bending, alloy steel; torsion, all steels:   0.83 0.77 0.73 0.70 0.67 0.62
# Beyond 100 mm the value at 100 mm falls as d^-0.157, the exponent of the size factor
# kb = 1.51 d^-0.157 (51 < d <= 254 mm) of Shigley's Mechanical Engineering Design (eq. 6-20).
# Cast iron: no published curve found; it takes the lower (alloy steel) curve [provisional].
# ---------------------------------------------------------------------------------------

TABLE_D_MM = [20, 30, 40, 50, 70, 100]
CARBON_BENDING = [0.92, 0.88, 0.85, 0.81, 0.76, 0.71]
ALLOY_OR_TORSION = [0.83, 0.77, 0.73, 0.70, 0.67, 0.62]
LARGE_D_MM = [150, 200, 300, 400, 500, 700, 1000]


def extend(values):
    return values + [values[-1] * (d / 100.0) ** (-0.157) for d in LARGE_D_MM]


def scale_factor_graphs(out):
    xs = [d / 1000.0 for d in TABLE_D_MM + LARGE_D_MM]
    carbon = extend(CARBON_BENDING)
    alloy = extend(ALLOY_OR_TORSION)
    write_family(out, "Esgm.kft",
                 "Esgm: scale factor in bending over diameter m, curves per class 0 carbon 1 alloy 2 cast iron [cast iron provisional]",
                 xs, [0, 1, 2], [carbon, alloy, alloy])
    write_family(out, "Etau.kft",
                 "Etau: scale factor in torsion over diameter m, curves per class 0 carbon 1 alloy 2 cast iron [cast iron provisional]",
                 xs, [0, 1, 2], [alloy, alloy, alloy])


# ---------------------------------------------------------------------------------------
# Cycle asymmetry sensitivities over the ultimate strength in MPa: GOST 25.504-82
# psi_sigma = 0.02 + 2e-4·SgmV, psi_tau = 0.5·psi_sigma.
# ---------------------------------------------------------------------------------------


def asymmetry_graphs(out):
    xs = steps(300, 1600, 100)
    write_curve(out, "PsiSigm.kft", "PsiSigm: cycle asymmetry sensitivity in bending over SgmV MPa (GOST 25.504-82)",
                xs, [0.02 + 2e-4 * x for x in xs])
    write_curve(out, "PsiTau.kft", "PsiTau: cycle asymmetry sensitivity in torsion over SgmV MPa (GOST 25.504-82)",
                xs, [0.5 * (0.02 + 2e-4 * x) for x in xs])


# ---------------------------------------------------------------------------------------
# Web torsion coefficient alpha of a rectangle (tau_max = T/(alpha·h·b^2)) over the side
# ratio h/b: Saint-Venant's classical table up to 10; beyond, Roark's Formulas for Stress
# and Strain, Table 10.1, solid rectangular section:
# tau_max = 3T/(8ab^2)·(1 + 0.6095 k + 0.8865 k^2 - 1.8023 k^3 + 0.9100 k^4), k = b/a,
# i.e. alpha = 1/(3·(…)), which tends to 1/3.
# ---------------------------------------------------------------------------------------

SAINT_VENANT = [(1, 0.208), (1.5, 0.231), (2, 0.246), (3, 0.267), (4, 0.282), (6, 0.299), (10, 0.313)]


def roark_rectangle_alpha(ratio):
    k = 1.0 / ratio
    return 1 / (3 * (1 + 0.6095 * k + 0.8865 * k**2 - 1.8023 * k**3 + 0.9100 * k**4))


def web_torsion_graph(out):
    points = SAINT_VENANT + [(n, roark_rectangle_alpha(n)) for n in (15, 20, 30, 50, 100, 1000)]
    write_curve(out, "Mu.kft", "Mu: torsion coefficient alpha of a rectangle over h/b (Saint-Venant; Roark Table 10.1 beyond 10)",
                [p[0] for p in points], [p[1] for p in points])


# ---------------------------------------------------------------------------------------
# Hardening factor over the index of the technology: 0 none, 1 shot peening, 2 carburising,
# nitriding or cyaniding, 3 special heat treatment (induction hardening). Lower bounds of the
# surface-hardening factor Kv for parts with stress concentrators of 30 … 40 mm from the
# handbook table reproduced in Роганов Л.Л., Карнаух С.Г., «Расчёт резьбовых соединений»,
# table 7: shot peening 1.1–1.5, carburising 1.2–2.0 (nitriding 1.3–2.0), induction
# hardening 1.5–2.5. The lower bounds are the conservative choice for crankshaft sizes.
# ---------------------------------------------------------------------------------------


def hardening_graph(out):
    write_curve(out, "Knu.kft", "Knu: hardening factor by technology 0 none 1 shot peening 2 carburising/nitriding 3 induction hardening (handbook Kv, lower bounds)",
                [0, 1, 2, 3], [1.0, 1.1, 1.2, 1.5])


# ---------------------------------------------------------------------------------------
# Dynamic amplification factor of the torsional stress over the number of main journals:
# no published source found. Provisional: 1.05 for two journals rising by 0.05 per journal to
# 1.5 for eleven, so that a longer shaft (lower natural frequencies) is never credited with
# less amplification; values above 1 lower the torsional safety factors. A torsional
# vibration calculation (the combined run) replaces this estimate.
# ---------------------------------------------------------------------------------------


def amplification_graph(out):
    journals = list(range(1, 12))
    write_curve(out, "LamD.kft", "LamD: dynamic amplification factor over the number of journals [provisional]",
                journals, [1.0 + 0.05 * (n - 1) for n in journals])


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "data", "DataBase", "Коэффициенты")
    os.makedirs(out, exist_ok=True)
    crankpin_fillet_graphs(out)
    oil_hole_graphs(out)
    notch_sensitivity_graphs(out)
    scale_factor_graphs(out)
    asymmetry_graphs(out)
    web_torsion_graph(out)
    hardening_graph(out)
    amplification_graph(out)
    count = len([n for n in os.listdir(out) if n.endswith(".kft")])
    print("%d graph files in %s" % (count, out))


if __name__ == "__main__":
    main()
