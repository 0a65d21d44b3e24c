// The band plan file "BandPlan.txt": the frequency segments each US licence
// class may use, band by band, split into CW and phone segments.
//
// Format: quoted-value text (strings quoted, numbers bare, commas between
// values, a record a line). The first value is the date from which the plan
// is in force; then records of five values until the end of the file:
//   band ("160", "80", ..., "23"), class ("O" for the band's whole range, or
//   "N", "T", "P", "G", "A", "E"), mode ("CW" or "PH"), low edge, high edge
//   (MHz).
// Each band's records start with its "O" record; the first record with a band
// name gives that band's range. Class letters compare exactly.
//
// Two readers use it: the privileges chart keeps every record, and the rig
// commands keep the Extra class records to choose a mode for a frequency.
// Each keeps at most 200 records.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tenlog::bandplan {

inline constexpr int kMaxBandPlanRecords = 200;

QString bandPlanFileName();

struct BandPlanRecord {
    QString band;
    QString licenceClass;
    QString mode;
    float lowMHz = 0;
    float highMHz = 0;

    bool operator==(const BandPlanRecord&) const = default;
};

enum class BandPlanError { None, Missing, BadRecord, TooManyRecords };

struct BandPlan {
    QString effectiveDate;
    // The records read before any error.
    QList<BandPlanRecord> records;
    BandPlanError error = BandPlanError::None;
};

// The chart's reading: the date, then every record; reading stops at a record
// that cannot be read (a field missing at the end, an edge that is not a
// number) or at the 201st record.
BandPlan readBandPlan(const QByteArray& data);
// The file in folder (found in any letter case); Missing when it cannot be read.
BandPlan loadBandPlan(const QString& folder);

// The rig commands' reading: the Extra class records in file order, at most
// 200 (later ones are left out); reading stops quietly at a record that
// cannot be read. A missing file gives none.
QList<BandPlanRecord> extraClassRecords(const QByteArray& data);
QList<BandPlanRecord> loadExtraClassRecords(const QString& folder);

// The mode to set before tuning to frequencyMHz: from the first record whose
// edges lie strictly either side of it, "LSB" for phone on 80, 60 and 40 m,
// "USB" for phone elsewhere, the record's own mode text otherwise. Empty
// outside every record and on 160 m, where the radio's mode is left alone.
QString bandPlanMode(const QList<BandPlanRecord>& records, float frequencyMHz);

} // namespace tenlog::bandplan
