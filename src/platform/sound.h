#pragma once
// Sound output: short wave files played without waiting, one output volume, and the system beep.
// Windows and the main view's tick talk to a SoundSink, so tests and headless runs can put another
// sink in place of the real one (the tests' recording sink is in tests/support). Everything but
// QtSoundSink lives in this header, so the tick (with the pictures, which play nothing) can use
// the interface without the multimedia and widget libraries.

#include <QString>
#include <QtGlobal>
#include <map>
#include <memory>

class QSoundEffect;

namespace vek1 {

class SoundSink {
 public:
  virtual ~SoundSink() = default;
  // Starts `fileName` (a wave file beside the program) and returns at once. A sound still playing
  // is cut off. A file that is missing or cannot be played is silently skipped.
  virtual void playAsync(const QString& fileName) = 0;
  // The output volume as one word: the low 16 bits are the left channel, the high 16 bits the
  // right channel, 0xFFFF full. It applies to the sound playing now and to later ones.
  virtual void setWaveVolume(quint32 volumeWord) = 0;
  virtual void beep() = 0;
};

// Linear volume 0..1 of a volume word. The sounds are mono, so the left channel's level is used.
constexpr double volumeOfWord(quint32 volumeWord) {
  constexpr quint32 kChannelMask = 0xffff;
  constexpr double kFullLevel = 65535.0;
  return (volumeWord & kChannelMask) / kFullLevel;
}

// Plays through QSoundEffect. Each file is loaded once, on its first play, and kept.
class QtSoundSink final : public SoundSink {
 public:
  // `directory` holds the wave files; empty means the directory of the executable.
  explicit QtSoundSink(QString directory = {});
  ~QtSoundSink() override;
  QtSoundSink(const QtSoundSink&) = delete;
  QtSoundSink& operator=(const QtSoundSink&) = delete;

  void playAsync(const QString& fileName) override;
  void setWaveVolume(quint32 volumeWord) override;
  void beep() override;

  // Loads `fileName` ahead of its first play, so that play starts without delay.
  void preload(const QString& fileName);
  double volume() const { return volume_; }
  // The effect loaded for `fileName`, or null if it has not been loaded (or does not exist).
  const QSoundEffect* effect(const QString& fileName) const;

 private:
  QSoundEffect* load(const QString& fileName);

  QString directory_;
  double volume_ = 1.0;
  std::map<QString, std::unique_ptr<QSoundEffect>> effects_;
  QSoundEffect* playing_ = nullptr;
};

// Plays nothing: for a picture drawn again (an export, a render) whose sounds belong to the
// frame that was shown, not to the copy.
class SilentSoundSink final : public SoundSink {
 public:
  void playAsync(const QString&) override {}
  void setWaveVolume(quint32) override {}
  void beep() override {}
};

}  // namespace vek1
