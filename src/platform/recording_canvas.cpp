#include "recording_canvas.h"

#include <algorithm>

namespace vek1 {

DrawCall& RecordingCanvas::record(DrawKind kind) {
  DrawCall& call = calls_.emplace_back();
  call.kind = kind;
  call.colour = penColour_;
  call.penWidth = penWidth_;
  call.fontSize = fontSize_;
  call.fontStyle = fontStyle_;
  return call;
}

void RecordingCanvas::clear(Rgb colour) {
  record(DrawKind::Clear).colour = colour;
}

void RecordingCanvas::setPenColour(Rgb colour) {
  penColour_ = colour;
  record(DrawKind::PenColour);
}

void RecordingCanvas::setPenWidth(int width) {
  penWidth_ = std::clamp(width, 1, kMaxPenWidth);
  record(DrawKind::PenWidth);
}

void RecordingCanvas::moveTo(int x, int y) {
  curX_ = x;
  curY_ = y;
  DrawCall& call = record(DrawKind::MoveTo);
  call.x1 = x;
  call.y1 = y;
}

void RecordingCanvas::lineTo(int x, int y) {
  DrawCall& call = record(DrawKind::LineTo);
  call.x1 = curX_;
  call.y1 = curY_;
  call.x2 = x;
  call.y2 = y;
  curX_ = x;
  curY_ = y;
}

void RecordingCanvas::ellipse(int left, int top, int right, int bottom) {
  DrawCall& call = record(DrawKind::Ellipse);
  call.x1 = left;
  call.y1 = top;
  call.x2 = right;
  call.y2 = bottom;
}

void RecordingCanvas::arc(int left, int top, int right, int bottom, int x3, int y3, int x4,
                          int y4) {
  DrawCall& call = record(DrawKind::Arc);
  call.x1 = left;
  call.y1 = top;
  call.x2 = right;
  call.y2 = bottom;
  call.x3 = x3;
  call.y3 = y3;
  call.x4 = x4;
  call.y4 = y4;
}

void RecordingCanvas::setPixel(int x, int y, Rgb colour) {
  DrawCall& call = record(DrawKind::Pixel);
  call.x1 = x;
  call.y1 = y;
  call.colour = colour;
}

void RecordingCanvas::setFontColour(Rgb colour) {
  fontColour_ = colour;
  record(DrawKind::FontColour).colour = colour;
}

void RecordingCanvas::setFontSize(int points) {
  fontSize_ = points;
  record(DrawKind::FontSize);
}

void RecordingCanvas::setFontStyle(FontStyle style) {
  fontStyle_ = style;
  record(DrawKind::FontStyle);
}

void RecordingCanvas::textOut(int x, int y, std::string_view text) {
  DrawCall& call = record(DrawKind::Text);
  call.x1 = x;
  call.y1 = y;
  call.colour = fontColour_;
  call.text = std::string(text);
}

std::vector<DrawCall> RecordingCanvas::ofKind(DrawKind kind) const {
  std::vector<DrawCall> result;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result),
               [kind](const DrawCall& c) { return c.kind == kind; });
  return result;
}

std::vector<DrawCall> RecordingCanvas::lines(Rgb colour) const {
  std::vector<DrawCall> result;
  std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(result), [colour](const auto& c) {
    return c.kind == DrawKind::LineTo && c.colour == colour;
  });
  return result;
}

std::vector<std::string> RecordingCanvas::textStrings() const {
  std::vector<std::string> result;
  for (const auto& c : calls_) {
    if (c.kind == DrawKind::Text) result.push_back(c.text);
  }
  return result;
}

const DrawCall* RecordingCanvas::findText(std::string_view text) const {
  for (const auto& c : calls_) {
    if (c.kind == DrawKind::Text && c.text == text) return &c;
  }
  return nullptr;
}

const DrawCall* RecordingCanvas::findTextContaining(std::string_view part) const {
  for (const auto& c : calls_) {
    if (c.kind == DrawKind::Text && c.text.find(part) != std::string::npos) return &c;
  }
  return nullptr;
}

bool RecordingCanvas::hasLine(int x1, int y1, int x2, int y2) const {
  return std::any_of(calls_.begin(), calls_.end(), [&](const DrawCall& c) {
    return c.kind == DrawKind::LineTo && c.x1 == x1 && c.y1 == y1 && c.x2 == x2 && c.y2 == y2;
  });
}

}  // namespace vek1
