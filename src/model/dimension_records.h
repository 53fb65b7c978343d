#pragma once
// The record format of dimension files: the native ".dve" working-set file (written and read)
// and the older DOS-era ".ovk" file (read only). Bytes in, bytes out: the files themselves are
// read and written by dimension_file.h.
//
// Both are headerless runs of 20-byte records, each five little-endian IEEE singles; the form is
// told by the length alone. A native file as written here is 74 records (1480 bytes): the full
// form's 70, then the joint clearances in records 71 and 72, then the engine settings in records
// 73 and 74. A file of 70 or 71 records is the full form without the clearances (they keep their
// defaults), one of 72 or 73 has the clearances but not the engine settings (the factory
// defaults are taken); a native file of 11 to 20 records is the older short form, of which
// records 1 to 11 are read. A reader of the 70-record form ignores every record past the 70th, so
// it opens a file of this program unchanged.
//
// Records 73 and 74, field by field: steam-chest pressure (psi gauge), back pressure (psi gauge),
// superheat (degrees F, 0 saturated), front clearance and rear clearance (percent of the swept
// volume); port length (set's units, 0 for 0.8 x bore), speed (rev/min), cylinders, discharge
// coefficient, and a 0 kept spare. NaN or an infinity refuses the file as in any other field;
// a finite value outside the range its setting keeps (engine_settings.h) is held to that range
// (the cylinders rounded to a whole number first), and a back pressure at or above the chest
// pressure is brought under it. A DOS file is read as
// records 1 to 11 whatever its length. Records beyond the last one used, and a trailing partial
// record, are ignored. A clearance that is negative reads as 0, one above 0.1 as 0.1: no more is
// wear.
//
// Reading never leaves a half-loaded working set: the whole file is decoded into a copy of the
// workspace, checked, brought up to date (the reverse-arm centre and the reverse-arm bar range)
// and only then moved into the caller's workspace. On any failure the workspace is untouched.
//
// Values from a file:
// - NaN or an infinity in any field that would be stored refuses the whole file, and the message
//   names the record, the field and the setting. This program never holds such a value, so the
//   file is damaged; loading the rest of it would give a set that no longer belongs together.
//   Fields that are never stored (record 70 fields 1 to 4, anything past the records read) are
//   not looked at.
// - Finite values are stored exactly as read, however large, except for the few settings below
//   whose own controls keep them in a range and whose readers rely on it. Those are held to the
//   nearest value of that range, as the control would do, instead of refusing the file:
//     ViewZoom (current view)       above 0 and at most 3000 (at or below 0 becomes 0.5): a zero
//                                   zoom turns the next zoom step into 0/0;
//     preset zooms                  0 to 3000 (slot 0 holds 0 until a view is captured);
//     ViewPanX, ViewPanY, preset    within +-1e6 pixels, so that no pan pushes the screen
//     pans                          coordinates of an ordinary mechanism to the int limits;
//     GraphicZoomFactor             0.5 to 2000, as the graphic-zoom dialog holds it;
//     VerticalScale                 at least 0.1, as the diagrams' own field holds it;
//     Piv1Index, Piv2Index          rounded to 0 to 26, the pivot table's indices;
//     CurrentOverlayItem            record 70 field 5 rounded half-even and held to 1..20 (NaN
//                                   gives 1); 0 is what a file saved while item 1 awaited its
//                                   pivot holds, so it is brought into range, not refused.
//   Every value this program writes is already inside these ranges, so a round trip is exact.
// - Dimensions, pivot coordinates, reverse-arm values, diagram positions and the overlay
//   coordinates and codes may be any finite single. The same values can be typed into the
//   dialogs, so a file refusing them would protect nothing: the solver keeps any finite input
//   finite, and the drawing has to cope with whatever pose comes of it.
//
// DimSetName follows the file only when a read or a write succeeds.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "workspace.h"

namespace vek1 {

constexpr int kRecordBytes = 20;
constexpr int kFieldsPerRecord = 5;
constexpr int kFullRecords = 70;
// After the full form, two records hold the joint clearances of the worn-gear study (ten
// singles). A reader of the full form reads records 1 to 70 and ignores what follows, so a file
// with them still opens there; a file without them opens here with the default clearances.
constexpr int kClearanceRecords = 2;
// Then two records of the engine settings (nine singles and a spare).
constexpr int kEngineRecords = 2;
constexpr int kEngineFirstRecord = kFullRecords + kClearanceRecords + 1;  // record 73
constexpr int kWrittenRecords = kFullRecords + kClearanceRecords + kEngineRecords;
constexpr int kShortRecordsMin = 11;  // records 1..11 are common to every form
constexpr int kShortRecordsMax = 20;  // up to here a native file is the short form
constexpr int kDosRecords = 11;
// Larger than any dimension file by far; a bigger file is certainly something else.
constexpr std::size_t kMaxDimensionFileBytes = 1 << 20;

struct DimensionFileResult {
  bool ok = false;
  std::string message;  // empty on success; one sentence or two for a message box otherwise
};

// The records of a native file as this program writes it (kWrittenRecords).
std::vector<std::uint8_t> EncodeDimensionFile(const Workspace& ws);

// Native file contents into ws (short or full form by length). On success the reverse-arm centre
// has been recomputed (ReverseArmPos and RevArmPositions 0..3 follow the loaded dimensions),
// the reverse-arm bar range follows "Rev Arm to Cent Max", and CurrentOverlayItem comes from
// record 70 (1 for a short file). DimSetName is left alone.
DimensionFileResult DecodeDimensionFile(std::span<const std::uint8_t> bytes, Workspace& ws);

// DOS file contents into ws: records 1..11 only. The settings the older file does not hold
// (graphic zoom, presets, diagram positions 4..9, the overlay and CurrentOverlayItem) keep their
// values. The centre and bar range are brought up to date as for a native file.
DimensionFileResult DecodeDosDimensionFile(std::span<const std::uint8_t> bytes, Workspace& ws);

// The working-set name for a chosen path: the text after the last separator, less its last four
// characters (the ".dve" or ".ovk"); four characters or fewer give "". Both "\" and "/" count
// as separators, since paths here are written with "/" and older names may carry "\". Characters
// are counted as UTF-8 code points, so a name is never cut inside a character.
std::string DimSetNameFromPath(std::string_view path);

}  // namespace vek1
