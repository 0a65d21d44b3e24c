// The tuning panel's presets and arithmetic: the band buttons, the step
// buttons, the scan steps, and the text rules of its frequency boxes.
// Frequencies are MHz.
#pragma once

#include <QString>

#include <optional>
#include <span>

namespace tenlog::rig {

struct BandPreset {
    const char* caption;
    double megahertz;
};
struct StepPreset {
    const char* caption;
    double stepMHz; // negative steps down
};

// The sixteen band buttons, 160 m to 23 cm.
std::span<const BandPreset> bandPresets();
// The ten step buttons: even indexes step up, odd ones down.
std::span<const StepPreset> stepPresets();
// The scan steps, in the order of their options: 2.5 kHz, 500, 100, 30, 10 Hz.
std::span<const StepPreset> scanSteps();
inline constexpr int kDefaultScanStep = 4; // 10 Hz
inline constexpr int kScanTickMs = 299;

// A band's frequency as the panel writes it: "3.75", "52".
QString bandFrequencyText(double megahertz);
// The radio's reported frequency as the panel opens with it ("28.475"):
// five decimals at most, so single precision's tail does not show.
QString radioFrequencyText(float megahertz);
// The frequency box stepped (double precision), as the panel writes it
// back ("28.476" from "28.475" and 0.001); nothing when the box holds no number.
std::optional<QString> steppedFrequencyText(const QString& frequency, double stepMHz);
// The next scan frequency, "####.#####", or nothing when the box, From or
// To holds no number. Past To the scan starts again at From.
std::optional<QString> nextScanFrequencyText(const QString& frequency, const QString& from, const QString& to,
                                             double stepMHz);
// Characters the frequency boxes take: digits, "." and "/" (and backspace).
bool isFrequencyBoxCharacter(QChar c);

} // namespace tenlog::rig
