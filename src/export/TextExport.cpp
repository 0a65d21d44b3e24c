// LogExp.txt and the clipboard text.
#include "export/TextExport.h"

#include "text/QuotedValues.h"

namespace tenlog::exports {

namespace {

bool isNorthAmericanUs(const QString& country)
{
    for (const char* name : {"USA", "Alaska", "Hawaii"})
        if (country.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace

std::optional<QByteArray> tessaryExportData(const QList<log::QsoRecord>& records, QString* error)
{
    text::QuotedValueWriter w;
    for (qsizetype i = 0; i < records.size(); ++i) {
        const log::QsoRecord& r = records.at(i);
        w.writeText(r.Call);
        w.writeText(r.QsoDate);
        w.writeText(QStringLiteral("10"));
        w.writeText(r.Mode.compare(QLatin1String("CW"), Qt::CaseInsensitive) == 0 ? QStringLiteral("CW")
                                                                                   : QStringLiteral("SSB"));
        w.writeEmpty();
        w.writeText(r.QsoTime);
        w.writeText(r.RstSnt);
        w.writeText(r.RstRcvd);
        w.writeEmpty();
        w.writeText(r.Country);
        w.writeText(isNorthAmericanUs(r.Country) ? r.SecSer : QString());
        for (int field = 12; field <= 15; ++field)
            w.writeEmpty();
        w.writeText(QStringLiteral("ARRL 10 Meter Contest  - Section/Serial = ") + r.SecSer);
        w.endLine();
        if (w.failed()) {
            if (error)
                *error = QStringLiteral("Contact %1 (%2): %3")
                             .arg(i + 1).arg(r.Call, w.errorText());
            return std::nullopt;
        }
    }
    return w.data();
}

QString clipboardText(const QStringList& headings, const QList<QStringList>& rowsTopDown)
{
    const QString tab = QStringLiteral("\t");
    const QString lineEnd = QStringLiteral("\r\n");
    QString text;
    if (!headings.isEmpty())
        text += headings.join(tab) + lineEnd;
    for (auto row = rowsTopDown.crbegin(); row != rowsTopDown.crend(); ++row)
        text += row->join(tab) + lineEnd;
    return text;
}

} // namespace tenlog::exports
