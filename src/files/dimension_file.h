#pragma once
// Dimension files on disk: the record format (dimension_records.h) read from and written to a
// path through the platform's one whole-file reader and one safe writer.

#include <string>

#include "dimension_records.h"
#include "workspace.h"

namespace vek1 {

// Whole-file reads: the file is read completely (at most kMaxDimensionFileBytes), decoded and
// applied as dimension_records.h says, and on success DimSetName is set from the path. Every
// failure names the file and the reason, and leaves ws as it was.
DimensionFileResult ReadDimensionFile(const std::string& path, Workspace& ws);
DimensionFileResult ReadDosDimensionFile(const std::string& path, Workspace& ws);

// Writes the full native file through the one safe file writer (file_write.h): the target is
// either the old file or the complete new one; a pipe, a device, a folder or a link loop is
// refused, and so is a read-only file. The workspace is not changed: the caller sets DimSetName
// (DimSetNameFromPath) once this succeeds.
DimensionFileResult WriteDimensionFile(const std::string& path, const Workspace& ws);

}  // namespace vek1
