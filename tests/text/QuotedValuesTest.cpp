// Tests for the quoted-value reader and writer, including round trips through
// real files in a temporary folder.
#include "text/QuotedValues.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tenlog::text;
using Kind = QuotedValue::Kind;

namespace {

QList<QuotedValue> readAll(const char* data)
{
    return QuotedValueReader::readAll(QByteArray(data));
}

QByteArray fileRoundTrip(const QByteArray& bytes)
{
    QTemporaryDir dir;
    EXPECT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(bytes);
    out.close();
    QFile in(path);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    return in.readAll();
}

} // namespace

TEST(QuotedValueReader, ReadsALogLine)
{
    const auto values = readAll("\"K1ABC\",\"599\",\"CT\",599,#TRUE#,#false#,,28.025,NONE\r\n");
    ASSERT_EQ(values.size(), 9);
    EXPECT_EQ(values[0], QuotedValue::text(QStringLiteral("K1ABC")));
    EXPECT_EQ(values[1].kind(), Kind::Text);
    EXPECT_EQ(values[3].kind(), Kind::Number);
    EXPECT_EQ(values[3].raw(), QStringLiteral("599"));
    EXPECT_EQ(values[4].kind(), Kind::Bool);
    EXPECT_TRUE(values[4].toBool());
    EXPECT_EQ(values[5].kind(), Kind::Bool);
    EXPECT_FALSE(values[5].toBool());
    EXPECT_TRUE(values[6].isEmpty());
    EXPECT_EQ(values[7].toDouble(), 28.025);
    EXPECT_EQ(values[8].kind(), Kind::Bare);
    EXPECT_FALSE(values[7].endsLine());
    EXPECT_TRUE(values[8].endsLine());
}

TEST(QuotedValueReader, QuotesBlanksAndJunk)
{
    const auto values = readAll("  \"a,b\" , \t  7  ,\"x\"junk here,\"unterminated, still \r\n text");
    ASSERT_EQ(values.size(), 4);
    EXPECT_EQ(values[0].raw(), QStringLiteral("a,b"));
    EXPECT_EQ(values[1].kind(), Kind::Number);
    EXPECT_EQ(values[1].raw(), QStringLiteral("7"));
    EXPECT_EQ(values[2].raw(), QStringLiteral("x"));
    EXPECT_EQ(values[3].kind(), Kind::Text);
    EXPECT_EQ(values[3].raw(), QStringLiteral("unterminated, still \r\n text"));
}

TEST(QuotedValueReader, StrayQuoteInsideUnquotedValue)
{
    const auto values = readAll("ab\"c,d\r\n");
    ASSERT_EQ(values.size(), 2);
    EXPECT_EQ(values[0].kind(), Kind::Bare);
    EXPECT_EQ(values[0].raw(), QStringLiteral("ab\"c"));
    EXPECT_EQ(values[1].raw(), QStringLiteral("d"));
}

TEST(QuotedValueReader, AllLineEndsAreSeparators)
{
    const auto crlf = readAll("1,\"a\"\r\n2\r\n");
    EXPECT_EQ(readAll("1,\"a\"\n2\n"), crlf);
    EXPECT_EQ(readAll("1,\"a\"\r2\r"), crlf);
    EXPECT_EQ(readAll("1\r\n\"a\"\r\n2"), crlf);
    ASSERT_EQ(crlf.size(), 3);
    EXPECT_TRUE(crlf[1].endsLine());
}

TEST(QuotedValueReader, EmptyValuesAndBlankLines)
{
    // Line 2 holds only an empty value; line 3 is blanks only.
    const auto values = readAll("\"a\"\r\n\r\n   \r\n1,\r\n,\r\n\"b\"\r\n\r\n\r\n");
    ASSERT_EQ(values.size(), 8);
    EXPECT_EQ(values[0].raw(), QStringLiteral("a"));
    EXPECT_TRUE(values[1].isEmpty());
    EXPECT_TRUE(values[1].endsLine());
    EXPECT_TRUE(values[2].isEmpty());
    EXPECT_EQ(values[3].raw(), QStringLiteral("1"));
    EXPECT_TRUE(values[4].isEmpty());
    EXPECT_TRUE(values[5].isEmpty());
    EXPECT_FALSE(values[5].endsLine());
    EXPECT_TRUE(values[6].isEmpty());
    EXPECT_EQ(values[7].raw(), QStringLiteral("b"));
}

