// The XML document of station details shared with the maker's other
// programs ("SharedUserPreferences.xml"). It is a flat list of elements, one
// per line after the XML declaration, lines ended by CR LF, tag names in upper
// case. The program only ever writes values into it, so the document is kept
// as one string and edited in place: every byte outside the replaced value
// stays as it was.
#pragma once

#include <QString>

namespace tenlog::common {

class SharedPreferences {
public:
    // Loads the document from path, or starts a new one when there is no file.
    void load(const QString& path);
    // Inserts or replaces one element; with saveNow the document is written at once.
    // Returns false only when a requested save failed.
    bool setValue(const QString& tag, const QString& value, bool saveNow);
    // Writes the document to path (remembered for later saves). False on failure.
    bool save(const QString& path);

    // The document's bytes, one character per byte.
    const QString& text() const { return m_text; }
    const QString& path() const { return m_path; }
    const QString& lastError() const { return m_lastError; }

    static QString declaration();

private:
    QString m_path;
    QString m_text;
    QString m_lastError;
};

// The file-name stem made from a call sign: its leading run of digits and
// upper-case letters, or "YourCall" when there is none.
QString callSignFileStem(const QString& callSign);

} // namespace tenlog::common
