#pragma once
// A canvas that records every call as a value, so tests can check the exact coordinates a
// drawing uses, and a frame can be replayed (canvas_replay.h).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "canvas.h"

namespace vek1 {

enum class DrawKind {
  Clear,
  PenColour,
  PenWidth,
  MoveTo,
  LineTo,
  Ellipse,
  Arc,
  Pixel,
  FontColour,
  FontSize,
  FontStyle,
  Text,
};

// One recorded call, with the canvas state at the time of the call.
struct DrawCall {
  DrawKind kind = DrawKind::Clear;
  // MoveTo, Pixel, Text: the point in (x1, y1).
  // LineTo: from the current position (x1, y1) to (x2, y2).
  // Ellipse, Arc: the box (x1, y1, x2, y2) = (left, top, right, bottom); Arc: radials through
  // (x3, y3) and (x4, y4).
  int x1 = 0, y1 = 0, x2 = 0, y2 = 0, x3 = 0, y3 = 0, x4 = 0, y4 = 0;
  // Pen colour for lines and shapes; the pixel's colour for Pixel; the font colour for Text and
  // FontColour; the fill colour for Clear.
  Rgb colour;
  int penWidth = 1;
  std::string text;
  int fontSize = 0;  // points
  FontStyle fontStyle;
};

// Records every call as a value, so tests can check the exact coordinates a drawing uses.
class RecordingCanvas final : public Canvas {
 public:
  explicit RecordingCanvas(int width = 1280, int height = 1024) : size_{width, height} {}

  CanvasSize size() const override { return size_; }
  void clear(Rgb colour) override;
  void setPenColour(Rgb colour) override;
  void setPenWidth(int width) override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void ellipse(int left, int top, int right, int bottom) override;
  void arc(int left, int top, int right, int bottom, int x3, int y3, int x4, int y4) override;
  void setPixel(int x, int y, Rgb colour) override;
  void setFontColour(Rgb colour) override;
  void setFontSize(int points) override;
  void setFontStyle(FontStyle style) override;
  void textOut(int x, int y, std::string_view text) override;
  void setClip(const CanvasClip& clip) override { clip_ = clip; }
  void clearClip() override { clip_.reset(); }
  // The clip in force now, if any.
  const std::optional<CanvasClip>& clip() const { return clip_; }

  const std::vector<DrawCall>& calls() const { return calls_; }
  void reset() { calls_.clear(); }

  std::vector<DrawCall> ofKind(DrawKind kind) const;
  std::vector<DrawCall> lines() const { return ofKind(DrawKind::LineTo); }
  std::vector<DrawCall> lines(Rgb colour) const;
  std::vector<DrawCall> texts() const { return ofKind(DrawKind::Text); }
  std::vector<std::string> textStrings() const;
  // The first text call whose text equals `text` (or, for the second form, contains it); null if
  // there is none.
  const DrawCall* findText(std::string_view text) const;
  const DrawCall* findTextContaining(std::string_view part) const;
  // True if some line runs from (x1, y1) to (x2, y2) in that direction.
  bool hasLine(int x1, int y1, int x2, int y2) const;

 private:
  DrawCall& record(DrawKind kind);

  CanvasSize size_;
  std::vector<DrawCall> calls_;
  Rgb penColour_;
  int penWidth_ = 1;
  int curX_ = 0;
  int curY_ = 0;
  Rgb fontColour_;
  int fontSize_ = 8;
  FontStyle fontStyle_;
  std::optional<CanvasClip> clip_;
};

}  // namespace vek1
