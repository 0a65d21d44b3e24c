#include "rig/TuningSteps.h"

#include "text/NumberText.h"

namespace tenlog::rig {

std::span<const BandPreset> bandPresets()
{
    static constexpr BandPreset presets[] = {
        {"160", 1.9},    {"80", 3.75},   {"60", 5.368}, {"40", 7.15},   {"30", 10.13},  {"20", 14.175},
        {"17", 18.118},  {"15", 21.225}, {"12", 24.94}, {"10", 28.5},   {"6", 52},      {"2", 146},
        {"1.25", 223.5}, {"70", 435},    {"33", 915},   {"23", 1270},
    };
    return presets;
}

std::span<const StepPreset> stepPresets()
{
    static constexpr StepPreset presets[] = {
        {"10 Hz", 0.00001}, {"10 Hz", -0.00001}, {"1 MHz", 1},       {"1 MHz", -1},       {"5 KHz", 0.005},
        {"5 KHz", -0.005},  {"1 KHz", 0.001},    {"1 KHz", -0.001},  {"100 Hz", 0.0001},  {"100 Hz", -0.0001},
    };
    return presets;
}

std::span<const StepPreset> scanSteps()
{
    static constexpr StepPreset steps[] = {
        {"2.5 KHz", 0.0025}, {"500 Hz", 0.0005}, {"100 Hz", 0.0001}, {"30 Hz", 0.00003}, {"10 Hz", 0.00001},
    };
    return steps;
}

QString bandFrequencyText(double megahertz)
{
    return text::plainNumber(megahertz);
}

QString radioFrequencyText(float megahertz)
{
    QString text = text::formatNumber(megahertz, QStringLiteral("####.#####"));
    if (text.endsWith(u'.')) // a whole number of MHz
        text.chop(1);
    return text;
}

std::optional<QString> steppedFrequencyText(const QString& frequency, double stepMHz)
{
    if (!text::isNumeric(frequency))
        return std::nullopt;
    // Fifteen significant digits, so 28.475 + 0.001 reads 28.476 and not
    // the binary sum's last digits.
    return QString::number(text::val(frequency) + stepMHz, 'g', 15);
}

std::optional<QString> nextScanFrequencyText(const QString& frequency, const QString& from, const QString& to,
                                             double stepMHz)
{
    if (!text::isNumeric(frequency) || !text::isNumeric(from) || !text::isNumeric(to))
        return std::nullopt;
    float next = text::valSingle(frequency) + float(stepMHz);
    if (next > text::valSingle(to))
        next = text::valSingle(from);
    return text::formatNumber(next, QStringLiteral("####.#####"));
}

bool isFrequencyBoxCharacter(QChar c)
{
    return c == u'\b' || (c.unicode() >= 46 && c.unicode() <= 57);
}

} // namespace tenlog::rig
