#include "dimension_records.h"


#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <limits>
#include <type_traits>
#include <utility>

#include "dimensions.h"
#include "numbers.h"
#include "view.h"

namespace vek1 {

namespace {

static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4,
              "dimension files hold IEEE singles");
// The loaded set replaces the live one by a move, which must not be able to fail half-way.
static_assert(std::is_nothrow_move_assignable_v<Workspace>);

enum class Form { Native, Dos };

// Fields of records 1 to 69, numbered from 0 in file order; record 70 is handled on its own.
constexpr int kHeadFields = kShortRecordsMin * kFieldsPerRecord;  // records 1..11
constexpr int kMappedFields = (kFullRecords - 1) * kFieldsPerRecord;
constexpr int kCurrentItemField = kFullRecords * kFieldsPerRecord - 1;  // record 70 field 5
// The largest clearance kept: beyond it the play is not wear but another gear.
constexpr float kMaxStoredClearance = 0.1f;

// The engine settings' fields in records 73 and 74, the last one a spare.
constexpr int kEngineFields = kEngineRecords * kFieldsPerRecord;
constexpr std::array<const char*, kEngineFields> kEngineFieldNames = {
    "steam-chest pressure", "back pressure", "superheat", "front clearance", "rear clearance",
    "port length", "speed", "cylinders", "discharge coefficient", "spare"};

std::array<float, kEngineFields> engineSettingsFields(const EngineSettings& e) {
  const EngineSettings s = heldSettings(e);
  auto single = [](double v) { return static_cast<float>(v); };
  return {single(s.ChestPressure), single(s.BackPressure),  single(s.Superheat),
          single(s.ClearancePct[0]), single(s.ClearancePct[1]), single(s.PortLength),
          single(s.SpeedRpm),       static_cast<float>(s.Cylinders),
          single(s.DischargeCoefficient), 0.0f};
}

// Finite fields into settings held to their ranges; the cylinders are clamped as a real number
// before they become an integer.
EngineSettings engineSettingsFromFields(const std::array<float, kEngineFields>& f) {
  EngineSettings s;
  s.ChestPressure = f[0];
  s.BackPressure = f[1];
  s.Superheat = f[2];
  s.ClearancePct = {f[3], f[4]};
  s.PortLength = f[5];
  s.SpeedRpm = f[6];
  s.Cylinders = static_cast<int>(std::nearbyint(
      std::clamp(static_cast<double>(f[7]), kCylinderRange.Lowest, kCylinderRange.Highest)));
  s.DischargeCoefficient = f[8];
  return heldSettings(s);
}
static_assert(kJointClearanceCount <= kClearanceRecords * kFieldsPerRecord);

// Records 1 to 11 name a dimension by its id, or one of these settings.
enum HeadCode : int {
  kH6 = -1,
  kV6 = -2,
  kH13 = -3,
  kV13 = -4,
  kSpareSlot = -5,
  kV4 = -6,
  kZoom = -7,
  kPanX = -8,
  kPanY = -9,
  kGraphicZoom = -10,
  kReverseArmPos = -11,
  kLastDiagram = -12,
  kVerticalScale = -13,
  kH18 = -14,
};
// Names of the settings above, from kH6 on, for messages.
constexpr std::string_view kHeadCodeNames[] = {"H of point 6",
                                               "V of point 6",
                                               "H of point 13",
                                               "V of point 13",
                                               "spare cylinder slot",
                                               "V of point 4",
                                               "ViewZoom",
                                               "ViewPanX",
                                               "ViewPanY",
                                               "GraphicZoomFactor",
                                               "ReverseArmPos",
                                               "LastDiagramRevArmPos",
                                               "VerticalScale",
                                               "H of point 18"};
static_assert(std::size(kHeadCodeNames) == -kH18);

using HeadTable = std::array<std::array<int, kFieldsPerRecord>, kShortRecordsMin>;

// Record 9 repeats dimension 121 and record 11 repeats LastDiagramRevArmPos: both fields are
// written with the same value and read in order, so field 4 is the one that stays.
constexpr HeadTable kNativeHead = {{
    {dim::Stroke, dim::DriverDia, dim::MainRodCrankEnd, dim::MainRodPistonEnd, dim::RadiusRod},
    {dim::ValveLeverUpper, dim::ValveLeverLower, dim::CouplerUpper, dim::CouplerLower,
     dim::AnchorLinkLength},
    {dim::ReverseArmLength, dim::LinkRadius, dim::LinkPivotHorz, dim::LinkPivotVert,
     dim::AnchorLinkPivotHorz},
    {dim::AnchorLinkPivotVert, kH6, kV6, kH13, kV13},
    {dim::CylClAboveDriverCtr, dim::CylCtrToDriverCtr, dim::CylinderBoreDia,
     dim::CylinderBoreLength, kSpareSlot},
    {dim::CylSteamPortWidth, dim::PistonCtrToCrosshead, dim::PistonWidth, dim::ValveSurfaceToCylCl,
     dim::ValveStemClToCylCl},
    {dim::ExhaustPortWidth, dim::BridgeWidthRear, dim::SteamPortWidthRear, dim::ValveChamberHeight,
     dim::ValveChamberLength},
    {dim::ValveHeight, dim::ValveLengthRearHalf, dim::ValveExhCavityRearHalf, dim::ValveStem,
     dim::BridgeWidthFront},
    {dim::SteamPortWidthFront, dim::ValveLengthFrontHalf, dim::ValveExhCavityFrontHalf,
     dim::ValveExhCavityFrontHalf, kV4},
    {kZoom, kPanX, kGraphicZoom, kPanY, dim::RevArmToCentNorm},
    {dim::RevArmToCentMax, kReverseArmPos, kLastDiagram, kLastDiagram, kVerticalScale},
}};

// The DOS-era file had no graphic zoom: its record 10 carries the vertical pan twice, and its
// record 11 holds the reverse-arm end itself rather than ReverseArmPos.
constexpr HeadTable kDosHead = [] {
  HeadTable t = kNativeHead;
  t[9] = {kZoom, kPanX, kPanY, kPanY, dim::RevArmToCentNorm};
  t[10] = {dim::RevArmToCentMax, kH18, kLastDiagram, kLastDiagram, kVerticalScale};
  return t;
}();

// How a finite value from a file is held before it is stored (see the header).
enum class Kind { Any, Zoom, PresetZoom, Pan, GraphicZoom, VerticalScale, PivotIndex };

constexpr float kMaxPan = 1e6f;  // pixels
constexpr float kMinVerticalScale = 0.1f;
constexpr int kLastPivotIndex = kPivotCount - 1;

// Records 12 to 69, after the head: the presets, the diagram positions, then the overlay in
// blocks of 20 values (four records each), one block per item field.
constexpr int kPresetFields = kViewPresets * 3;
constexpr int kPositionFields = 9;  // RevArmPositions 1..9; entry 0, the centre, is derived
constexpr int kOverlayStart = kPresetFields + kPositionFields;
constexpr std::array<float OverlayItem::*, 13> kOverlayBlocks = {
    &OverlayItem::Line1Horz,  &OverlayItem::Line1Vert, &OverlayItem::Line2Horz,
    &OverlayItem::Line2Vert,  &OverlayItem::Piv1SnapH, &OverlayItem::Piv1SnapV,
    &OverlayItem::Piv2SnapH,  &OverlayItem::Piv2SnapV, &OverlayItem::ItemType,
    &OverlayItem::ItemColour, &OverlayItem::ItemRef,   &OverlayItem::Piv1Index,
    &OverlayItem::Piv2Index};
constexpr std::array<std::string_view, 13> kOverlayBlockNames = {
    "Line1Horz", "Line1Vert", "Line2Horz",  "Line2Vert", "Piv1SnapH", "Piv1SnapV", "Piv2SnapH",
    "Piv2SnapV", "ItemType",  "ItemColour", "ItemRef",   "Piv1Index", "Piv2Index"};
static_assert(kHeadFields + kOverlayStart + kOverlayItems * kOverlayBlocks.size() == kMappedFields);

// Every id in the tables names a stored dimension (102 lives in the pivot table).
constexpr bool validHead(const HeadTable& t) {
  for (const auto& record : t)
    for (int code : record)
      if (code > 0 && code > dim::RevArmToCentMax && code != dim::CylClAboveDriverCtr &&
          cyl::slotOf(code) < 0)
        return false;
  return true;
}
static_assert(validHead(kNativeHead) && validHead(kDosHead));

const HeadTable& headOf(Form form) {
  return form == Form::Dos ? kDosHead : kNativeHead;
}

// The stored place of a dimension: the four pivot dimensions and 102 live in the pivot table.
template <class W>
auto dimensionRef(W& ws, int id) -> decltype(&ws.ViewZoom) {
  auto& H = ws.Pivots.H;
  auto& V = ws.Pivots.V;
  switch (id) {
    case dim::LinkPivotVert:
      return &V[5];
    case dim::LinkPivotHorz:
      return &H[5];
    case dim::AnchorLinkPivotVert:
      return &V[12];
    case dim::AnchorLinkPivotHorz:
      return &H[12];
    case dim::CylClAboveDriverCtr:
      return &V[3];
    default:
      break;
  }
  if (id >= 1 && id <= dim::RevArmToCentMax) return &ws.Frame[id];
  return &ws.Cyl[cyl::slotOf(id)];
}

template <class W>
auto headRef(W& ws, int code) -> decltype(&ws.ViewZoom) {
  switch (code) {
    case kH6:
      return &ws.Pivots.H[6];
    case kV6:
      return &ws.Pivots.V[6];
    case kH13:
      return &ws.Pivots.H[13];
    case kV13:
      return &ws.Pivots.V[13];
    case kSpareSlot:
      return &ws.Cyl[cyl::kSpareSlot];
    case kV4:
      return &ws.Pivots.V[4];
    case kZoom:
      return &ws.ViewZoom;
    case kPanX:
      return &ws.ViewPanX;
    case kPanY:
      return &ws.ViewPanY;
    case kGraphicZoom:
      return &ws.GraphicZoomFactor;
    case kReverseArmPos:
      return &ws.ReverseArmPos;
    case kLastDiagram:
      return &ws.LastDiagramRevArmPos;
    case kVerticalScale:
      return &ws.VerticalScale;
    case kH18:
      return &ws.Pivots.H[18];
    default:
      return dimensionRef(ws, code);
  }
}

// Where field n (0-based, file order, n < kMappedFields) lives in a workspace.
template <class W>
auto fieldRef(W& ws, Form form, int n) -> decltype(&ws.ViewZoom) {
  if (n < kHeadFields) return headRef(ws, headOf(form)[n / kFieldsPerRecord][n % kFieldsPerRecord]);
  const int k = n - kHeadFields;
  if (k < kPresetFields) {
    auto& preset = ws.ViewPresets[k / 3];
    switch (k % 3) {
      case 0:
        return &preset.Zoom;
      case 1:
        return &preset.PanX;
      default:
        return &preset.PanY;
    }
  }
  if (k < kOverlayStart) return &ws.RevArmPositions[k - kPresetFields + 1];
  const int o = k - kOverlayStart;
  return &(ws.Overlay[o % kOverlayItems + 1].*kOverlayBlocks[o / kOverlayItems]);
}

Kind kindOf(Form form, int n) {
  if (n < kHeadFields) {
    switch (headOf(form)[n / kFieldsPerRecord][n % kFieldsPerRecord]) {
      case kZoom:
        return Kind::Zoom;
      case kPanX:
      case kPanY:
        return Kind::Pan;
      case kGraphicZoom:
        return Kind::GraphicZoom;
      case kVerticalScale:
        return Kind::VerticalScale;
      default:
        return Kind::Any;
    }
  }
  const int k = n - kHeadFields;
  if (k < kPresetFields) return k % 3 == 0 ? Kind::PresetZoom : Kind::Pan;
  if (k < kOverlayStart) return Kind::Any;
  const float OverlayItem::*block = kOverlayBlocks[(k - kOverlayStart) / kOverlayItems];
  return block == &OverlayItem::Piv1Index || block == &OverlayItem::Piv2Index ? Kind::PivotIndex
                                                                              : Kind::Any;
}

// The setting behind field n, as the user knows it, for messages.
std::string fieldName(Form form, int n) {
  if (n < kHeadFields) {
    const int code = headOf(form)[n / kFieldsPerRecord][n % kFieldsPerRecord];
    if (code > 0) return "\"" + std::string(dimensionLabel(code)) + "\"";
    return std::string(kHeadCodeNames[-code - 1]);
  }
  const int k = n - kHeadFields;
  if (k < kPresetFields) {
    static constexpr std::array<std::string_view, 3> kParts = {"zoom", "pan X", "pan Y"};
    return "ViewPresets slot " + std::to_string(k / 3) + " " + std::string(kParts[k % 3]);
  }
  if (k < kOverlayStart) return "RevArmPositions " + std::to_string(k - kPresetFields + 1);
  const int o = k - kOverlayStart;
  return std::string(kOverlayBlockNames[o / kOverlayItems]) + " of overlay item " +
         std::to_string(o % kOverlayItems + 1);
}

std::string recordAndField(int n) {
  return "record " + std::to_string(n / kFieldsPerRecord + 1) + ", field " +
         std::to_string(n % kFieldsPerRecord + 1);
}

// A finite value as it may be stored; see the header for why each setting is held.
float held(Kind kind, float x) {
  switch (kind) {
    case Kind::Any:
      return x;
    case Kind::Zoom:
      return x <= 0.0f ? kMinZoom : std::min(x, kMaxZoom);
    case Kind::PresetZoom:
      return std::clamp(x, 0.0f, kMaxZoom);
    case Kind::Pan:
      return std::clamp(x, -kMaxPan, kMaxPan);
    case Kind::GraphicZoom:
      return ClampGraphicZoom(x);
    case Kind::VerticalScale:
      return std::max(x, kMinVerticalScale);
    case Kind::PivotIndex: {
      const int index = roundHalfEven(x);
      if (index >= 0 && index <= kLastPivotIndex) return x;
      return static_cast<float>(std::clamp(index, 0, kLastPivotIndex));
    }
  }
  return x;
}

float fieldAt(std::span<const std::uint8_t> bytes, int n) {
  const std::size_t at = static_cast<std::size_t>(n) * 4;
  const std::uint32_t bits = static_cast<std::uint32_t>(bytes[at]) |
                             static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
                             static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
                             static_cast<std::uint32_t>(bytes[at + 3]) << 24;
  return std::bit_cast<float>(bits);
}

void putField(std::vector<std::uint8_t>& out, float x) {
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(x);
  for (int shift = 0; shift < 32; shift += 8)
    out.push_back(static_cast<std::uint8_t>(bits >> shift));
}

DimensionFileResult failure(std::string message) {
  return {false, std::move(message)};
}

std::string recordCount(std::size_t records) {
  return std::to_string(records) + (records == 1 ? " whole record" : " whole records");
}

// Decodes into a copy of ws, brings the copy up to date and moves it into ws; ws is untouched on
// failure.
DimensionFileResult decodeAndApply(std::span<const std::uint8_t> bytes, Form form, Workspace& ws) {
  const std::size_t records = bytes.size() / kRecordBytes;
  if (records < static_cast<std::size_t>(kShortRecordsMin))
    return failure("The file is too short for a dimension file: it holds " + recordCount(records) +
                   " of 20 bytes, and at least " + std::to_string(kShortRecordsMin) +
                   " are needed. Nothing was loaded.");
  int toRead = kShortRecordsMin;
  if (form == Form::Native && records > static_cast<std::size_t>(kShortRecordsMax)) {
    if (records < static_cast<std::size_t>(kFullRecords))
      return failure("The file holds " + recordCount(records) + ": more than the " +
                     std::to_string(kShortRecordsMax) + " of the short form, but " +
                     (records + 1 == kFullRecords ? "record " + std::to_string(kFullRecords)
                                                  : "records " + std::to_string(records + 1) +
                                                        " to " + std::to_string(kFullRecords)) +
                     " of the full form " + (records + 1 == kFullRecords ? "is" : "are") +
                     " missing. Nothing was loaded.");
    toRead = kFullRecords;
  }

  Workspace scratch = ws;
  const int fields = std::min(toRead * kFieldsPerRecord, kMappedFields);
  for (int n = 0; n < fields; ++n) {
    const float x = fieldAt(bytes, n);
    if (!std::isfinite(x))
      return failure("The file is damaged: " + recordAndField(n) + " (" + fieldName(form, n) +
                     ") holds " + fixedText(x, 0, 0) + " instead of a number. Nothing was loaded.");
    *fieldRef(scratch, form, n) = held(kindOf(form, n), x);
  }
  if (form == Form::Native) {
    // Fields 1 to 4 of record 70 are padding; only field 5 carries the item number.
    scratch.CurrentOverlayItem =
        toRead == kFullRecords
            ? std::clamp(roundHalfEven(fieldAt(bytes, kCurrentItemField)), 1, kOverlayItems)
            : 1;
  }
  // The joint clearances follow the full form; a file written before them keeps the defaults.
  scratch.JointClearances = Workspace{}.JointClearances;
  if (form == Form::Native && toRead == kFullRecords &&
      records >= static_cast<std::size_t>(kFullRecords + kClearanceRecords)) {
    for (int j = 0; j < kJointClearanceCount; ++j) {
      const int n = kFullRecords * kFieldsPerRecord + j;
      const float c = fieldAt(bytes, n);
      if (!std::isfinite(c))
        return failure("The file is damaged: " + recordAndField(n) + " (joint clearance " +
                       std::to_string(j + 1) + ") holds " + fixedText(c, 0, 0) +
                       " instead of a number. Nothing was loaded.");
      scratch.JointClearances[static_cast<std::size_t>(j)] =
          std::clamp(c, 0.0f, kMaxStoredClearance);
    }
  }
  // The engine settings follow the clearances; a file without them has the factory settings.
  scratch.Engine = EngineSettings{};
  if (form == Form::Native && toRead == kFullRecords &&
      records >= static_cast<std::size_t>(kWrittenRecords)) {
    std::array<float, kEngineFields> f{};
    for (int k = 0; k < kEngineFields; ++k) {
      const int n = (kEngineFirstRecord - 1) * kFieldsPerRecord + k;
      f[static_cast<std::size_t>(k)] = fieldAt(bytes, n);
      if (!std::isfinite(f[static_cast<std::size_t>(k)]))
        return failure("The file is damaged: " + recordAndField(n) + " (" +
                       kEngineFieldNames[static_cast<std::size_t>(k)] + ") holds " +
                       fixedText(f[static_cast<std::size_t>(k)], 0, 0) +
                       " instead of a number. Nothing was loaded.");
    }
    scratch.Engine = engineSettingsFromFields(f);
  }
  // The centre and the positions derived from it follow the loaded dimensions, not the file.
  ComputeReverseArmCentre(scratch);
  SetRevArmScrollRange(scratch);
  ws = std::move(scratch);
  return {true, {}};
}

}  // namespace

