#include "steam_tables.h"

#include <array>
#include <cmath>
#include <limits>

namespace vek1::steam {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kGasConstant = 0.461526;  // kJ/(kg K), the formulation's specific constant
constexpr double kCriticalT = 647.096;
constexpr double kCriticalP = 22.064;
constexpr double kTripleP = 611.212677e-6;

// Region 4, the saturation line.
constexpr std::array<double, 11> kSat = {0.0,
                                         0.11670521452767e+04,
                                         -0.72421316703206e+06,
                                         -0.17073846940092e+02,
                                         0.12020824702470e+05,
                                         -0.32325550322333e+07,
                                         0.14915108613530e+02,
                                         -0.48232657361591e+04,
                                         0.40511340542057e+06,
                                         -0.23855557567849e+00,
                                         0.65017534844798e+03};

// Region 2, ideal-gas part.
constexpr std::array<int, 9> kJ0 = {0, 1, -5, -4, -3, -2, -1, 2, 3};
constexpr std::array<double, 9> kN0 = {
    -0.96927686500217e+01, 0.10086655968018e+02,  -0.56087911283020e-02,
    0.71452738081455e-01,  -0.40710498223928e+00, 0.14240819171444e+01,
    -0.43839511319450e+01, -0.28408632460772e+00, 0.21268463753307e-01};

// Region 2, residual part.
constexpr std::array<int, 43> kIr = {1,  1,  1,  1,  1,  2,  2,  2,  2,  2,  3,  3,  3, 3,  3,
                                     4,  4,  4,  5,  6,  6,  6,  7,  7,  7,  8,  8,  9, 10, 10,
                                     10, 16, 16, 18, 20, 20, 20, 21, 22, 23, 24, 24, 24};
constexpr std::array<int, 43> kJr = {0,  1,  2,  3,  6,  1,  2,  4,  7,  36, 0,  1,  3,  6, 35,
                                     1,  2,  3,  7,  3,  16, 35, 0,  11, 25, 8,  36, 13, 4, 10,
                                     14, 29, 50, 57, 20, 35, 48, 21, 53, 39, 26, 40, 58};
constexpr std::array<double, 43> kNr = {
    -0.17731742473213e-02, -0.17834862292358e-01, -0.45996013696365e-01, -0.57581259083432e-01,
    -0.50325278727930e-01, -0.33032641670203e-04, -0.18948987516315e-03, -0.39392777243355e-02,
    -0.43797295650573e-01, -0.26674547914087e-04, 0.20481737692309e-07,  0.43870667284435e-06,
    -0.32277677238570e-04, -0.15033924542148e-02, -0.40668253562649e-01, -0.78847309559367e-09,
    0.12790717852285e-07,  0.48225372718507e-06,  0.22922076337661e-05,  -0.16714766451061e-10,
    -0.21171472321355e-02, -0.23895741934104e+02, -0.59059564324270e-17, -0.12621808899101e-05,
    -0.38946842435739e-01, 0.11256211360459e-10,  -0.82311340897998e+01, 0.19809712802088e-07,
    0.10406965210174e-18,  -0.10234747095929e-12, -0.10018179379511e-08, -0.80882908646985e-10,
    0.10693031879409e+00,  -0.33662250574171e+00, 0.89185845355421e-24,  0.30629316876232e-12,
    -0.42002467698208e-05, -0.59056029685639e-25, 0.37826947613457e-05,  -0.12768608934681e-14,
    0.73087610595061e-28,  0.55414715350778e-16,  -0.94369707241210e-06};

VapourState nanState() {
  VapourState s;
  s.Pressure = s.Temperature = s.Volume = s.Enthalpy = s.Entropy = kNaN;
  s.Cp = s.Cv = s.SoundSpeed = s.IsentropicExponent = kNaN;
  return s;
}

}  // namespace

