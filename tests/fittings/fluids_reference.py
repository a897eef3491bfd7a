"""Loss coefficients from Python's fluids for the fittings test, one line per grid point:
kind key, inner diameter in mm, the row's λ, flow in dm³/min, the two parameters in the
catalogue's order, and fluids' value referred as the catalogue refers it ("ft": Crane's fT).
repr prints floats that read back exactly."""

import fluids

diameters = [8.0, 12.0, 16.0, 20.0, 27.3, 40.0, 52.5, 80.0, 102.3, 150.0, 228.0, 229.0,
             300.0, 380.0, 382.0, 500.0, 1000.0]  # mm; 228.6 and 381 divide butterfly sizes
frictions = [0.012, 0.02, 0.03, 0.05, 0.1]
bend_ratios = [0.5, 0.75, 1.0, 1.5, 2.0, 3.0, 5.0, 10.0, 20.0]
# Crane's tee formulas switch at β² = 0.35, 0.4 and 2/3 and at q = 0.4, 0.5 and 0.6.
shares = [0.01, 0.1, 0.25, 0.4, 0.45, 0.5, 0.55, 0.6, 0.75, 0.9, 0.99, 1.0]
branch_ratios = [0.2, 0.5, 0.6, 0.62, 0.65, 0.66, 0.8, 0.82, 0.9, 1.0]
ratios = [0.0, 0.05, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 0.95, 1.0]


def line(key, value, d=50.0, f=0.02, flow=10.0, a=0.0, b=0.0):
    print(key, repr(d), repr(f), repr(flow), repr(float(a)), repr(float(b)), repr(float(value)))


for d in diameters:
    D = d / 1000
    line("ft", fluids.ft_Crane(D), d=d)
    line("winkel90_gewinde", fluids.bend_rounded(D, 90, method="Crane standard"), d=d)
    line("winkel45_gewinde", fluids.bend_rounded(D, 45, method="Crane standard"), d=d)
    line("rueckschlagklappe", fluids.K_swing_check_valve_Crane(D=D), d=d)
    line("absperrklappe", fluids.K_butterfly_valve_Crane(D, style=0), d=d)
    line("schieber", fluids.K_gate_valve_Crane(D, D, 0.0), d=d)
    line("kugelhahn", fluids.K_ball_valve_Crane(D, D, 0.0), d=d)
    line("ventil", fluids.K_globe_valve_Crane(D, D), d=d)
    for kv in [0.25, 1.0, 2.5, 10.0, 160.0]:
        # Any flow: ζ of a Kv value does not depend on it.
        line("kv", fluids.Kv_to_K(kv, D), d=d, flow=3.0 * d, a=kv)

for f in frictions:
    for r in bend_ratios:
        for key, angle in (("bogen90", 90), ("bogen45", 45)):
            K = fluids.bend_rounded(Di=0.05, angle=angle, fd=f, bend_diameters=r, method="Rennels")
            line(key, K, f=f, a=r)

for angle in [0.0, 10.0, 30.0, 45.0, 60.0, 90.0, 120.0, 150.0]:
    line("gehrungsbogen", fluids.bend_miter(angle, method="Rennels"), a=angle)

# Crane refers a tee's K to the combined flow; the catalogue to the branch pipe (diameter β,
# share q) or to the run pipe (the combined diameter, share 1 - q).
for q in shares:
    assert (1 - q) + q == 1  # so fluids sees the share exactly
    for beta in branch_ratios:
        to_branch = (beta * beta / q) ** 2
        args = (1.0, beta, 1 - q, q)  # D_run, D_branch, Q_run, Q_branch
        # fluids 1.0.22 takes Crane's H = 0.3 of the equal tee for every β above 2/3, where its
        # documentation, after Crane, says β = 1; that range is left out.
        if beta <= 2 / 3 or beta == 1:
            line("t_trennung_abzweig",
                 fluids.K_branch_diverging_Crane(*args, angle=90) * to_branch, a=q, b=beta)
        line("t_vereinigung_abzweig",
             fluids.K_branch_converging_Crane(*args, angle=90) * to_branch, a=q, b=beta)
        if q < 1:
            to_run = 1 / (1 - q) ** 2
            line("t_trennung_durchgang", fluids.K_run_diverging_Crane(*args, angle=90) * to_run,
                 a=q, b=beta)
            line("t_vereinigung_durchgang",
                 fluids.K_run_converging_Crane(*args, angle=90) * to_run, a=q, b=beta)

line("einlauf_scharf", fluids.entrance_sharp(method="Rennels"))
line("auslauf", fluids.exit_normal())
for r in ratios:
    line("einlauf_gerundet", fluids.entrance_rounded(Di=1.0, rc=r, method="Rennels"), a=r)
    line("erweiterung", fluids.diffuser_sharp(Di1=r, Di2=1.0, method="Rennels"), a=r)
    if r > 0:  # fluids wants a pipe after the contraction
        line("verengung", fluids.contraction_sharp(Di1=1.0, Di2=r, method="Rennels"), a=r)
