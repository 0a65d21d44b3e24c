// The settings file tnpref.txt: one table of rows drives reading and writing,
// so the order and the types live in one place.
#include "log/Prefs.h"

#include "platform/DurableFile.h"
#include "text/NumberText.h"
#include "text/QuotedValues.h"
#include "text/SettingsValues.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <type_traits>
#include <variant>

namespace tenlog::log {

namespace {

using Member = std::variant<QString Prefs::*, float Prefs::*, int Prefs::*>;

struct Row {
    const char* name;
    const char* words; // the name for the operator
    Member member;
    // Limits of whole-number rows (Byte, Long or Integer in the file's origin).
    qint64 min = 0;
    qint64 max = 0;
};

constexpr qint64 kByteMax = 255;
constexpr qint64 kLongMin = std::numeric_limits<qint32>::min();
constexpr qint64 kLongMax = std::numeric_limits<qint32>::max();

static_assert(std::is_same_v<qint32, int>, "the colour members share the whole-number row type");

const std::array<Row, kPrefsValueCount> kRows{{
    {"OwnCall", "your call sign", &Prefs::OwnCall},
    {"OwnState", "your state or province", &Prefs::OwnState},
    {"UtcOffsetHours", "the hours added for UTC", &Prefs::UtcOffsetHours},
    {"CurrentMode", "the mode", &Prefs::CurrentMode},
    {"SavedOpSeconds", "the operating time", &Prefs::SavedOpSeconds},
    {"OwnCountry", "your country", &Prefs::OwnCountry},
    {"OwnLongitude", "your longitude", &Prefs::OwnLongitude},
    {"OwnLatitude", "your latitude", &Prefs::OwnLatitude},
    {"FormSizePercent", "the window size in percent", &Prefs::FormSizePercent, 0, kByteMax},
    {"WorkedColor", "the colour of worked multipliers", &Prefs::WorkedColor, kLongMin, kLongMax},
    {"RemainingColor", "the colour of multipliers to work", &Prefs::RemainingColor, kLongMin, kLongMax},
    {"VoiceNavLevel", "the voice navigation level", &Prefs::VoiceNavLevel, 0, kByteMax},
    {"RigName", "the radio", &Prefs::RigName},
    {"TaskbarFit", "the taskbar fit", &Prefs::TaskbarFit, 0, kByteMax},
    {"NeededSpotsGreen", "the green needed spots", &Prefs::NeededSpotsGreen, kLongMin, kLongMax},
    {"NeededSpotAudio", "the needed spot alert", &Prefs::NeededSpotAudio, 0, kByteMax},
}};

template <typename T>
std::optional<T> fail(QString* error, const QString& why)
{
    if (error)
        *error = why;
    return std::nullopt;
}

// Converts one value into its member; the reason when it does not fit.
QString assign(Prefs& prefs, const Row& row, const text::QuotedValue& value)
{
    const QString name = QStringLiteral("%1 (%2)").arg(QLatin1String(row.words), QLatin1String(row.name));
    return std::visit(
        [&](auto member) -> QString {
            using T = std::remove_reference_t<decltype(prefs.*member)>;
            if constexpr (std::is_same_v<T, QString>) {
                prefs.*member = value.toText();
                return {};
            } else {
                bool ok = false;
                if constexpr (std::is_same_v<T, float>) {
                    const float number = value.toSingle(&ok);
                    if (!ok)
                        return QStringLiteral("%1 is not a number: \"%2\"").arg(name, value.raw());
                    if (!std::isfinite(number))
                        return QStringLiteral("%1 is out of range: %2").arg(name, value.raw());
                    prefs.*member = number;
                } else {
                    const double number = value.toDouble(&ok);
                    if (!ok)
                        return QStringLiteral("%1 is not a number: \"%2\"").arg(name, value.raw());
                    const double whole = text::roundHalfEven(number);
                    if (!(whole >= static_cast<double>(row.min) && whole <= static_cast<double>(row.max)))
                        return QStringLiteral("%1 is out of range: %2 (it holds %3 to %4)")
                            .arg(name, value.raw())
                            .arg(row.min)
                            .arg(row.max);
                    prefs.*member = static_cast<int>(whole);
                }
                return {};
            }
        },
        row.member);
}

// Writes one member; false (the writer holds the reason) when it is refused.
bool write(text::QuotedValueWriter& writer, const Prefs& prefs, const Row& row, QString* rangeError)
{
    return std::visit(
        [&](auto member) -> bool {
            const auto& value = prefs.*member;
            using T = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<T, QString>) {
                return writer.writeText(value);
            } else if constexpr (std::is_same_v<T, float>) {
                return writer.writeNumber(value);
            } else {
                // A value the reader would refuse must not reach the file.
                if (value < row.min || value > row.max) {
                    *rangeError = QStringLiteral("out of range: %1").arg(value);
                    return false;
                }
                return writer.writeNumber(value);
            }
        },
        row.member);
}

// A number too large for a single counts as no number: it could not be saved.
float singleOrZero(const QString& text)
{
    const float value = text::isNumeric(text) ? text::valSingle(text) : 0.0f;
    return std::isfinite(value) ? value : 0.0f;
}

} // namespace

