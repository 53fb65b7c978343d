#pragma once
// A sound sink for tests: records what would have been played, in order.

#include <QString>
#include <QtGlobal>
#include <vector>

#include "recording_sound.h"
#include "sound.h"

namespace vek1 {

// Records what would have been played, in order.
class RecordingSoundSink final : public SoundSink {
 public:
  enum class Kind { Play, Volume, Beep };
  struct Event {
    Kind kind = Kind::Play;
    QString fileName;        // Play
    quint32 volumeWord = 0;  // Volume
  };

  void playAsync(const QString& fileName) override { events_.push_back({Kind::Play, fileName, 0}); }
  void setWaveVolume(quint32 volumeWord) override {
    events_.push_back({Kind::Volume, {}, volumeWord});
  }
  void beep() override { events_.push_back({Kind::Beep, {}, 0}); }

  const std::vector<Event>& events() const { return events_; }
  void reset() { events_.clear(); }
  // The files played, in order.
  std::vector<QString> plays() const {
    std::vector<QString> result;
    for (const auto& e : events_) {
      if (e.kind == Kind::Play) result.push_back(e.fileName);
    }
    return result;
  }
  int beeps() const {
    int count = 0;
    for (const auto& e : events_) count += e.kind == Kind::Beep ? 1 : 0;
    return count;
  }
  // The volume word last set, or `fallback` if none was.
  quint32 lastVolume(quint32 fallback = 0) const {
    for (auto it = events_.rbegin(); it != events_.rend(); ++it) {
      if (it->kind == Kind::Volume) return it->volumeWord;
    }
    return fallback;
  }

 private:
  std::vector<Event> events_;
};

}  // namespace vek1
