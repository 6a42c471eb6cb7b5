// SPDX-License-Identifier: MIT
#include <QFile>
#include <QSoundEffect>
#include <QTest>
#include <QUrl>
#include <QtEndian>

#include <gtest/gtest.h>

#include <ostream>
#include <string>

void PrintTo(const QByteArray& bytes, std::ostream* out) { *out << '[' << bytes.toHex(' ').toStdString() << ']'; }

namespace {

// The only header the program's sound player takes without trouble: RIFF/WAVE, a
// plain 16-byte fmt chunk of 16-bit PCM, then the data up to the end of the file.
// It refuses an extensible header, and an odd chunk before the data can leave it
// loading for ever, so the shipped files must match this byte for byte.
QByteArray PlainHeader(quint16 channels, quint32 rate, quint32 dataBytes)
{
    const auto le = [](quint32 value, int size) {
        QByteArray bytes(size, '\0');
        for (int i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(value >> 8 * i);
        return bytes;
    };
    return "RIFF" + le(36 + dataBytes, 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(channels, 2) + le(rate, 4)
        + le(rate * 2 * channels, 4) + le(2u * channels, 2) + le(16, 2) + "data" + le(dataBytes, 4);
}

struct ShippedSound {
    const char* name;  // of the file, without ".wav"
    double longestSeconds;
};
void PrintTo(const ShippedSound& sound, std::ostream* out) { *out << sound.name; }

class ShippedSounds : public ::testing::TestWithParam<ShippedSound> {};

TEST_P(ShippedSounds, ArePlainShortAudiblePcmThatThePlayerReadiesWithinASecond)
{
    const QString path = QStringLiteral(VELLUMARK_SOURCE_DIR "/data/音/%1.wav").arg(QLatin1String(GetParam().name));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GT(bytes.size(), 44);
    const quint16 channels = qFromLittleEndian<quint16>(bytes.constData() + 22);
    const quint32 rate = qFromLittleEndian<quint32>(bytes.constData() + 24);
    const QByteArray samples = bytes.mid(44);
    ASSERT_EQ(bytes.first(44), PlainHeader(channels, rate, static_cast<quint32>(samples.size())));
    ASSERT_TRUE(channels == 1 || channels == 2) << channels;
    EXPECT_EQ(samples.size() % (2 * channels), 0) << "not whole frames";
    EXPECT_GE(rate, 22050u);
    const double seconds = double(samples.size()) / (2.0 * channels * rate);
    EXPECT_GT(seconds, 0.1);
    EXPECT_LT(seconds, GetParam().longestSeconds);
    // Loud enough to hear, with headroom so it never clips on the way out.
    int peak = 0;
    for (qsizetype at = 0; at + 1 < samples.size(); at += 2)
        peak = qMax(peak, qAbs(int(qFromLittleEndian<qint16>(samples.constData() + at))));
    EXPECT_GT(peak, 16000);
    EXPECT_LT(peak, 32700);

    QSoundEffect effect;
    effect.setSource(QUrl::fromLocalFile(path));
    EXPECT_TRUE(QTest::qWaitFor([&] { return effect.status() == QSoundEffect::Ready; }, 1000))
        << "status " << effect.status();
}

INSTANTIATE_TEST_SUITE_P(Sounds, ShippedSounds,
                         ::testing::Values(ShippedSound{"karasu", 1.0}, ShippedSound{"o", 0.8}),
                         [](const auto& param) { return std::string(param.param.name); });

} // namespace
