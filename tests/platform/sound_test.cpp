#include "sound.h"

#include <gtest/gtest.h>

#include <QDataStream>
#include <QFile>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTest>

namespace vek1 {
namespace {

TEST(Sound, VolumeWordGivesTheLeftChannelsLevel) {
  EXPECT_NEAR(volumeOfWord(0x80008000u), 0.5, 1e-4);
  EXPECT_NEAR(volumeOfWord(0x40004000u), 0.25, 1e-4);
  EXPECT_DOUBLE_EQ(volumeOfWord(0xFFFFFFFFu), 1.0);
  EXPECT_DOUBLE_EQ(volumeOfWord(0x0000FFFFu), 1.0);
  EXPECT_DOUBLE_EQ(volumeOfWord(0xFFFF0000u), 0.0);
}

// A valid 8-bit mono wave file of a short click.
void writeWave(const QString& path) {
  constexpr quint32 kRate = 8000, kSamples = 800;
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  QDataStream out(&file);
  out.setByteOrder(QDataStream::LittleEndian);
  out.writeRawData("RIFF", 4);
  out << quint32(36 + kSamples);
  out.writeRawData("WAVEfmt ", 8);
  out << quint32(16) << quint16(1) << quint16(1) << kRate << kRate << quint16(1) << quint16(8);
  out.writeRawData("data", 4);
  out << kSamples;
  for (quint32 i = 0; i < kSamples; ++i) out << quint8(i % 16 < 8 ? 96 : 160);
}

// Lets a sound finish loading, so that its loader is gone before the sink is.
void waitWhileLoading(const QSoundEffect* effect) {
  for (int i = 0; i < 200 && effect->status() == QSoundEffect::Loading; ++i) QTest::qWait(10);
}

TEST(Sound, MissingFileIsSilentAndNotRemembered) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QtSoundSink sink(dir.path());
  sink.playAsync("Exhaust.wav");
  sink.playAsync("Exhaust.wav");
  EXPECT_EQ(sink.effect("Exhaust.wav"), nullptr);

  // Put in place later, it is found on the next play.
  writeWave(dir.filePath("Exhaust.wav"));
  sink.playAsync("Exhaust.wav");
  ASSERT_NE(sink.effect("Exhaust.wav"), nullptr);
  waitWhileLoading(sink.effect("Exhaust.wav"));
}

TEST(Sound, PlaysWithoutAnAudioDeviceAndKeepsTheVolumeForLaterSounds) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  writeWave(dir.filePath("Exhaust.wav"));
  QFile notWave(dir.filePath("Error.wav"));
  ASSERT_TRUE(notWave.open(QIODevice::WriteOnly));
  notWave.write("not a wave file");
  notWave.close();

  QtSoundSink sink(dir.path());
  sink.setWaveVolume(0x80008000u);
  EXPECT_NEAR(sink.volume(), 0.5, 1e-4);
  // Either plays or, on a machine without audio output, stays silent; neither waits.
  sink.playAsync("Exhaust.wav");
  sink.playAsync("Error.wav");
  sink.playAsync("Exhaust.wav");
  ASSERT_NE(sink.effect("Exhaust.wav"), nullptr);
  ASSERT_NE(sink.effect("Error.wav"), nullptr);
  waitWhileLoading(sink.effect("Exhaust.wav"));
  waitWhileLoading(sink.effect("Error.wav"));
  EXPECT_EQ(sink.effect("Error.wav")->status(), QSoundEffect::Error);
  sink.setWaveVolume(0x0000FFFFu);
  EXPECT_DOUBLE_EQ(sink.volume(), 1.0);
}

}  // namespace
}  // namespace vek1