double saturationPressure(double T) {
  if (!(T >= 273.15 && T <= kCriticalT)) return kNaN;
  const auto& n = kSat;
  const double theta = T + n[9] / (T - n[10]);
  const double A = theta * theta + n[1] * theta + n[2];
  const double B = n[3] * theta * theta + n[4] * theta + n[5];
  const double C = n[6] * theta * theta + n[7] * theta + n[8];
  return std::pow(2.0 * C / (-B + std::sqrt(B * B - 4.0 * A * C)), 4);
}

double saturationTemperature(double P) {
  if (!(P >= kTripleP && P <= kCriticalP)) return kNaN;
  const auto& n = kSat;
  const double beta = std::pow(P, 0.25);
  const double E = beta * beta + n[3] * beta + n[6];
  const double F = n[1] * beta * beta + n[4] * beta + n[7];
  const double G = n[2] * beta * beta + n[5] * beta + n[8];
  const double D = 2.0 * G / (-F - std::sqrt(F * F - 4.0 * E * G));
  return (n[10] + D - std::sqrt((n[10] + D) * (n[10] + D) - 4.0 * (n[9] + n[10] * D))) / 2.0;
}

VapourState vapour(double P, double T) {
  if (!(std::isfinite(P) && std::isfinite(T) && P > 0.0 && T > 0.0)) return nanState();
  const double tau = 540.0 / T;
  const double pi = P;  // reference pressure 1 MPa

  // Ideal-gas part and its derivatives in pi and tau.
  double g0 = std::log(pi), g0t = 0.0, g0tt = 0.0;
  for (std::size_t k = 0; k < kN0.size(); ++k) {
    const int j = kJ0[k];
    g0 += kN0[k] * std::pow(tau, j);
    g0t += kN0[k] * j * std::pow(tau, j - 1);
    g0tt += kN0[k] * j * (j - 1) * std::pow(tau, j - 2);
  }
  const double g0p = 1.0 / pi;

  double gr = 0.0, grp = 0.0, grpp = 0.0, grt = 0.0, grtt = 0.0, grpt = 0.0;
  const double t5 = tau - 0.5;
  for (std::size_t k = 0; k < kNr.size(); ++k) {
    const int i = kIr[k], j = kJr[k];
    const double n = kNr[k];
    const double pI = std::pow(pi, i), pI1 = std::pow(pi, i - 1), pI2 = std::pow(pi, i - 2);
    const double tJ = std::pow(t5, j), tJ1 = j >= 1 ? std::pow(t5, j - 1) : 0.0;
    const double tJ2 = j >= 2 ? std::pow(t5, j - 2) : 0.0;
    gr += n * pI * tJ;
    grp += n * i * pI1 * tJ;
    grpp += n * i * (i - 1) * pI2 * tJ;
    grt += n * j * pI * tJ1;
    grtt += n * j * (j - 1) * pI * tJ2;
    grpt += n * i * j * pI1 * tJ1;
  }

  VapourState s;
  const double RT = kGasConstant * T;
  s.Pressure = P;
  s.Temperature = T;
  s.Volume = pi * (g0p + grp) * RT / P / 1000.0;
  s.Enthalpy = tau * (g0t + grt) * RT;
  s.Entropy = kGasConstant * (tau * (g0t + grt) - (g0 + gr));
  s.Cp = -kGasConstant * tau * tau * (g0tt + grtt);
  const double a = 1.0 + pi * grp - tau * pi * grpt;
  s.Cv = kGasConstant * (-tau * tau * (g0tt + grtt) - a * a / (1.0 - pi * pi * grpp));
  const double w2 = RT * 1000.0 * (1.0 + 2.0 * pi * grp + pi * pi * grp * grp) /
                    (1.0 - pi * pi * grpp + a * a / (tau * tau * (g0tt + grtt)));
  s.SoundSpeed = std::sqrt(w2);
  s.IsentropicExponent = w2 / (P * 1e6 * s.Volume);
  return s;
}

VapourState saturatedVapour(double P) {
  const double T = saturationTemperature(P);
  if (!std::isfinite(T)) return nanState();
  return vapour(P, T);
}

}  // namespace vek1::steam
