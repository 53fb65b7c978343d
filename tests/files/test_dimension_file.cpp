#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>
#include <sys/stat.h>

#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <functional>
#include <limits>

#include "dimension_file.h"
#include "engine_performance.h"
#include "dimensions.h"
#include "numbers.h"
#include "pipe_watchdog.h"
#include "solver.h"

namespace vek1 {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

// Fields addressed as the record tables number them (both from 1), and little-endian built here
// by hand, so that the layout is checked independently of the code under test.
std::size_t offsetOf(int record, int field) {
  return (record - 1) * 20 + (field - 1) * 4;
}
std::uint32_t bitsAt(const Bytes& b, int record, int field) {
  const std::size_t i = offsetOf(record, field);
  return b[i] | b[i + 1] << 8 | b[i + 2] << 16 | static_cast<std::uint32_t>(b[i + 3]) << 24;
}
float at(const Bytes& b, int record, int field) {
  return std::bit_cast<float>(bitsAt(b, record, field));
}
void put(Bytes& b, int record, int field, float x) {
  for (int i = 0; i < 4; ++i)
    b[offsetOf(record, field) + i] =
        static_cast<std::uint8_t>(std::bit_cast<std::uint32_t>(x) >> 8 * i);
}
// Whether two files agree from (record, field) up to, not including, (toRecord, toField).
bool sameRange(const Bytes& a, const Bytes& b, int record, int field, int toRecord, int toField) {
  return std::equal(a.begin() + offsetOf(record, field), a.begin() + offsetOf(toRecord, toField),
                    b.begin() + offsetOf(record, field));
}
bool same(float a, float b) {
  return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

Workspace started() {
  Workspace ws;
  StartUp(ws);
  return ws;
}

// Every stored value differs from every other and from the defaults; points 6 and 13 lie apart
// from 5 and 12, and the spare cylinder slot is filled.
Workspace distinctive() {
  Workspace ws = started();
  float next = 0.5f;
  auto v = [&] { return next += 0.1234567f; };
  auto& H = ws.Pivots.H;
  auto& V = ws.Pivots.V;
  for (int id = 1; id <= 18; ++id) ws.Frame[id] = v();
  for (int i : {3, 4, 5, 6, 12, 13, 18}) H[i] = v(), V[i] = -v();
  for (float& c : ws.Cyl) c = v();
  ws.ViewZoom = v(), ws.ViewPanX = v(), ws.ViewPanY = -v(), ws.GraphicZoomFactor = v();
  ws.ReverseArmPos = v(), ws.LastDiagramRevArmPos = v(), ws.VerticalScale = v();
  for (ViewTriple& p : ws.ViewPresets) p = {v(), -v(), v()};
  for (float& p : ws.RevArmPositions) p = v();
  for (int k = 1; k <= kOverlayItems; ++k) {
    OverlayItem& it = ws.Overlay[k];
    for (float* f :
         {&it.Line1Horz, &it.Line1Vert, &it.Line2Horz, &it.Line2Vert, &it.Piv1SnapH, &it.Piv1SnapV,
          &it.Piv2SnapH, &it.Piv2SnapV, &it.ItemType, &it.ItemColour, &it.ItemRef})
      *f = -v();
    it.Piv1Index = float(k), it.Piv2Index = float(27 - k);
  }
  ws.CurrentOverlayItem = 13;
  return ws;
}

// What a read may change, and the name beside it, for "left exactly as it was".
struct Snapshot {
  Bytes file;
  std::string name;
  PivotTable pivots;
  std::array<float, 10> positions;
  int scrollMax, item;
  explicit Snapshot(const Workspace& ws)
      : file(EncodeDimensionFile(ws)),
        name(ws.DimSetName),
        pivots(ws.Pivots),
        positions(ws.RevArmPositions),
        scrollMax(ws.RevArmScrollMax),
        item(ws.CurrentOverlayItem) {}
  bool operator==(const Snapshot& o) const {
    return file == o.file && name == o.name && !std::memcmp(&pivots, &o.pivots, sizeof pivots) &&
           positions == o.positions && scrollMax == o.scrollMax && item == o.item;
  }
};

TEST(DimensionFile, FullSaveAndReopenGiveBackEveryValueBitForBit) {
  const Workspace original = distinctive();
  const Bytes saved = EncodeDimensionFile(original);
  Workspace loaded = started();
  ASSERT_TRUE(DecodeDimensionFile(saved, loaded).ok);

  // Only ReverseArmPos (record 11 field 2) and positions 1..3 (record 16 fields 2..4) are
  // recomputed, from the loaded dimensions.
  const Bytes again = EncodeDimensionFile(loaded);
  for (int r = 1; r <= 70; ++r)
    for (int f = 1; f <= 5; ++f)
      if (!(r == 11 && f == 2) && !(r == 16 && f >= 2 && f <= 4)) {
        EXPECT_EQ(bitsAt(again, r, f), bitsAt(saved, r, f)) << "record " << r << " field " << f;
      }
  Workspace expected = original;
  ComputeReverseArmCentre(expected);
  EXPECT_TRUE(same(loaded.ReverseArmPos, expected.ReverseArmPos));
  EXPECT_TRUE(same(loaded.Pivots.H[18], expected.ReverseArmPos));
  for (int i = 0; i <= 3; ++i)
    EXPECT_TRUE(same(loaded.RevArmPositions[i], expected.RevArmPositions[i]));
  EXPECT_EQ(loaded.RevArmScrollMax, roundHalfEven(original.Frame[dim::RevArmToCentMax] * 1000.0));

  Workspace flat = original;
  flat.Frame[dim::LinkRadius] = 0.0f;
  ASSERT_TRUE(DecodeDimensionFile(EncodeDimensionFile(flat), loaded).ok);
  EXPECT_EQ(loaded.Frame[dim::LinkRadius], 0.00001f);
}

TEST(DimensionFile, FieldsSitWhereTheRecordTablesSay) {
  Workspace ws = distinctive();
  ws.Frame[dim::Stroke] = 1.0f;
  Bytes b = EncodeDimensionFile(ws);
  ASSERT_EQ(b.size(), 1480u);
  EXPECT_EQ((Bytes{b[0], b[1], b[2], b[3]}), (Bytes{0x00, 0x00, 0x80, 0x3F}));
  const std::pair<float, float> where[] = {
      {at(b, 3, 2), ws.Frame[dim::LinkRadius]},
      {at(b, 4, 2), ws.Pivots.H[6]},
      {at(b, 4, 5), ws.Pivots.V[13]},
      {at(b, 5, 1), ws.Pivots.V[3]},
      {at(b, 5, 5), ws.Cyl[cyl::kSpareSlot]},
      {at(b, 8, 5), ws.Cyl[cyl::slot<dim::BridgeWidthFront>]},
      {at(b, 9, 4), ws.Cyl[cyl::slot<dim::ValveExhCavityFrontHalf>]},
      {at(b, 9, 5), ws.Pivots.V[4]},
      {at(b, 10, 3), ws.GraphicZoomFactor},
      {at(b, 11, 3), ws.LastDiagramRevArmPos},
      {at(b, 16, 1), ws.ViewPresets[6].PanY},
      {at(b, 17, 5), ws.RevArmPositions[9]},
      {at(b, 19, 2), ws.Overlay[7].Line1Horz},
      {at(b, 55, 3), ws.Overlay[8].ItemColour},
      {at(b, 69, 5), ws.Overlay[20].Piv2Index},
      {at(b, 70, 5), 13.0f}};
  for (auto [stored, value] : where) EXPECT_EQ(stored, value);
  for (int f = 1; f <= 4; ++f) EXPECT_EQ(bitsAt(b, 70, f), 0u);

  // The repeated fields of records 9 and 11 are read in order: field 4 stays.
  put(b, 9, 3, 1.5f), put(b, 9, 4, 2.5f), put(b, 11, 3, 3.5f), put(b, 11, 4, 4.5f);
  ASSERT_TRUE(DecodeDimensionFile(b, ws).ok);
  EXPECT_EQ(ws.Cyl[cyl::slot<dim::ValveExhCavityFrontHalf>], 2.5f);
  EXPECT_EQ(ws.LastDiagramRevArmPos, 4.5f);
}

TEST(DimensionFile, LengthDecidesTheForm) {
  const Workspace source = distinctive();
  const Bytes full = EncodeDimensionFile(source);
  // Up to 20 records only 1..11 are read; what lies in 12..20 is not even looked at.
  Bytes twenty(full.begin(), full.begin() + 20 * 20);
  for (int r = 12; r <= 20; ++r) put(twenty, r, 1, kNaN);
  Workspace ws = started();
  ws.CurrentOverlayItem = 9;
  const Bytes before = EncodeDimensionFile(ws);
  ASSERT_TRUE(DecodeDimensionFile(twenty, ws).ok);
  const Bytes after = EncodeDimensionFile(ws);
  EXPECT_TRUE(sameRange(after, full, 1, 1, 11, 2));
  EXPECT_TRUE(sameRange(after, before, 12, 1, 16, 2));  // presets
  EXPECT_TRUE(sameRange(after, before, 16, 5, 70, 1));  // positions 4..9, overlay
  EXPECT_EQ(ws.CurrentOverlayItem, 1);

  // A trailing partial record and everything past record 72 are ignored.
  EXPECT_TRUE(DecodeDimensionFile(Bytes(full.begin(), full.begin() + 239), ws).ok);
  Bytes longer = full;
  longer.resize(75 * 20, 0xFF);  // NaNs
  EXPECT_TRUE(DecodeDimensionFile(longer, ws).ok);

  for (std::size_t records : {21, 69, 10, 0}) {
    const DimensionFileResult r =
        DecodeDimensionFile(Bytes(full.begin(), full.begin() + records * 20), ws);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find(std::to_string(records) + " whole record"), std::string::npos)
        << r.message;
  }
  EXPECT_NE(DecodeDimensionFile(Bytes(full.begin(), full.begin() + 420), ws)
                .message.find("records 22 to 70"),
            std::string::npos);
}

TEST(DimensionFile, BadValuesAreRefusedKeptOrHeldAsDocumented) {
  const Bytes good = EncodeDimensionFile(started());
  // NaN and infinities refuse the whole file, naming where they lie; nothing is applied, even
  // when the bad field is the very last one.
  struct Refused {
    int record, field;
    float value;
    const char* words;
  };
  Workspace ws = distinctive();
  const Snapshot before(ws);
  for (const Refused& c :
       {Refused{1, 1, kNaN, "record 1, field 1 (\"Stroke\") holds NaN"},
        Refused{7, 1, kInf, "(\"Exhaust Port  Width\") holds +Inf"},
        Refused{10, 1, kInf, "record 10, field 1 (ViewZoom)"},
        Refused{14, 2, -kInf, "(ViewPresets slot 3 pan Y) holds -Inf"},
        Refused{69, 5, kNaN, "record 69, field 5 (Piv2Index of overlay item 20)"}}) {
    Bytes b = good;
    put(b, c.record, c.field, c.value);
    const DimensionFileResult r = DecodeDimensionFile(b, ws);
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find(c.words), std::string::npos) << r.message;
    EXPECT_TRUE(Snapshot(ws) == before);
  }
  EXPECT_FALSE(DecodeDimensionFile(Bytes(good.begin(), good.begin() + 200), ws).ok);
  EXPECT_TRUE(Snapshot(ws) == before);

