#include "sound.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>
#include <utility>

namespace vek1 {

QtSoundSink::QtSoundSink(QString directory) : directory_(std::move(directory)) {}

QtSoundSink::~QtSoundSink() = default;

QSoundEffect* QtSoundSink::load(const QString& fileName) {
  if (auto it = effects_.find(fileName); it != effects_.end()) return it->second.get();
  const QString dir = directory_.isEmpty() ? QCoreApplication::applicationDirPath() : directory_;
  const QString path = QDir(dir).filePath(fileName);
  // A missing file is looked for again on the next play rather than remembered, so a sound put in
  // place while the program runs is heard.
  if (!QFileInfo(path).isFile()) return nullptr;
  auto effect = std::make_unique<QSoundEffect>();
  effect->setSource(QUrl::fromLocalFile(path));
  effect->setVolume(static_cast<float>(volume_));
  return effects_.emplace(fileName, std::move(effect)).first->second.get();
}

void QtSoundSink::preload(const QString& fileName) {
  load(fileName);
}

void QtSoundSink::playAsync(const QString& fileName) {
  QSoundEffect* effect = load(fileName);
  if (!effect) return;
  // One sound at a time: a new one cuts off the one still playing, as a beat follows a beat.
  if (playing_ && playing_ != effect) playing_->stop();
  effect->stop();
  effect->setVolume(static_cast<float>(volume_));
  // A file that is still loading starts when it is ready; one that failed to load (not a wave
  // file, no audio output) plays nothing.
  effect->play();
  playing_ = effect;
}

void QtSoundSink::setWaveVolume(quint32 volumeWord) {
  volume_ = volumeOfWord(volumeWord);
  for (auto& [name, effect] : effects_) effect->setVolume(static_cast<float>(volume_));
}

void QtSoundSink::beep() {
  QApplication::beep();
}

const QSoundEffect* QtSoundSink::effect(const QString& fileName) const {
  const auto it = effects_.find(fileName);
  return it == effects_.end() ? nullptr : it->second.get();
}

}  // namespace vek1
