#include "wear_drawing.h"

#include <algorithm>
#include <cmath>

#include "numbers.h"

namespace vek1 {

namespace {

constexpr int kFontPoints = 8;
constexpr int kMargin = 8;
constexpr int kLine = 16;
constexpr int kTitleHeight = 3 * kLine;
constexpr int kChartLeft = 48;  // room for the scale's numbers
constexpr int kNotchPitch = 64;
constexpr int kMinChartWidth = 420;
constexpr int kChartHeight = 360;
constexpr int kBandWidth = 5;
constexpr int kBarsLeftGap = 40;
constexpr int kBarNameWidth = 170;
constexpr int kBarLength = 220;
constexpr int kBarHeight = 12;
constexpr int kBarsWidth = kBarNameWidth + kBarLength + 60;
constexpr int kCharWidth = 7;

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kGrid{210, 210, 210};
constexpr Rgb kAxis{120, 120, 120};
constexpr Rgb kBar{90, 120, 200};
constexpr std::array<int, 3> kFigures[2] = {
    {kWearFrontCutOff, kWearFrontRelease, kWearFrontCompression},
    {kWearRearCutOff, kWearRearRelease, kWearRearCompression}};
constexpr std::array<Rgb, 3> kColours = {colour::Admission, colour::Exhaust, colour::Compression};

int chartWidth(const WearStudy& s) {
  return std::max(kMinChartWidth, kNotchPitch * static_cast<int>(s.Notches.size()) + 40);
}

std::string signedText(double x, int decimals) {
  return (x >= 0.0 ? "+" : "") + fixedText(x, 0, decimals);
}

std::string spreadText(const WearEnvelope& e, int decimals) {
  return std::isfinite(e.Nominal) ? fixedText(e.Spread(), 0, decimals) : "-";
}

void fillRect(Canvas& canvas, int left, int top, int right, int bottom) {
  for (int y = top; y <= bottom; ++y) {
    canvas.moveTo(left, y);
    canvas.lineTo(right + 1, y);
  }
}

}  // namespace

std::string clearancesText(const Clearances& c) {
  if (std::all_of(c.begin(), c.end(), [&](double x) { return x == c[0]; }))
    return fixedText(c[0], 0, 4) + " at every joint";
  std::string out;
  for (int j = 0; j < kWearJointCount; ++j) {
    if (!out.empty()) out += ", ";
    out += std::string(wearJointInfo(j).Key) + " " + fixedText(c[static_cast<size_t>(j)], 0, 4);
  }
  return out;
}

std::string wearNotchLine(const WearNotch& n) {
  if (n.OutOfReach) return signedText(n.Offset, 3) + ": out of reach";
  std::string out = signedText(n.Offset, 3) + ":  spread F";
  const auto& e = n.Envelope;
  out += " lead " + spreadText(e[kWearFrontLead], 4) + " cut-off " +
         spreadText(e[kWearFrontCutOff], 2) + " release " + spreadText(e[kWearFrontRelease], 2) +
         " compr " + spreadText(e[kWearFrontCompression], 2);
  out += "   R lead " + spreadText(e[kWearRearLead], 4) + " cut-off " +
         spreadText(e[kWearRearCutOff], 2) + " release " + spreadText(e[kWearRearRelease], 2) +
         " compr " + spreadText(e[kWearRearCompression], 2);
  out += "   lost motion " + fixedText(n.LostMotion, 0, 4) + " of travel " +
         fixedText(n.ValveTravel, 0, 3);
  return out;
}

CanvasSize wearPictureSize(const WearStudy& s) {
  const int lines = static_cast<int>(s.Notches.size()) + 1;
  const int width = 2 * kMargin + kChartLeft + chartWidth(s) + kBarsLeftGap + kBarsWidth;
  std::size_t longest = 0;
  for (const WearNotch& n : s.Notches) longest = std::max(longest, wearNotchLine(n).size());
  const int textWidth = 2 * kMargin + static_cast<int>(std::min<std::size_t>(longest, 2000)) * kCharWidth;
  return {std::max(width, textWidth),
          2 * kMargin + kTitleHeight + kChartHeight + 2 * kLine + lines * kLine};
}

void drawWearStudy(Canvas& canvas, const WearStudy& s, const std::string& setName,
                   int shareNotch) {
  canvas.clear(Rgb{255, 255, 255});
  canvas.setFontSize(kFontPoints);
  canvas.setFontColour(kBlack);
  canvas.setFontStyle({.bold = true});
  canvas.textOut(kMargin, kMargin, "Worn gear: " + setName + ", clearance " +
                                       clearancesText(s.Clearance));
  canvas.setFontStyle({});
  canvas.textOut(kMargin, kMargin + kLine,
                 "Bands: smallest to largest value over the play, tick: without play; each notch "
                 "front (left) and rear (right): cut-off red, release blue, compression green.");
  canvas.textOut(kMargin, kMargin + 2 * kLine,
                 "Percent of stroke from the event's own dead centre (compression negative: "
                 "before it). Right: each joint's share of the spread of the stroke events.");

  // The scale: every finite band, rounded out to tens of percent.
  double low = 0.0, high = 100.0;
  for (const WearNotch& n : s.Notches)
    for (const auto& end : kFigures)
      for (int k : end)
        if (std::isfinite(n.Envelope[k].Nominal)) {
          low = std::min(low, n.Envelope[k].Min);
          high = std::max(high, n.Envelope[k].Max);
        }
  low = std::floor(low / 10.0) * 10.0;
  high = std::ceil(high / 10.0) * 10.0;
  const int top = kMargin + kTitleHeight + 8;
  const int bottom = top + kChartHeight;
  const int left = kMargin + kChartLeft;
  const int right = left + chartWidth(s);
  auto yOf = [&](double percent) {
    return static_cast<int>(std::lround(bottom - (percent - low) / (high - low) * kChartHeight));
  };
  canvas.setPenWidth(1);
  for (double p = low; p <= high + 1e-9; p += 10.0) {
    canvas.setPenColour(p == 0.0 || p == 100.0 ? kAxis : kGrid);
    canvas.moveTo(left, yOf(p));
    canvas.lineTo(right, yOf(p));
    canvas.textOut(kMargin, yOf(p) - 6, fixedText(p, 4, 0) + " %");
  }
  canvas.setPenColour(kAxis);
  canvas.moveTo(left, top);
  canvas.lineTo(left, bottom + 1);

  for (std::size_t i = 0; i < s.Notches.size(); ++i) {
    const WearNotch& n = s.Notches[i];
    const int x = left + 30 + static_cast<int>(i) * kNotchPitch;
    canvas.setFontColour(kBlack);
    canvas.textOut(x - 20, bottom + 4, signedText(n.Offset, 2));
    for (int end = 0; end < 2; ++end)
      for (int e = 0; e < 3; ++e) {
        const WearEnvelope& env = n.Envelope[kFigures[end][e]];
        if (!std::isfinite(env.Nominal)) continue;
        const int bx = x + (end == 0 ? -3 * (kBandWidth + 1) : 2) + e * (kBandWidth + 1);
        // At least two pixel rows, so that a band too thin to see still shows where it is.
        const int yTop = std::min(yOf(env.Max), yOf(env.Nominal) - 1);
        const int yBottom = std::max(yOf(env.Min), yOf(env.Nominal) + 1);
        canvas.setPenColour(kColours[static_cast<size_t>(e)]);
        fillRect(canvas, bx, yTop, bx + kBandWidth - 1, yBottom);
        canvas.setPenColour(kBlack);
        canvas.moveTo(bx - 1, yOf(env.Nominal));
        canvas.lineTo(bx + kBandWidth + 1, yOf(env.Nominal));
      }
  }

  // The joints' shares at the chosen notch.
  const int barsLeft = right + kBarsLeftGap;
  if (!s.Notches.empty()) {
    const WearNotch& n =
        s.Notches[static_cast<size_t>(std::clamp(shareNotch, 0, int(s.Notches.size()) - 1))];
    canvas.setFontStyle({.bold = true});
    canvas.setFontColour(kBlack);
    canvas.textOut(barsLeft, top, "Share of the spread at " + signedText(n.Offset, 3));
    canvas.setFontStyle({});
    for (std::size_t j = 0; j < n.Joints.size(); ++j) {
      const WearJointShare& share = n.Joints[j];
      const int y = top + 2 * kLine + static_cast<int>(j) * (kBarHeight + 10);
      canvas.setFontColour(kBlack);
      canvas.textOut(barsLeft, y - 1, std::string(wearJointInfo(share.Joint).Name));
      const int length = static_cast<int>(std::lround(std::clamp(share.Share, 0.0, 1.0) * kBarLength));
      canvas.setPenColour(kAxis);
      canvas.moveTo(barsLeft + kBarNameWidth, y - 2);
      canvas.lineTo(barsLeft + kBarNameWidth, y + kBarHeight + 2);
      if (length > 0) {
        canvas.setPenColour(kBar);
        fillRect(canvas, barsLeft + kBarNameWidth + 1, y, barsLeft + kBarNameWidth + length,
                 y + kBarHeight - 1);
      }
      canvas.textOut(barsLeft + kBarNameWidth + length + 6, y - 1,
                     fixedText(100.0 * share.Share, 0, 1) + " %");
    }
  }

  canvas.setFontColour(kBlack);
  int y = bottom + 2 * kLine + 4;
  for (const WearNotch& n : s.Notches) {
    canvas.textOut(kMargin, y, wearNotchLine(n));
    y += kLine;
  }
}

}  // namespace vek1