std::vector<std::uint8_t> EncodeDimensionFile(const Workspace& ws) {
  std::vector<std::uint8_t> out;
  out.reserve(kWrittenRecords * kRecordBytes);
  for (int n = 0; n < kMappedFields; ++n) putField(out, *fieldRef(ws, Form::Native, n));
  for (int n = kMappedFields; n < kCurrentItemField; ++n) putField(out, 0.0f);
  putField(out, static_cast<float>(ws.CurrentOverlayItem));
  for (float c : ws.JointClearances) putField(out, c);
  for (float f : engineSettingsFields(ws.Engine)) putField(out, f);
  return out;
}

DimensionFileResult DecodeDimensionFile(std::span<const std::uint8_t> bytes, Workspace& ws) {
  return decodeAndApply(bytes, Form::Native, ws);
}

DimensionFileResult DecodeDosDimensionFile(std::span<const std::uint8_t> bytes, Workspace& ws) {
  return decodeAndApply(bytes, Form::Dos, ws);
}

std::string DimSetNameFromPath(std::string_view path) {
  const std::size_t sep = path.find_last_of("\\/");
  std::string_view name = sep == std::string_view::npos ? path : path.substr(sep + 1);
  // Drop four characters from the end, stepping over the continuation bytes of UTF-8.
  constexpr int kDropped = 4;
  for (int dropped = 0; dropped < kDropped && !name.empty(); ++dropped) {
    std::size_t end = name.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(name[end]) & 0xC0) == 0x80) --end;
    name = name.substr(0, end);
  }
  return std::string(name);
}

}  // namespace vek1
