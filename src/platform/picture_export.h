#pragma once
// Writes a picture to a file: PNG through the raster canvas, so it is the screen's picture pixel
// for pixel; SVG and PDF through the vector canvas, so it scales. The picture is given as a
// function that draws it on any canvas; it is called once, with a canvas of the picture's size.

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "canvas.h"

class QImage;

namespace vek1 {

enum class PictureFormat { Png, Svg, Pdf };

// The format a file name asks for by its extension (any case); nothing for another extension.
std::optional<PictureFormat> pictureFormatOf(const QString& path);
std::optional<PictureFormat> pictureFormatOf(const std::string& path);
inline std::optional<PictureFormat> pictureFormatOf(const char* path) {
  return pictureFormatOf(std::string(path));
}

using DrawPicture = std::function<void(Canvas&)>;

// The PNG scales the raster canvas draws at: from the screen's own pitch up to eight times it.
constexpr double kMinPngScale = 1.0;
constexpr double kMaxPngScale = 8.0;

struct PictureInfo {
  CanvasSize size;
  QString title;  // kept in the SVG and PDF as the document's title
  // PNG only: device pixels per drawing pixel (the picture is rasterised again at the finer
  // pitch, not enlarged), and a background left clear where the drawing does not paint; the
  // drawing must then leave out its own background fill.
  double pngScale = 1.0;
  bool transparent = false;
};

struct ExportResult {
  bool ok = false;
  QString message;  // why it failed, naming the file
};

// Draws the picture into `path` in the format of its extension. The picture is encoded in memory
// and written by the one safe writer (file_write.h): whole or not at all, a failure leaves an
// existing file as it was, and a pipe, a device, a folder or a link loop is refused. A path given
// as bytes is used byte for byte; a QString path is turned into the file system's bytes.
ExportResult exportPicture(const std::string& path, const PictureInfo& info,
                           const DrawPicture& draw);
ExportResult exportPicture(const QString& path, const PictureInfo& info, const DrawPicture& draw);
inline ExportResult exportPicture(const char* path, const PictureInfo& info,
                                  const DrawPicture& draw) {
  return exportPicture(std::string(path), info, draw);
}

// Writes an image already drawn (the main view's frame, drawn at the screen's pixel ratio) as
// PNG, pixel for pixel, stating the resolution at which it shows as large as on the screen; SVG
// and PDF go through exportPicture with `draw`.
ExportResult exportFrame(const std::string& path, const QImage& frame, double pixelRatio,
                         const PictureInfo& info, const DrawPicture& draw);
ExportResult exportFrame(const QString& path, const QImage& frame, double pixelRatio,
                         const PictureInfo& info, const DrawPicture& draw);

// The file dialog filter for the three formats, and a name the user typed without one of their
// extensions given the extension of the filter he chose.
QString pictureFileFilter();
QString withPictureSuffix(const QString& path, const QString& selectedFilter);

}  // namespace vek1