  // Huge finite dimensions are kept; the view, diagram and index settings are held to the
  // ranges their own controls keep; a usable pivot index is kept as it is.
  Bytes b = good;
  put(b, 1, 1, 1e38f), put(b, 10, 1, 0.0f), put(b, 10, 2, 1e38f), put(b, 10, 3, 1e38f);
  put(b, 11, 5, 0.0f), put(b, 12, 1, -1.0f), put(b, 12, 2, -1e38f);
  put(b, 62, 1, 1e38f), put(b, 62, 2, -5.0f), put(b, 62, 3, 3.4f);
  ASSERT_TRUE(DecodeDimensionFile(b, ws).ok);
  EXPECT_EQ(ws.Frame[dim::Stroke], 1e38f);
  EXPECT_EQ(ws.ViewZoom, 0.5f);
  EXPECT_EQ(ws.ViewPanX, 1e6f);
  EXPECT_EQ(ws.GraphicZoomFactor, 2000.0f);
  EXPECT_EQ(ws.VerticalScale, 0.1f);
  EXPECT_EQ(ws.ViewPresets[0].Zoom, 0.0f);
  EXPECT_EQ(ws.ViewPresets[0].PanX, -1e6f);
  EXPECT_EQ(ws.Overlay[1].Piv1Index, 26.0f);
  EXPECT_EQ(ws.Overlay[2].Piv1Index, 0.0f);
  EXPECT_EQ(ws.Overlay[3].Piv1Index, 3.4f);
  put(b, 10, 1, 1e38f);
  ASSERT_TRUE(DecodeDimensionFile(b, ws).ok);
  EXPECT_EQ(ws.ViewZoom, 3000.0f);
  SolveLinkage(ws);
  for (int i = 0; i <= 18; ++i) EXPECT_TRUE(std::isfinite(ws.Pivots.H[i] + ws.Pivots.V[i])) << i;
}