QString prefsFileName()
{
    return QStringLiteral("tnpref.txt");
}

std::optional<Prefs> parsePrefs(const QByteArray& data, QString* error)
{
    text::QuotedValueReader reader(data);
    Prefs prefs;
    for (size_t i = 0; i < kRows.size(); ++i) {
        const Row& row = kRows[i];
        const int line = reader.lineNumber();
        text::QuotedValue value;
        if (!reader.read(value)) {
            return fail<Prefs>(error, QStringLiteral("%1 ends after %2 of its %3 values")
                                          .arg(prefsFileName())
                                          .arg(i)
                                          .arg(kPrefsValueCount));
        }
        const QString why = assign(prefs, row, value);
        if (!why.isEmpty())
            return fail<Prefs>(error, QStringLiteral("%1 line %2: %3").arg(prefsFileName()).arg(line).arg(why));
    }
    return prefs;
}

Prefs readPrefsAsFarAsSound(const QByteArray& data, const QString& fileName, QString* damage)
{
    text::SettingsValues values(fileName, data, kPrefsValueCount);
    Prefs prefs;
    for (const Row& row : kRows) {
        text::QuotedValue value;
        if (!values.next(value))
            break;
        // A value that does not fit leaves its member as it was.
        const bool textRow = std::holds_alternative<QString Prefs::*>(row.member);
        const QString why = textRow && !text::isQuotedText(value)
            ? QStringLiteral("%1 (%2) is %3, not text in quotes")
                  .arg(QLatin1String(row.words), QLatin1String(row.name), text::shownValue(value.raw()))
            : assign(prefs, row, value);
        if (!why.isEmpty()) {
            values.refuse(why);
            break;
        }
    }
    if (values.damaged())
        *damage = values.damage();
    else if (values.endedShort())
        *damage = QStringLiteral("%1 ends after %2 of its %3 values").arg(fileName).arg(values.taken()).arg(kPrefsValueCount);
    else
        damage->clear();
    return prefs;
}

std::optional<QByteArray> prefsBytes(const Prefs& prefs, QString* error)
{
    text::QuotedValueWriter writer;
    for (const Row& row : kRows) {
        QString rangeError;
        if (!write(writer, prefs, row, &rangeError)) {
            const QString why = rangeError.isEmpty() ? writer.errorText() : rangeError;
            return fail<QByteArray>(error, QStringLiteral("%1 cannot be saved, %2").arg(QString::fromLatin1(row.name), why));
        }
        writer.endLine();
    }
    return writer.data();
}

std::optional<Prefs> loadPrefs(const QString& folder, QString* error)
{
    QByteArray data;
    QString reason;
    if (!platform::readWholeFile(platform::fileInFolder(folder, prefsFileName()), &data, &reason))
        return fail<Prefs>(error, QStringLiteral("%1 cannot be read: %2").arg(prefsFileName(), reason));
    return parsePrefs(data, error);
}

bool savePrefs(const QString& folder, const Prefs& prefs, QString* error)
{
    const std::optional<QByteArray> data = prefsBytes(prefs, error);
    if (!data)
        return false;
    return platform::writeFileAtomically(platform::fileInFolder(folder, prefsFileName()), *data, error);
}

QString numberOrZeroText(const QString& text)
{
    return text::isNumeric(text) ? text : QStringLiteral("0");
}

Prefs withStationId(Prefs prefs, const StationIdText& typed)
{
    prefs.OwnCall = typed.call;
    prefs.OwnState = typed.state;
    prefs.UtcOffsetHours = singleOrZero(typed.utcOffset);
    prefs.OwnCountry = typed.country;
    prefs.OwnLongitude = singleOrZero(typed.longitude);
    prefs.OwnLatitude = singleOrZero(typed.latitude);
    return prefs;
}

std::optional<int> formSizeFromAnswer(const std::optional<QString>& answer)
{
    if (!answer || !text::isNumeric(*answer))
        return std::nullopt;
    const double percent = std::clamp(text::val(*answer), 30.0, 100.0);
    return static_cast<int>(text::roundHalfEven(percent));
}

} // namespace tenlog::log
