#include "bandplan/BandPlan.h"

#include "platform/DurableFile.h"
#include "text/QuotedValues.h"

namespace tenlog::bandplan {

namespace {

// One record, or false when the data ends inside it or an edge is not a number.
bool readRecord(text::QuotedValueReader& reader, BandPlanRecord& record)
{
    text::QuotedValue band, licenceClass, mode, low, high;
    for (text::QuotedValue* value : {&band, &licenceClass, &mode, &low, &high}) {
        if (!reader.read(*value))
            return false;
    }
    bool lowOk = false;
    bool highOk = false;
    record.band = band.toText();
    record.licenceClass = licenceClass.toText();
    record.mode = mode.toText();
    record.lowMHz = low.toSingle(&lowOk);
    record.highMHz = high.toSingle(&highOk);
    return lowOk && highOk;
}

QByteArray fileData(const QString& folder, bool* found)
{
    QByteArray data;
    *found = platform::readWholeFile(platform::fileInFolder(folder, bandPlanFileName()), &data);
    return data;
}

} // namespace

QString bandPlanFileName()
{
    return QStringLiteral("BandPlan.txt");
}

BandPlan readBandPlan(const QByteArray& data)
{
    BandPlan plan;
    text::QuotedValueReader reader(data);
    text::QuotedValue date;
    if (!reader.read(date)) {
        plan.error = BandPlanError::BadRecord;
        return plan;
    }
    plan.effectiveDate = date.toText();
    while (!reader.atEnd()) {
        BandPlanRecord record;
        if (!readRecord(reader, record)) {
            plan.error = BandPlanError::BadRecord;
            return plan;
        }
        if (plan.records.size() == kMaxBandPlanRecords) {
            plan.error = BandPlanError::TooManyRecords;
            return plan;
        }
        plan.records.append(record);
    }
    return plan;
}

BandPlan loadBandPlan(const QString& folder)
{
    bool found = false;
    const QByteArray data = fileData(folder, &found);
    if (!found) {
        BandPlan plan;
        plan.error = BandPlanError::Missing;
        return plan;
    }
    return readBandPlan(data);
}

QList<BandPlanRecord> extraClassRecords(const QByteArray& data)
{
    QList<BandPlanRecord> records;
    text::QuotedValueReader reader(data);
    text::QuotedValue date;
    if (!reader.read(date))
        return records;
    while (!reader.atEnd() && records.size() < kMaxBandPlanRecords) {
        BandPlanRecord record;
        if (!readRecord(reader, record))
            break;
        if (record.licenceClass == u"E")
            records.append(record);
    }
    return records;
}

QList<BandPlanRecord> loadExtraClassRecords(const QString& folder)
{
    bool found = false;
    const QByteArray data = fileData(folder, &found);
    return found ? extraClassRecords(data) : QList<BandPlanRecord>();
}

QString bandPlanMode(const QList<BandPlanRecord>& records, float frequencyMHz)
{
    for (const BandPlanRecord& record : records) {
        if (!(record.lowMHz < frequencyMHz && frequencyMHz < record.highMHz))
            continue;
        if (record.band == u"160")
            return {};
        if (record.mode == u"PH") {
            const bool lowerSideband = record.band == u"80" || record.band == u"60" || record.band == u"40";
            return lowerSideband ? QStringLiteral("LSB") : QStringLiteral("USB");
        }
        return record.mode;
    }
    return {};
}

} // namespace tenlog::bandplan