// The joint clearances ride after the full form, in records 71 and 72. A file of the full form
// alone (as written before them, and as the older reader reads any file) opens with the default
// clearances and the same set; a damaged clearance refuses the file like any other field, and
// one beyond wear is held to it.
TEST(DimensionFile, JointClearancesFollowTheFullFormAndOlderFilesGetTheDefaults) {
  Workspace source = distinctive();
  for (int j = 0; j < kJointClearanceCount; ++j)
    source.JointClearances[static_cast<size_t>(j)] = 0.001f * static_cast<float>(j + 1);
  const Bytes full = EncodeDimensionFile(source);
  ASSERT_EQ(full.size(), static_cast<size_t>(kWrittenRecords) * 20);
  EXPECT_EQ(at(full, 71, 1), 0.001f);
  EXPECT_EQ(at(full, 72, 5), source.JointClearances[9]);

  Workspace ws = started();
  ASSERT_TRUE(DecodeDimensionFile(full, ws).ok);
  EXPECT_EQ(ws.JointClearances, source.JointClearances);
  EXPECT_TRUE(sameRange(EncodeDimensionFile(ws), full, 71, 1, 72, 5));

  for (size_t records : {70u, 71u}) {
    Workspace older = started();
    older.JointClearances.fill(0.05f);
    ASSERT_TRUE(DecodeDimensionFile(Bytes(full.begin(), full.begin() + records * 20), older).ok);
    EXPECT_EQ(older.JointClearances, Workspace{}.JointClearances) << records;
    EXPECT_EQ(older.Frame[dim::Stroke], source.Frame[dim::Stroke]);
  }

  Bytes damaged = full;
  put(damaged, 72, 2, kNaN);
  Workspace kept = started();
  const DimensionFileResult r = DecodeDimensionFile(damaged, kept);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.message.find("record 72, field 2"), std::string::npos) << r.message;
  EXPECT_EQ(kept.JointClearances, Workspace{}.JointClearances);

  Bytes wild = full;
  put(wild, 71, 1, -1.0f);
  put(wild, 71, 2, 5.0f);
  ASSERT_TRUE(DecodeDimensionFile(wild, ws).ok);
  EXPECT_EQ(ws.JointClearances[0], 0.0f);
  EXPECT_EQ(ws.JointClearances[1], 0.1f);
}

