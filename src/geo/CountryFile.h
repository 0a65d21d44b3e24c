// Turns the public "Big CTY" country file (cty.csv) into the program's
// prefix file "arrlpre2.txt" and the DXCC table "ADIFCnt.txt".
//
// cty.csv: one line per entity: primary prefix, entity name, DXCC number,
// continent, CQ zone, ITU zone, latitude (north positive), longitude (west
// positive), UTC offset, then the prefixes separated by blanks and ended by
// ";". A prefix may carry overrides: (n) CQ zone, [n] ITU zone, <lat/lon>,
// {cc} continent, ~n~ UTC offset. "=" marks an exact call sign, and a primary
// prefix starting with "*" marks an entity that is not a DXCC entity.
//
// arrlpre2.txt: one entry per line, eight values: "prefix","country",
// "continent",longitude,latitude,CQ zone,ITU zone,UTC offset; sorted by
// prefix in character order with letter case ignored, so that all prefixes
// sharing a first character stand together.
//
// ADIFCnt.txt: one entry per line, two values: "country",DXCC number; one
// entry for every country name arrlpre2.txt holds, spelled as it spells it,
// sorted by name with letter case ignored.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tenlog::geo {

struct CtyEntity {
    QString primaryPrefix;
    QString name;
    int dxcc = 0;
    QString continent;
    int cqZone = 0;
    int ituZone = 0;
    double latitude = 0;
    double longitudeWest = 0;
    double utcOffset = 0;
    QStringList prefixes;   // overrides stripped, exact calls left out
    bool isDxcc() const { return !primaryPrefix.startsWith(QLatin1Char('*')); }
};

struct CtyParseResult {
    QList<CtyEntity> entities;
    QString error; // empty when every line parsed
};

CtyParseResult parseCtyCsv(const QByteArray& data);

// The names the exchange rules rely on for the North American areas.
QString contestCountryName(const QString& ctyName);

struct PrefixFileEntry {
    QString prefix;
    QString country;
    QString continent;
    double longitudeWest = 0;
    double latitude = 0;
    int cqZone = 0;
    int ituZone = 0;
    double utcOffset = 0;
};

inline constexpr int kMaxPrefixEntries = 10000;

// Every prefix of every DXCC entity, each once, sorted as the lookup needs.
// Fails (empty list, error set) when there would be more than the limit.
QList<PrefixFileEntry> buildPrefixEntries(const QList<CtyEntity>& entities, QString* error);

QByteArray writePrefixFile(const QList<PrefixFileEntry>& entries);

struct DxccFileEntry {
    QString country;
    int dxcc = 0;
};

// The DXCC number of every country the prefix entries name, so that the ADIF
// export finds a number for every country the prefix lookup can give.
QList<DxccFileEntry> buildDxccEntries(const QList<CtyEntity>& entities, const QList<PrefixFileEntry>& prefixes);

QByteArray writeDxccFile(const QList<DxccFileEntry>& entries);

} // namespace tenlog::geo
