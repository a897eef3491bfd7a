# Liquid water at 0.101325 MPa from python3-iapws, the oracle of water_properties_test: one
# line "celsius density viscosity" (°C, kg/m³, Pa·s) at every tenth of a degree from the
# triple point to 99.6 °C, each number as repr writes it, so that it reads back exactly.
import iapws
from iapws._iapws import _Viscosity

for celsius in [0.01] + [k / 10 for k in range(1, 997)]:
    kelvin = celsius + 273.15
    density = iapws.IAPWS97(T=kelvin, P=0.101325).rho
    print(repr(celsius), repr(density), repr(_Viscosity(density, kelvin)))