// The engine settings ride in records 73 and 74. A file without them (72 records, or the full
// form alone) opens with the factory settings; NaN there refuses the file, a finite value out of
// its setting's range is held to it, and nothing read can make a figure non-finite.
TEST(DimensionFile, EngineSettingsFollowTheClearancesAndOlderFilesGetTheDefaults) {
  Workspace source = distinctive();
  source.Engine.ChestPressure = 180.0;
  source.Engine.BackPressure = 4.5;
  source.Engine.Superheat = 120.0;
  source.Engine.ClearancePct = {7.5, 12.0};
  source.Engine.PortLength = 1.25;
  source.Engine.SpeedRpm = 240.0;
  source.Engine.Cylinders = 3;
  source.Engine.DischargeCoefficient = 0.8125;
  const Bytes full = EncodeDimensionFile(source);
  ASSERT_EQ(full.size(), 74u * 20);
  EXPECT_EQ(at(full, 73, 1), 180.0f);
  EXPECT_EQ(at(full, 73, 5), 12.0f);
  EXPECT_EQ(at(full, 74, 3), 3.0f);
  EXPECT_EQ(at(full, 74, 5), 0.0f);

  Workspace ws = started();
  ASSERT_TRUE(DecodeDimensionFile(full, ws).ok);
  EXPECT_EQ(ws.Engine, source.Engine);
  EXPECT_TRUE(sameRange(EncodeDimensionFile(ws), full, 73, 1, 74, 5));

  for (size_t records : {70u, 72u, 73u}) {
    Workspace older = started();
    older.Engine.ChestPressure = 55.0;
    ASSERT_TRUE(DecodeDimensionFile(Bytes(full.begin(), full.begin() + records * 20), older).ok);
    EXPECT_EQ(older.Engine, EngineSettings{}) << records;
    EXPECT_EQ(older.Frame[dim::Stroke], source.Frame[dim::Stroke]);
  }

  for (int field = 1; field <= 5; ++field) {
    Bytes damaged = full;
    put(damaged, 74, field, field % 2 ? kNaN : kInf);
    Workspace kept = started();
    const DimensionFileResult r = DecodeDimensionFile(damaged, kept);
    EXPECT_FALSE(r.ok) << field;
    EXPECT_NE(r.message.find("record 74, field " + std::to_string(field)), std::string::npos)
        << r.message;
    EXPECT_EQ(kept.Engine, EngineSettings{});
  }

  Bytes wild = full;
  put(wild, 73, 1, 1e30f);   // chest pressure
  put(wild, 73, 2, 3e38f);   // back pressure, above the chest
  put(wild, 73, 4, -1.0f);   // clearance
  put(wild, 74, 2, 0.0f);    // speed
  put(wild, 74, 3, -3e38f);  // cylinders
  put(wild, 74, 4, 1e9f);    // discharge coefficient
  ASSERT_TRUE(DecodeDimensionFile(wild, ws).ok);
  EXPECT_TRUE(settingsValid(ws.Engine));
  EXPECT_EQ(ws.Engine.ChestPressure, kChestPressureRange.Highest);
  EXPECT_LT(ws.Engine.BackPressure, ws.Engine.ChestPressure);
  EXPECT_EQ(ws.Engine.ClearancePct[0], kClearanceRange.Lowest);
  EXPECT_EQ(ws.Engine.Cylinders, 1);
  EXPECT_EQ(ws.Engine.DischargeCoefficient, 1.0);
  EXPECT_GT(ws.Engine.SpeedRpm, 0.0);
  // What such a set gives is a figure, not a NaN.
  const PerformanceRow row = performanceAt(ws, ws.Engine, 1.0, ws.Engine.SpeedRpm);
  EXPECT_TRUE(std::isfinite(row.IHP) && std::isfinite(row.SteamPerHour) &&
              std::isfinite(row.Front.MEP) && std::isfinite(row.Rear.PeakPressure));
  put(wild, 74, 3, 4.6f);
  ASSERT_TRUE(DecodeDimensionFile(wild, ws).ok);
  EXPECT_EQ(ws.Engine.Cylinders, 5);
}

