// Fuzz target for the quoted-value reader: any bytes must read as values until
// the end without a crash, reading past the end must fail, and every value read
// must survive being written out and read again unchanged.
#include "text/QuotedValues.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace tenlog::text;

namespace {

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "fuzz_quoted_reader: %s\n", what);
    std::abort();
}

bool sameValues(const QList<QuotedValue>& a, const QList<QuotedValue>& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (!(a[i] == b[i]) || a[i].endsLine() != b[i].endsLine())
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    QuotedValueReader reader(bytes);
    QList<QuotedValue> values;
    QuotedValue value;
    while (!reader.atEnd()) {
        if (!reader.read(value))
            fail("read failed before the end");
        values.append(value);
        // The conversions must cope with whatever text was read.
        bool ok = false;
        (void)value.toDouble(&ok);
        (void)value.toSingle(&ok);
        (void)value.toBool(&ok);
    }
    if (reader.read(value) || !reader.failed() || !value.isEmpty())
        fail("reading past the end did not fail");
    if (!sameValues(QuotedValueReader::readAll(bytes), values))
        fail("readAll disagrees with read");

    // Everything a reader produces can be written: text never holds a quote and
    // unquoted fields come out trimmed and free of separators.
    const auto written = QuotedValueWriter::writeAll(values);
    if (!written)
        fail("a value read could not be written");
    const QList<QuotedValue> reread = QuotedValueReader::readAll(*written);
    if (!sameValues(reread, values))
        fail("values changed after writing and reading again");
    const auto rewritten = QuotedValueWriter::writeAll(reread);
    if (!rewritten || *rewritten != *written)
        fail("a written file did not rewrite byte for byte");
    return 0;
}
