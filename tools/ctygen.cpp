// ctygen: makes the shipped prefix file and DXCC table from the public "Big
// CTY" country file, so an operator can refresh them when a new country file
// comes out.
//   ctygen <cty.csv> <arrlpre2.txt> <ADIFCnt.txt>
#include "geo/CountryFile.h"
#include "platform/DurableFile.h"

#include <cstdio>

namespace {

bool write(const char* path, const QByteArray& data)
{
    QString error;
    if (tenlog::platform::writeFileAtomically(QString::fromLocal8Bit(path), data, &error))
        return true;
    std::fprintf(stderr, "ctygen: %s: %s\n", path, qPrintable(error));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: ctygen <cty.csv> <arrlpre2.txt> <ADIFCnt.txt>\n");
        return 2;
    }
    QByteArray cty;
    QString error;
    if (!tenlog::platform::readWholeFile(QString::fromLocal8Bit(argv[1]), &cty, &error)) {
        std::fprintf(stderr, "ctygen: %s: %s\n", argv[1], qPrintable(error));
        return 1;
    }
    const auto parsed = tenlog::geo::parseCtyCsv(cty);
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "ctygen: %s: %s\n", argv[1], qPrintable(parsed.error));
        return 1;
    }
    const auto entries = tenlog::geo::buildPrefixEntries(parsed.entities, &error);
    if (entries.isEmpty()) {
        std::fprintf(stderr, "ctygen: %s\n", qPrintable(error.isEmpty() ? QStringLiteral("no prefixes") : error));
        return 1;
    }
    if (!write(argv[2], tenlog::geo::writePrefixFile(entries)))
        return 1;
    std::printf("%lld prefixes of %lld entities written to %s\n", static_cast<long long>(entries.size()),
                static_cast<long long>(parsed.entities.size()), argv[2]);
    const auto dxcc = tenlog::geo::buildDxccEntries(parsed.entities, entries);
    if (!write(argv[3], tenlog::geo::writeDxccFile(dxcc)))
        return 1;
    std::printf("%lld DXCC numbers written to %s\n", static_cast<long long>(dxcc.size()), argv[3]);
    return 0;
}
