// Writes the seed inputs of the fuzz targets, made by this program's own code so that they follow
// the file layout as it is: the factory set and a set with every part filled in (presets, diagram
// positions, lines and circles), as saved, cut to the lengths where the reader changes its mind
// (10, 11, 20, 21, 69, 70 and 71 records, and a trailing partial record), and command lines of
// every kind. Usage: fuzz_seeds DIR, which receives dimension_file/, dos_file/ and cli_args/.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dimension_file.h"
#include "dimensions.h"
#include "overlay.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

void write(const fs::path& file, const Bytes& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

Bytes records(const Bytes& full, int count) {
  Bytes b(full.begin(),
          full.begin() + std::min<std::size_t>(full.size(), count * vek1::kRecordBytes));
  // Past the full form: one more record of padding.
  b.resize(static_cast<std::size_t>(count) * vek1::kRecordBytes, 0);
  return b;
}

vek1::Workspace filledIn() {
  using namespace vek1;
  Workspace ws;
  StartUp(ws);
  setDimension(ws, dim::RadiusRod, 5.0625f);
  setDimension(ws, dim::LinkPivotHorz, ws.Pivots.H[5] + 0.25f);
  ws.ViewZoom = 42.0f, ws.ViewPanX = -120.5f, ws.ViewPanY = 300.0f;
  ws.GraphicZoomFactor = 12.0f;
  ws.VerticalScale = 2.5f;
  for (int k = 1; k < kViewPresets; ++k) ws.ViewPresets[k] = {10.0f * k, 5.0f * k, -5.0f * k};
  for (int k = 1; k <= 9; ++k) ws.RevArmPositions[k] = ws.RevArmPositions[0] + 0.2f * (k - 5);
  for (int k = 1; k <= kOverlayItems; ++k) {
    OverlayItem& it = ws.Overlay[k];
    it.Line1Horz = 0.5f * k, it.Line1Vert = -0.25f * k, it.Line2Horz = 3.0f, it.Line2Vert = 1.0f;
    it.ItemType = static_cast<float>(k % 2);
    it.ItemColour = static_cast<float>(k % kOverlayColourCount);
    it.ItemRef = static_cast<float>(k % kOverlayRefModes);
    it.Piv1Index = static_cast<float>(k), it.Piv2Index = static_cast<float>(26 - k);
  }
  ws.CurrentOverlayItem = 7;
  return ws;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds DIR\n");
    return 2;
  }
  const fs::path dir = fs::absolute(argv[1]);
  for (const char* sub : {"dimension_file", "dos_file", "cli_args"})
    fs::create_directories(dir / sub);

  vek1::Workspace factory;
  vek1::StartUp(factory);
  const Bytes plain = vek1::EncodeDimensionFile(factory);
  const Bytes full = vek1::EncodeDimensionFile(filledIn());
  write(dir / "dimension_file" / "factory-70.dve", plain);
  for (int count : {10, 11, 20, 21, 69, 70, 71}) {
    write(dir / "dimension_file" / ("filled-" + std::to_string(count) + ".dve"),
          records(full, count));
    write(dir / "dos_file" / ("filled-" + std::to_string(count) + ".ovk"), records(full, count));
  }
  Bytes partial = full;
  partial.push_back(0x3f);
  write(dir / "dimension_file" / "filled-70-and-a-byte.dve", partial);
  write(dir / "dos_file" / "factory-11.ovk", records(plain, 11));

  const std::string set = (dir / "dimension_file" / "filled-70.dve").string();
  const std::vector<std::vector<std::string>> lines = {
      {"--help"},
      {"pose", "--angle", "0"},
      {"pose", "--angle", "280", "--revarm-offset", "1.6", "--set", "5=5.1"},
      {"pose", "--angle", "90", "--revarm", "-3.5", "--set", "102=-1", "--set", "109=0.5"},
      {"pose", "--angle", "45", "--file", set},
      {"sweep", "--from", "0", "--to", "360", "--step", "30"},
      {"sweep", "--from", "-10", "--to", "10", "--step", "0.5", "--revarm-offset", "-1.2", "--set",
       "17=1.5", "--set", "18=2"},
      {"sweep", "--from", "0", "--to", "1", "--step", "1", "--file", set, "--set", "122=1e30"},
      {"pose", "--angle", "1e9", "--set", "13=0"},
      {"pose"},
      {"sweep", "--step", "-1"},
      {"sweep", "--angle", "30", "--revarm-sweep", "-2:2:0.25", "--set", "17=1.2"},
      {"sweep", "--from", "0", "--to", "180", "--step", "15", "--revarm-offset", "3", "--format",
       "json"},
      {"help"},
      {"render", "steam", "--help"},
      {"events"},
      {"events", "--notches", "1.6,0.8,0,-0.8", "--format", "csv", "--file", set},
      {"events", "--notches", "default", "--set", "118=0.9"},
      {"tune", "--vary", "10,12", "--bounds", "2", "--goal", "equal-cutoff,cutoff=75", "--notches",
       "1.6,0.8", "--max-evaluations", "3"},
      {"tune", "--goal", "symmetric,equal-lead", "--notches", "1.2,-1.2", "--format", "json",
       "--max-evaluations", "2", "--out", "tuned.dve"},
      {"render", "port", "--graph", "B", "--out", "port.svg"},
      {"render", "sine", "--positions", "0,1.6,-1.6", "--out", "sine.pdf"},
      {"render", "main", "--angle", "90", "--out", "main.png", "--file", set},
  };
  int n = 0;
  for (const auto& line : lines) {
    Bytes bytes;
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (i) bytes.push_back(0);
      bytes.insert(bytes.end(), line[i].begin(), line[i].end());
    }
    write(dir / "cli_args" / ("line-" + std::to_string(n++)), bytes);
  }
  return 0;
}
