// ctygen: makes the shipped prefix file from the public "Big CTY" country
// file, so an operator can refresh it when a new country file comes out.
//   ctygen <cty.csv> <arrlpre2.txt>
#include "geo/CountryFile.h"
#include "platform/DurableFile.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: ctygen <cty.csv> <arrlpre2.txt>\n");
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
    if (!tenlog::platform::writeFileAtomically(QString::fromLocal8Bit(argv[2]),
                                               tenlog::geo::writePrefixFile(entries), &error)) {
        std::fprintf(stderr, "ctygen: %s: %s\n", argv[2], qPrintable(error));
        return 1;
    }
    std::printf("%lld prefixes of %lld entities written to %s\n", static_cast<long long>(entries.size()),
                static_cast<long long>(parsed.entities.size()), argv[2]);
    return 0;
}