TEST(QuotedValueReader, TrailingCommaAtEndOfDataIsAnEmptyValue)
{
    const auto values = readAll("1,");
    ASSERT_EQ(values.size(), 2);
    EXPECT_TRUE(values[1].isEmpty());
    EXPECT_TRUE(values[1].endsLine());
}

TEST(QuotedValueReader, ReadingPastTheEndFails)
{
    QuotedValueReader reader(QByteArray("\"K1ABC\",5\r\n\r\n  \r\n"));
    QuotedValue value;
    EXPECT_TRUE(reader.read(value));
    EXPECT_FALSE(reader.atEnd());
    EXPECT_EQ(reader.next().toDouble(), 5);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.failed());
    EXPECT_FALSE(reader.read(value));
    EXPECT_TRUE(value.isEmpty());
    EXPECT_TRUE(reader.failed());

    QuotedValueReader empty{QByteArray()};
    EXPECT_TRUE(empty.atEnd());
    empty.next();
    EXPECT_TRUE(empty.failed());
    EXPECT_TRUE(QuotedValueReader::readAll("\r\n\r\n").isEmpty());
}

TEST(QuotedValueReader, CountsLines)
{
    QuotedValueReader reader(QByteArray("1,2\r\n\"multi\nline\"\r3\n"));
    EXPECT_EQ(reader.lineNumber(), 1);
    reader.next();
    reader.next();
    EXPECT_EQ(reader.lineNumber(), 2);
    reader.next();
    EXPECT_EQ(reader.lineNumber(), 4);
}