TEST(DimensionFile, CurrentItemComesFromRecord70Field5Alone) {
  Bytes b = EncodeDimensionFile(distinctive());
  for (int f = 1; f <= 4; ++f) put(b, 70, f, kNaN);
  const std::pair<float, int> cases[] = {{7.5f, 8},   {6.5f, 6},   {0.0f, 1},  {-3.0f, 1},
                                         {25.0f, 20}, {1e38f, 20}, {kInf, 20}, {kNaN, 1}};
  for (auto [stored, item] : cases) {
    put(b, 70, 5, stored);
    Workspace ws = started();
    ASSERT_TRUE(DecodeDimensionFile(b, ws).ok) << stored;
    EXPECT_EQ(ws.CurrentOverlayItem, item) << stored;
  }
}

TEST(DimensionFile, NameIsTheFileNameLessItsLastFourCharacters) {
  EXPECT_EQ(DimSetNameFromPath("C:\\locos\\bigloco.dve"), "bigloco");
  EXPECT_EQ(DimSetNameFromPath("/home/u/bigloco.dve"), "bigloco");
  EXPECT_EQ(DimSetNameFromPath("/home/u/bigloco"), "big");
  EXPECT_EQ(DimSetNameFromPath("abc"), "");
  EXPECT_EQ(DimSetNameFromPath("/tmp/"), "");
  EXPECT_EQ(DimSetNameFromPath("/tmp/Lok-\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC"), "Lok-");  // 4 umlauts
}

