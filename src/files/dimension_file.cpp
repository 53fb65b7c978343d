#include "dimension_file.h"

#include <cstdint>
#include <span>
#include <vector>

#include "file_read.h"
#include "file_write.h"

namespace vek1 {

namespace {

using Decode = DimensionFileResult (*)(std::span<const std::uint8_t>, Workspace&);

DimensionFileResult readFile(const std::string& path, Decode decode, Workspace& ws) {
  std::vector<std::uint8_t> bytes;
  const FileReadResult read =
      readWholeRegularFile(path, kMaxDimensionFileBytes, "a dimension file", bytes);
  if (!read.ok) return {false, read.message};
  DimensionFileResult r = decode(bytes, ws);
  if (!r.ok) {
    r.message = "Cannot load \"" + path + "\". " + r.message;
    return r;
  }
  ws.DimSetName = DimSetNameFromPath(path);
  return r;
}

}  // namespace

DimensionFileResult ReadDimensionFile(const std::string& path, Workspace& ws) {
  return readFile(path, DecodeDimensionFile, ws);
}

DimensionFileResult ReadDosDimensionFile(const std::string& path, Workspace& ws) {
  return readFile(path, DecodeDosDimensionFile, ws);
}

DimensionFileResult WriteDimensionFile(const std::string& path, const Workspace& ws) {
  const FileWriteResult written = writeWholeFile(path, EncodeDimensionFile(ws), "save");
  return {written.ok, written.message};
}

}  // namespace vek1
