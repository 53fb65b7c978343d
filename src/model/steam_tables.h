#pragma once
// Steam properties from the IAPWS Industrial Formulation 1997: the saturation line (region 4)
// and the basic equation of the vapour region (region 2), which also holds at the saturation
// line itself for the pressures an engine works at. SI units throughout: pressure in MPa
// (absolute), temperature in K, specific volume in m^3/kg, enthalpy in kJ/kg, entropy and heat
// capacities in kJ/(kg K), speed of sound in m/s.

namespace vek1::steam {

// Saturation pressure at a temperature (273.15 to 647.096 K) and saturation temperature at a
// pressure (611.213 Pa to 22.064 MPa). Outside those ranges, or for NaN, the result is NaN.
double saturationPressure(double temperatureK);
double saturationTemperature(double pressureMPa);

struct VapourState {
  double Pressure = 0.0;      // MPa
  double Temperature = 0.0;   // K
  double Volume = 0.0;        // m^3/kg
  double Enthalpy = 0.0;      // kJ/kg
  double Entropy = 0.0;       // kJ/(kg K)
  double Cp = 0.0, Cv = 0.0;  // kJ/(kg K)
  double SoundSpeed = 0.0;    // m/s
  // The isentropic exponent -(v/p)(dp/dv) at constant entropy: w^2 / (p v).
  double IsentropicExponent = 0.0;
};

// Vapour at a pressure and temperature by the region 2 equation. Meant for 273.15..1073.15 K and
// pressures up to the saturation pressure of the temperature; NaN fields for non-finite or
// non-positive input.
VapourState vapour(double pressureMPa, double temperatureK);
// Dry saturated vapour at a pressure: region 2 at the saturation temperature.
VapourState saturatedVapour(double pressureMPa);

}  // namespace vek1::steam