// The older file: records 1..9 as in a native file, record 10 with the vertical pan twice,
// record 11 with the reverse-arm end.
TEST(DosDimensionFile, LoadsTheDimensionsAndLeavesWhatItDoesNotHold) {
  const Workspace source = distinctive();
  Bytes dos = EncodeDimensionFile(source);
  dos.resize(11 * 20);
  put(dos, 10, 1, 40.0f), put(dos, 10, 2, 150.0f), put(dos, 10, 3, 111.0f), put(dos, 10, 4, 222.0f);
  put(dos, 10, 5, 1.25f), put(dos, 11, 1, 1.5f), put(dos, 11, 2, 99.0f), put(dos, 11, 3, 3.0f);
  put(dos, 11, 4, 4.0f), put(dos, 11, 5, 2.0f);
  Workspace ws = started();
  ws.CurrentOverlayItem = 5;
  const Bytes before = EncodeDimensionFile(ws);
  ASSERT_TRUE(DecodeDosDimensionFile(dos, ws).ok);

  const Bytes after = EncodeDimensionFile(ws);
  EXPECT_TRUE(sameRange(after, dos, 1, 1, 10, 1));  // every frame and cylinder value, points 4..13
  EXPECT_EQ(ws.ViewZoom, 40.0f);
  EXPECT_EQ(ws.ViewPanY, 222.0f);
  EXPECT_EQ(ws.Frame[dim::RevArmToCentNorm], 1.25f);
  EXPECT_EQ(ws.RevArmScrollMax, 1500);
  EXPECT_EQ(ws.LastDiagramRevArmPos, 4.0f);
  EXPECT_EQ(ws.VerticalScale, 2.0f);
  EXPECT_EQ(ws.Pivots.H[18], ws.RevArmPositions[0]);  // not 99: the centre is recomputed
  EXPECT_EQ(at(after, 10, 3), at(before, 10, 3));     // graphic zoom
  EXPECT_TRUE(sameRange(after, before, 12, 1, 16, 2));
  EXPECT_TRUE(sameRange(after, before, 16, 5, 71, 1));  // positions 4..9, overlay, current item

  dos.resize(10 * 20);
  const Snapshot loaded(ws);
  EXPECT_FALSE(DecodeDosDimensionFile(dos, ws).ok);
  EXPECT_TRUE(Snapshot(ws) == loaded);

  // A full native file chosen as an older one: records 1..9 load, record 10 field 3 (the graphic
  // zoom) is overwritten by field 4, the vertical pan.
  ASSERT_TRUE(DecodeDosDimensionFile(EncodeDimensionFile(source), ws).ok);
  EXPECT_TRUE(sameRange(EncodeDimensionFile(ws), EncodeDimensionFile(source), 1, 1, 10, 1));
  EXPECT_EQ(ws.ViewPanY, source.ViewPanY);
  EXPECT_EQ(ws.GraphicZoomFactor, at(before, 10, 3));
}

class DimensionFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vek1-files-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }
  std::size_t entries() const { return std::distance(fs::directory_iterator(dir), {}); }
  fs::path dir;
};

TEST_F(DimensionFileOnDisk, SaveReplacesTheWholeFileAndReadsBack) {
  const Workspace source = distinctive();
  const fs::path file = dir / "bigloco.dve";
  std::ofstream(file) << std::string(3000, 'x');
  ASSERT_TRUE(WriteDimensionFile(file.string(), source).ok);
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), EncodeDimensionFile(source));
  EXPECT_EQ(entries(), 1u);  // no temporary file left beside it

  Workspace ws = started();
  ASSERT_TRUE(ReadDimensionFile(file.string(), ws).ok);
  EXPECT_EQ(ws.DimSetName, "bigloco");
  EXPECT_EQ(ws.Overlay[20].Line2Horz, source.Overlay[20].Line2Horz);
}

TEST_F(DimensionFileOnDisk, FailuresNameTheFileAndTheReasonAndLeaveNothingBehind) {
  const std::string missing = (dir / "no-such-dir" / "x.dve").string();
  DimensionFileResult r = WriteDimensionFile(missing, started());
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.message.find(missing + "\": No such file or directory"), std::string::npos)
      << r.message;
  EXPECT_EQ(entries(), 0u);
  // A directory in the way of the target stays, and the temporary file goes.
  fs::create_directory(dir / "taken.dve");
  EXPECT_FALSE(WriteDimensionFile((dir / "taken.dve").string(), started()).ok);
  EXPECT_EQ(entries(), 1u);

  Workspace ws = started();
  const Snapshot before(ws);
  r = ReadDimensionFile(missing, ws);
  EXPECT_NE(r.message.find(missing + "\": No such file or directory"), std::string::npos)
      << r.message;
  EXPECT_FALSE(ReadDosDimensionFile((dir / "taken.dve").string(), ws).ok);
  std::ofstream(dir / "huge.dve").close();
  fs::resize_file(dir / "huge.dve", 2 << 20);
  EXPECT_NE(ReadDimensionFile((dir / "huge.dve").string(), ws).message.find("too large"),
            std::string::npos);
  std::ofstream(dir / "small.dve") << std::string(100, '\0');
  r = ReadDimensionFile((dir / "small.dve").string(), ws);
  EXPECT_NE(r.message.find("small.dve\". The file is too short"), std::string::npos) << r.message;
  EXPECT_TRUE(Snapshot(ws) == before);
}

Bytes contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

// Runs `body` as a user who is not root, as a desktop user saves: in a child process that has
// given up root for "nobody" when the tests run as root. Returns the child's exit code, or -1
// when the child could not drop root.
constexpr uid_t kNobody = 65534;
int asOrdinaryUser(const std::function<int()>& body) {
  if (::geteuid() != 0) return body();
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0 || ::geteuid() == 0) ::_exit(255);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) != 255 ? WEXITSTATUS(status) : -1;
}

// Hands a path to the user asOrdinaryUser runs as.
void giveToOrdinaryUser(const fs::path& p) {
  if (::geteuid() == 0) {
    ASSERT_EQ(::chown(p.c_str(), kNobody, kNobody), 0);
  }
}

