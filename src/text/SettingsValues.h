// The values of one of the program's quoted-value settings files (tnpref.txt,
// RigCntrl.txt, CW.txt, wave2.txt), taken in order by that file's loader,
// with the first fault named for the operator by file and line.
//
// The data as a whole is refused when it is empty or is not text. Reading
// then stops at the first of: a quote that is not closed on its own line (it
// would swallow the lines after it), data that ends in the middle of a line
// before all the values are in (a file cut short), or a value the loader
// finds wrong for its field (refuse()). What was taken before stays; the
// loader keeps its defaults for the rest, since after a damaged value the
// later ones may have slipped out of place. A file that ends cleanly after
// whole lines with fewer values is not damaged here: older versions wrote
// fewer values, and each loader decides whether that matters.
#pragma once

#include "text/QuotedValues.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace tenlog::text {

// More than any settings file of the program holds; a larger one is damaged.
inline constexpr qint64 kSettingsFileMaxBytes = 1024 * 1024;

// A byte that no text file of the program holds: a control character other
// than tab, CR and LF (a binary file is full of them, NUL first of all).
struct NonTextByte {
    int line = 0;
    unsigned char byte = 0;
};
std::optional<NonTextByte> findNonTextByte(const QByteArray& data);

// Programs write every text value of a settings file in quotes; a bare word
// where text belongs means the file is something else (garbage, a page, a
// log). An empty value (nothing between the separators) is accepted.
bool isQuotedText(const QuotedValue& value);

// A value as a message shows it: in quotes, and cut short when long.
QString shownValue(const QString& raw);

class SettingsValues {
public:
    // fileName is how messages name the file (its path, usually);
    // valueCount how many values a whole file holds.
    SettingsValues(QString fileName, const QByteArray& data, int valueCount);

    // Takes the next value. False at the end of the values or at damage.
    bool next(QuotedValue& value);
    // The value just taken does not fit its field; what says how ("the port
    // number is 12, not 1 to 10"). Reading ends here.
    void refuse(const QString& what);

    // How many values were taken and kept.
    int taken() const { return m_taken; }
    // The values ran out, cleanly, before valueCount.
    bool endedShort() const { return m_endedShort; }
    bool damaged() const { return !m_damage.isEmpty(); }
    // "RigCntrl.txt line 13: ..." or "RigCntrl.txt is empty"; empty when sound.
    const QString& damage() const { return m_damage; }

private:
    void damageAtLine(const QString& what);

    QString m_fileName;
    QuotedValueReader m_reader;
    int m_valueCount;
    int m_taken = 0;
    int m_line = 0; // where the value last taken starts
    bool m_endsWithLineEnd = false;
    bool m_endedShort = false;
    QString m_damage;
};

} // namespace tenlog::text
