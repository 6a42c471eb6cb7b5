#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>
#include <QtEndian>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace {

// What the program's sound player needs of a file: RIFF/WAVE with a plain
// 16-byte PCM fmt chunk and then the data, nothing else. An extensible header
// is refused, and an odd chunk before the data can leave the player loading
// for ever.
struct PlainWave {
    int channels = 0;
    int sampleRate = 0;
    QByteArray samples;
    double Seconds() const { return double(samples.size()) / (2.0 * channels * sampleRate); }
};

// Why bytes are no plain wave, or the wave.
struct Parsed {
    std::optional<PlainWave> wave;
    std::string fault;
};

Parsed ParsePlainWave(const QByteArray& bytes)
{
    auto u16 = [&bytes](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    auto u32 = [&bytes](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    if (bytes.size() < 44 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return {{}, "no RIFF/WAVE header"};
    if (u32(4) + 8 != static_cast<quint64>(bytes.size()))
        return {{}, "RIFF size does not match the file"};
    if (bytes.mid(12, 4) != "fmt ")
        return {{}, "first chunk is not fmt"};
    if (u32(16) != 16)
        return {{}, "fmt chunk is not the plain 16 bytes"};
    if (u16(20) != 1)
        return {{}, "not PCM (format tag " + std::to_string(u16(20)) + ")"};
    PlainWave wave;
    wave.channels = u16(22);
    wave.sampleRate = static_cast<int>(u32(24));
    if (wave.channels < 1 || wave.channels > 2)
        return {{}, "not mono or stereo"};
    if (u16(34) != 16)
        return {{}, "not 16-bit samples"};
    if (u16(32) != 2 * wave.channels || u32(28) != u32(24) * 2 * wave.channels)
        return {{}, "block align or byte rate inconsistent"};
    if (bytes.mid(36, 4) != "data")
        return {{}, "a chunk other than data follows fmt"};
    const quint32 dataSize = u32(40);
    if (44 + static_cast<quint64>(dataSize) != static_cast<quint64>(bytes.size()))
        return {{}, "data does not end the file"};
    if (dataSize == 0 || dataSize % (2 * wave.channels) != 0)
        return {{}, "data is empty or not whole frames"};
    wave.samples = bytes.mid(44);
    return {wave, {}};
}

int Peak(const QByteArray& samples)
{
    int peak = 0;
    for (qsizetype at = 0; at + 1 < samples.size(); at += 2)
        peak = qMax(peak, qAbs(int(qFromLittleEndian<qint16>(samples.constData() + at))));
    return peak;
}

QByteArray Header(quint32 fmtSize, quint16 format, quint16 bits)
{
    QByteArray bytes("RIFF\0\0\0\0WAVEfmt ", 16);
    auto put16 = [&bytes](quint16 v) { char b[2]; qToLittleEndian(v, b); bytes.append(b, 2); };
    auto put32 = [&bytes](quint32 v) { char b[4]; qToLittleEndian(v, b); bytes.append(b, 4); };
    put32(fmtSize);
    put16(format);
    put16(1);
    put32(22050);
    put32(22050u * bits / 8);
    put16(static_cast<quint16>(bits / 8));
    put16(bits);
    bytes.append(QByteArray(static_cast<qsizetype>(fmtSize) - 16, '\0'));
    return bytes;
}

QByteArray WithData(QByteArray bytes, qsizetype dataBytes)
{
    bytes.append("data", 4);
    char size[4];
    qToLittleEndian(static_cast<quint32>(dataBytes), size);
    bytes.append(size, 4);
    bytes.append(QByteArray(dataBytes, '\x10'));
    qToLittleEndian(static_cast<quint32>(bytes.size() - 8), bytes.data() + 4);
    return bytes;
}

TEST(WaveCheck, RefusesWhatThePlayerWouldRefuse)
{
    // The check itself must catch the faults it guards against.
    const QByteArray good = WithData(Header(16, 1, 16), 400);
    ASSERT_TRUE(ParsePlainWave(good).wave) << ParsePlainWave(good).fault;

    QByteArray listChunk = Header(16, 1, 16);
    listChunk.append("LIST\x05\0\0\0abcde\0", 14);
    const struct {
        const char* what;
        QByteArray bytes;
    } bad[] = {
        {"extensible header", WithData(Header(40, 0xFFFE, 16), 400)},
        {"18-byte fmt", WithData(Header(18, 1, 16), 400)},
        {"24-bit samples", WithData(Header(16, 1, 24), 600)},
        {"float samples", WithData(Header(16, 3, 32), 800)},
        {"odd chunk before data", WithData(listChunk, 400)},
        {"truncated data", WithData(Header(16, 1, 16), 400).chopped(10)},
        {"no data", WithData(Header(16, 1, 16), 0)},
    };
    for (const auto& [what, bytes] : bad)
        EXPECT_FALSE(ParsePlainWave(bytes).wave) << what;
}

struct ShippedSound {
    const char* file;
    double longestSeconds;
};

void PrintTo(const ShippedSound& sound, std::ostream* out)
{
    *out << sound.file;
}

class ShippedSounds : public ::testing::TestWithParam<ShippedSound> {
protected:
    QString Path() const
    {
        return QStringLiteral(VELLUMARK_SOURCE_DIR "/data/音/") + QString::fromUtf8(GetParam().file);
    }
};

TEST_P(ShippedSounds, ArePlainSixteenBitPcmAndShortAndAudible)
{
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << GetParam().file;
    const Parsed parsed = ParsePlainWave(file.readAll());
    ASSERT_TRUE(parsed.wave) << GetParam().file << ": " << parsed.fault;
    EXPECT_GE(parsed.wave->sampleRate, 22050);
    EXPECT_GT(parsed.wave->Seconds(), 0.1) << GetParam().file;
    EXPECT_LT(parsed.wave->Seconds(), GetParam().longestSeconds) << GetParam().file;
    // Loud enough to hear, with headroom so it never clips on the way out.
    const int peak = Peak(parsed.wave->samples);
    EXPECT_GT(peak, 16000) << GetParam().file;
    EXPECT_LT(peak, 32700) << GetParam().file;
}

TEST_P(ShippedSounds, BecomeReadyInTheSoundPlayerWithinASecond)
{
    QSoundEffect effect;
    QEventLoop loop;
    QObject::connect(&effect, &QSoundEffect::statusChanged, &loop, [&] {
        if (effect.status() == QSoundEffect::Ready || effect.status() == QSoundEffect::Error)
            loop.quit();
    });
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    effect.setSource(QUrl::fromLocalFile(Path()));
    if (effect.status() != QSoundEffect::Ready && effect.status() != QSoundEffect::Error)
        loop.exec();
    EXPECT_EQ(effect.status(), QSoundEffect::Ready) << GetParam().file;
}

INSTANTIATE_TEST_SUITE_P(Sounds, ShippedSounds,
                         ::testing::Values(ShippedSound{"karasu.wav", 1.0}, ShippedSound{"o.wav", 0.8}),
                         [](const ::testing::TestParamInfo<ShippedSound>& param) {
                             const std::string file = param.param.file;
                             return file.substr(0, file.find('.'));
                         });

} // namespace
