// What a WAV file holds, read from its header: the sample format and where
// the samples are. The format is RIFF "WAVE": a 12-byte RIFF header, then
// chunks of a 4-byte id, a 32-bit little-endian size and the body, padded to
// an even length. "fmt " gives the encoding (1 = integer PCM, 3 = float,
// 0xFFFE = extensible, whose sub-format names one of those two), channels,
// sample rate, block size and bits per sample; "data" holds the samples.
// Other chunks (LIST, fact, cue ...) are skipped. A data chunk that claims
// more than the file holds, as recorders leave when they are cut off, counts
// the bytes actually present.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace tenlog::platform {

struct WavInfo {
    bool isFloat = false; // 32-bit IEEE float samples instead of integers
    int channels = 0;
    int sampleRate = 0;    // frames a second
    int bitsPerSample = 0; // 8, 16, 24 or 32
    int blockAlign = 0;    // bytes of one frame, all channels
    qsizetype dataOffset = 0;
    qsizetype dataBytes = 0; // whole frames only

    qint64 frames() const { return blockAlign > 0 ? dataBytes / blockAlign : 0; }
    // Length of the sound, rounded to the nearest millisecond.
    qint64 durationMs() const;
};

// Nothing when the bytes are not an uncompressed PCM or float WAV with at
// least its format and data chunks.
std::optional<WavInfo> parseWav(const QByteArray& file);

// Reads path whole; nothing when it cannot be read or is not such a WAV.
// contents, when given, receives the file's bytes.
std::optional<WavInfo> readWav(const QString& path, QByteArray* contents = nullptr);

} // namespace tenlog::platform