TEST(QuotedValue, Conversions)
{
    bool ok = false;
    EXPECT_EQ(QuotedValue::text(QStringLiteral("28.025")).toDouble(&ok), 28.025);
    EXPECT_TRUE(ok);
    EXPECT_EQ(QuotedValue::text(QStringLiteral("K1ABC")).toDouble(&ok), 0);
    EXPECT_FALSE(ok);
    EXPECT_EQ(QuotedValue().toDouble(&ok), 0);
    EXPECT_TRUE(ok);
    EXPECT_EQ(QuotedValue::boolean(true).toDouble(), -1);
    EXPECT_EQ(QuotedValue::number(28.025f).toSingle(), 28.025f);
    EXPECT_EQ(readAll("&H378")[0].toDouble(), 888);

    EXPECT_TRUE(QuotedValue::text(QStringLiteral("true")).toBool(&ok));
    EXPECT_TRUE(ok);
    EXPECT_TRUE(QuotedValue::number(2.0).toBool());
    EXPECT_FALSE(QuotedValue::text(QStringLiteral("maybe")).toBool(&ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(QuotedValue::number(5.0).toText(), QStringLiteral("5"));
    EXPECT_EQ(QuotedValue::number(-7), readAll("-7")[0]);
}

TEST(QuotedValueWriter, WritesCanonicalLines)
{
    QuotedValueWriter writer;
    EXPECT_TRUE(writer.writeText(QStringLiteral("K1ABC")));
    EXPECT_TRUE(writer.writeNumber(599));
    writer.writeBool(true);
    writer.writeEmpty();
    EXPECT_TRUE(writer.writeNumber(28.025f));
    EXPECT_TRUE(writer.writeNumber(77.5f));
    EXPECT_TRUE(writer.writeNumber(-0.0));
    EXPECT_TRUE(writer.writeNumber(0.5));
    writer.endLine();
    writer.writeEmpty();
    writer.endLine();
    writer.endLine();
    writer.writeEmpty();
    writer.writeBool(false);
    writer.endLine();
    EXPECT_FALSE(writer.failed());
    EXPECT_EQ(writer.data(), QByteArray("\"K1ABC\",599,#TRUE#,,28.025,77.5,0,0.5\r\n\r\n\r\n,#FALSE#\r\n"));
}

TEST(QuotedValueWriter, RefusesWhatCannotBeReadBack)
{
    QuotedValueWriter writer;
    EXPECT_TRUE(writer.writeText(QStringLiteral("ok")));
    EXPECT_FALSE(writer.writeText(QStringLiteral("say \"hi\"")));
    EXPECT_TRUE(writer.failed());
    EXPECT_TRUE(writer.errorText().contains(QStringLiteral("double quote")));
    EXPECT_FALSE(writer.writeText(QStringLiteral("\u20ac")));
    EXPECT_FALSE(writer.writeNumber(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(writer.writeNumber(std::numeric_limits<float>::quiet_NaN()));
    EXPECT_TRUE(writer.errorText().contains(QStringLiteral("double quote")));
    EXPECT_EQ(writer.data(), QByteArray("\"ok\""));

    const auto bare = readAll("NONE");
    ASSERT_EQ(bare.size(), 1);
    EXPECT_TRUE(writer.writeValue(bare[0]));
    EXPECT_FALSE(writer.writeValue(QuotedValue::number(std::nan(""))));
    EXPECT_FALSE(QuotedValueWriter::writeAll({QuotedValue::text(QStringLiteral("a\"b"))}).has_value());
}

TEST(QuotedValues, WrittenValuesReadBackFromAFile)
{
    QuotedValueWriter writer;
    writer.writeText(QStringLiteral("a, b"));
    writer.writeText(QString());
    writer.writeNumber(-12.75);
    writer.writeNumber(1e20);
    writer.writeNumber(28.025f);
    writer.writeNumber(qint64(-9007199254740993));
    writer.endLine();
    writer.writeEmpty();
    writer.endLine();
    writer.writeBool(false);
    writer.endLine();
    ASSERT_FALSE(writer.failed());

    QuotedValueReader reader(fileRoundTrip(writer.data()));
    EXPECT_EQ(reader.next().toText(), QStringLiteral("a, b"));
    const QuotedValue empty = reader.next();
    EXPECT_EQ(empty.kind(), Kind::Text);
    EXPECT_TRUE(empty.raw().isEmpty());
    EXPECT_EQ(reader.next().toDouble(), -12.75);
    EXPECT_EQ(reader.next().toDouble(), 1e20);
    EXPECT_EQ(reader.next().toSingle(), 28.025f);
    EXPECT_EQ(reader.next().raw(), QStringLiteral("-9007199254740993"));
    EXPECT_TRUE(reader.next().isEmpty());
    EXPECT_FALSE(reader.next().toBool());
    EXPECT_TRUE(reader.atEnd());
    EXPECT_FALSE(reader.failed());
}

TEST(QuotedValues, EveryByteButTheQuoteSurvives)
{
    QString all;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '"')
            all.append(QChar(byte));
    }
    QuotedValueWriter writer;
    ASSERT_TRUE(writer.writeText(all));
    writer.endLine();
    const QByteArray bytes = fileRoundTrip(writer.data());
    EXPECT_EQ(bytes.size(), 255 + 4);
    const auto values = QuotedValueReader::readAll(bytes);
    ASSERT_EQ(values.size(), 1);
    EXPECT_EQ(values[0].raw(), all);
    EXPECT_EQ(values[0].raw().toLatin1(), all.toLatin1());
}

TEST(QuotedValues, ReadFileRewritesByteForByte)
{
    const QByteArray file("\"K1ABC\",\"599\",\"CT\",\"599\",\"USA\",\"2013/12/14\",\"14:05:33\",\"CW\",\"28.025\"\r\n"
                          "\"WAVE\",0.5,#TRUE#,,1E3,&H378,NONE\r\n"
                          "\r\n"
                          "\"caf\xe9\",-7\r\n"
                          "1,\r\n");
    const auto values = QuotedValueReader::readAll(fileRoundTrip(file));
    const auto rewritten = QuotedValueWriter::writeAll(values);
    ASSERT_TRUE(rewritten.has_value());
    EXPECT_EQ(*rewritten, file);
}

TEST(QuotedValues, LooseFileRewritesCanonicallyWithSameValues)
{
    const QByteArray loose("  \"a\" junk , 5 \n\n\"b\"\r#true#\r\n\r\n");
    const auto values = QuotedValueReader::readAll(loose);
    const auto rewritten = QuotedValueWriter::writeAll(values);
    ASSERT_TRUE(rewritten.has_value());
    EXPECT_EQ(*rewritten, QByteArray("\"a\",5\r\n\r\n\"b\"\r\n#true#\r\n"));
    EXPECT_EQ(QuotedValueReader::readAll(*rewritten), values);
}