TEST_F(DimensionFileOnDisk, SaveRespectsTheFileSystem) {
  const Workspace source = distinctive();
  const Bytes old(3000, 'x');
  auto makeFile = [&](const fs::path& file, fs::perms perms) {
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(old.data()),
                                                static_cast<std::streamsize>(old.size()));
    fs::permissions(file, perms);
  };
  // The user's folder must be reachable for "nobody".
  fs::permissions(dir, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec |
                           fs::perms::group_read | fs::perms::group_exec);

  // A writable file in a folder the user may not write: written in place, whole.
  const fs::path shared = dir / "shared";
  fs::create_directory(shared);
  const fs::path inPlace = shared / "mine.dve";
  makeFile(inPlace, fs::perms::owner_read | fs::perms::owner_write);
  giveToOrdinaryUser(inPlace);
  fs::permissions(shared, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  if (::geteuid() != 0) fs::permissions(shared, fs::perms::owner_write, fs::perm_options::remove);
  const int savedInPlace = asOrdinaryUser([&] {
    const DimensionFileResult r = WriteDimensionFile(inPlace.string(), source);
    if (!r.ok) std::fprintf(stderr, "%s\n", r.message.c_str());
    return r.ok ? 0 : 1;
  });
  if (savedInPlace == -1) GTEST_SKIP() << "cannot run as an ordinary user here";
  EXPECT_EQ(savedInPlace, 0);
  EXPECT_EQ(contents(inPlace), EncodeDimensionFile(source));
  fs::permissions(shared, fs::perms::owner_all);
  // In such a folder a new file cannot be made, and the failure says why.
  EXPECT_EQ(asOrdinaryUser([&] {
              const DimensionFileResult r =
                  WriteDimensionFile((shared / "new.dve").string(), source);
              return !r.ok && r.message.find("Permission denied") != std::string::npos ? 0 : 1;
            }),
            0);

  // A read-only file is refused, naming it, whoever saves and however writable the folder.
  const fs::path locked = dir / "locked.dve";
  makeFile(locked, fs::perms::owner_read | fs::perms::group_read);
  giveToOrdinaryUser(locked);
  DimensionFileResult r = WriteDimensionFile(locked.string(), source);
  EXPECT_FALSE(r.ok);
  EXPECT_NE(r.message.find(locked.string() + "\": the file is read-only"), std::string::npos)
      << r.message;
  EXPECT_EQ(contents(locked), old);
  fs::permissions(dir, fs::perms::all);
  EXPECT_EQ(asOrdinaryUser([&] { return WriteDimensionFile(locked.string(), source).ok ? 1 : 0; }),
            0);
  EXPECT_EQ(contents(locked), old);

  // Through a symbolic link (also one whose file does not exist yet): the file it names is
  // written, and the link stays a link.
  const fs::path real = dir / "real.dve";
  makeFile(real, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("real.dve", dir / "link.dve");
  fs::create_symlink("link.dve", dir / "chain.dve");
  fs::create_symlink("later.dve", dir / "dangling.dve");
  for (const char* name : {"link.dve", "chain.dve", "dangling.dve"}) {
    ASSERT_TRUE(WriteDimensionFile((dir / name).string(), source).ok) << name;
    EXPECT_TRUE(fs::is_symlink(dir / name)) << name;
  }
  EXPECT_EQ(contents(real), EncodeDimensionFile(source));
  EXPECT_EQ(contents(dir / "later.dve"), EncodeDimensionFile(source));
  EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(DimensionFileOnDisk, AFolderAPipeOrADeviceIsRefusedAtOnceAndNamed) {
  const fs::path pipe = dir / "pipe.dve";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  fs::create_directory(dir / "folder.dve");
  const std::pair<std::string, std::string> cases[] = {{pipe.string(), "a named pipe"},
                                                       {(dir / "folder.dve").string(), "a folder"},
                                                       {"/dev/zero", "a device"},
                                                       {"/dev/null", "a device"}};
  for (auto read : {&ReadDimensionFile, &ReadDosDimensionFile}) {
    for (const auto& [path, kind] : cases) {
      Workspace ws = started();
      const Snapshot before(ws);
      PipeWatchdog watchdog(pipe.string());
      const DimensionFileResult r = read(path, ws);
      EXPECT_FALSE(watchdog.stop()) << path << ": the read waited on the pipe";
      EXPECT_FALSE(r.ok) << path;
      EXPECT_NE(r.message.find("\"" + path + "\": it is " + kind), std::string::npos) << r.message;
      EXPECT_TRUE(Snapshot(ws) == before) << path;
    }
  }
}

}  // namespace
}  // namespace vek1
