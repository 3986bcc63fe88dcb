#include "platform/RecordsetStream.h"
#include "support/RecordsetBuilder.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QRandomGenerator>
#include <QTimeZone>
#include <QtEndian>

#include <limits>

using namespace talv;
using talv::test::column;
using talv::test::makeRecordset;

namespace {

RecordsetPtr everyType()
{
    return makeRecordset(
        {{"ID", FieldType::Integer, 4},
         {"Big", FieldType::BigInt},
         {"Ratio", FieldType::Double},
         {"Flag", FieldType::Boolean},
         {"Day", FieldType::Date},
         {"Name", FieldType::VarChar, 255}},
        {{std::numeric_limits<int>::min(), std::numeric_limits<qlonglong>::max(), -0.0, true, QDate(1752, 9, 14),
          QString::fromUtf8("Étang 🐸 \u05E9 'x' \"y\"")},
         {2, QVariant(), 1e-300, false, QDateTime(QDate(2026, 12, 6), QTime(23, 59, 59, 999), Qt::UTC), QString()},
         {QVariant(), -1, std::numeric_limits<double>::infinity(), QVariant(),
          QDateTime(QDate(2001, 1, 2), QTime(3, 4, 5)), QVariant()},
         {4, 0, 0.5, true, QDateTime(QDate(2001, 1, 2), QTime(3, 4, 5), Qt::OffsetFromUTC, -5 * 3600), ""}});
}

// Text columns in each of their layouts: a few categories (coded), many Latin-1 names (packed),
// and notes that go beyond Latin-1 midway and are partly overwritten (spans); with nulls and
// empty texts in each.
RecordsetPtr textForms()
{
    auto rs = makeRecordset({{"Kind", FieldType::VarChar}, {"Name", FieldType::VarChar}, {"Note", FieldType::VarChar}});
    for (int i = 0; i < 300; ++i) {
        rs->AddNew({i % 7 == 0 ? QVariant() : QVariant(QStringLiteral("Kind %1").arg(i % 3)),
                    i % 11 == 0 ? QString() : QStringLiteral("Étang %1").arg(i),
                    i % 13 == 0 ? QVariant() : QVariant(QString::fromUtf8(i < 150 ? "note %1" : "нота %1").arg(i))});
    }
    for (int pos : {3, 77, 260}) {
        rs->SetAbsolutePosition(pos);
        rs->SetValue("Note", QStringLiteral("changed ✓ %1").arg(pos));
    }
    return rs;
}

// Re-seals a mutated stream so that the parser behind the checksum is exercised too.
QByteArray withChecksum(QByteArray stream)
{
    internal::resealStream(stream);
    return stream;
}

// Reopening must either raise our error or give a set that can be walked and saved again.
void expectErrorOrValidSet(const QByteArray &bytes)
{
    Recordset rs;
    try {
        rs.OpenFromStream(bytes);
    } catch (const Error &e) {
        ASSERT_EQ(e.number(), Error::CorruptStream) << e.description().toStdString();
        ASSERT_EQ(rs.State(), Recordset::StateClosed);
        return;
    }
    ASSERT_EQ(rs.State(), Recordset::StateOpen);
    for (rs.MoveFirst(); !rs.IsEOF(); rs.MoveNext())
        for (int f = 0; f < rs.FieldCount(); ++f)
            (void)rs.Fields(f).Value();
    const QByteArray again = rs.Save();
    Recordset reread;
    reread.OpenFromStream(again);
    ASSERT_EQ(reread.RecordCount(), rs.RecordCount());
}

// Every truncation, then random flips, insertions and deletions, half of them re-sealed so that
// they get past the checksum into the parser.
void mutateAndReopen(const QByteArray &good)
{
    for (qsizetype n = 0; n < good.size(); ++n) {
        expectErrorOrValidSet(good.left(n));
        expectErrorOrValidSet(withChecksum(good.left(n)));
    }
    QRandomGenerator random(7);
    for (int i = 0; i < 50'000; ++i) {
        QByteArray bytes = good;
        const int edits = 1 + static_cast<int>(random.bounded(3));
        for (int e = 0; e < edits; ++e) {
            const auto at = static_cast<qsizetype>(random.bounded(static_cast<int>(bytes.size())));
            switch (random.bounded(3)) {
            case 0:
                bytes[at] = static_cast<char>(bytes[at] ^ (1 << random.bounded(8)));
                break;
            case 1:
                bytes.insert(at, static_cast<char>(random.bounded(256)));
                break;
            default:
                bytes.remove(at, 1);
                break;
            }
        }
        expectErrorOrValidSet(i % 2 ? withChecksum(bytes) : bytes);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

} // namespace

TEST(RecordsetStream, ValuesKeepTheirTypesAndLayoutSurvives)
{
    auto original = everyType();
    Recordset copy;
    copy.OpenFromStream(original->Save());
    ASSERT_EQ(copy.FieldCount(), 6);
    ASSERT_EQ(copy.RecordCount(), 4);
    EXPECT_EQ(copy.Fields("Name").DefinedSize(), 255);
    EXPECT_EQ(copy.FieldTypeAt(4), FieldType::Date);
    EXPECT_EQ(copy.AbsolutePosition(), 1); // reopened on the first row
    for (int f = 0; f < copy.FieldCount(); ++f) {
        original->MoveFirst();
        for (copy.MoveFirst(); !copy.IsEOF(); copy.MoveNext(), original->MoveNext()) {
            const QVariant a = original->Fields(f).Value(), b = copy.Fields(f).Value();
            EXPECT_EQ(a.typeId(), b.typeId()) << copy.FieldName(f).toStdString();
            EXPECT_EQ(a.isNull(), b.isNull());
            EXPECT_EQ(a, b) << copy.FieldName(f).toStdString();
        }
    }
    copy.MoveFirst();
    EXPECT_TRUE(std::signbit(copy.Value("Ratio").toDouble()));
    copy.MoveNext();
    EXPECT_EQ(copy.Value("Day").toDateTime().timeSpec(), Qt::UTC);
    EXPECT_TRUE(copy.Value("Name").toString().isEmpty());
    copy.MoveLast();
    EXPECT_EQ(copy.Value("Day").toDateTime().offsetFromUtc(), -5 * 3600);
    EXPECT_FALSE(copy.Value("Name").isNull()) << "an empty text is not a null";
}

TEST(RecordsetStream, BigIntColumnsRoundTripBeforeAndAfterAValueBeyond32Bits)
{
    // Small whole numbers are kept in four bytes until one needs eight; the stream has eight either way.
    auto rs = makeRecordset({{"ID", FieldType::BigInt}}, {{7}, {QVariant()}, {-3}});
    auto reread = [](Recordset &from) {
        Recordset copy;
        copy.OpenFromStream(from.Save());
        return column(copy, "ID");
    };
    EXPECT_EQ(reread(*rs), (QVariantList{7LL, QVariant(), -3LL}));
    rs->SetAbsolutePosition(2);
    rs->SetValue("ID", 6'000'000'000LL);
    rs->AddNew({-1});
    const QVariantList wide{7LL, 6'000'000'000LL, -3LL, -1LL};
    EXPECT_EQ(column(*rs, "ID"), wide);
    EXPECT_EQ(reread(*rs), wide);
    rs->Fields("ID").SetOptimize(true);
    rs->MoveFirst();
    rs->Find("ID = 6000000000");
    EXPECT_EQ(rs->AbsolutePosition(), 2);
}

TEST(RecordsetStream, TextColumnsRoundTripInEveryLayout)
{
    auto original = textForms();
    Recordset copy;
    copy.OpenFromStream(original->Save());
    for (const char *field : {"Kind", "Name", "Note"}) {
        const QVariantList values = column(copy, field);
        EXPECT_EQ(values, column(*original, field)) << field;
        EXPECT_TRUE(values[0].isNull() || values[0].toString().isEmpty()) << field;
    }
    EXPECT_FALSE(copy.ValueAt(0, 1).isNull()) << "an empty text stays empty, not null";

    // Texts overwritten many times are not carried into the stream.
    for (int round = 0; round < 3; ++round)
        for (qsizetype pos = 1; pos <= copy.RecordCount(); ++pos) {
            copy.SetAbsolutePosition(pos);
            copy.SetValue("Name", QStringLiteral("Étang %1").arg(pos - 1 + round * 1000));
        }
    Recordset fresh;
    fresh.AppendField("Kind", FieldType::VarChar);
    fresh.AppendField("Name", FieldType::VarChar);
    fresh.AppendField("Note", FieldType::VarChar);
    fresh.Open();
    for (qsizetype row = 0; row < copy.RecordCount(); ++row)
        fresh.AddNew({copy.ValueAt(row, 0), copy.ValueAt(row, 1), copy.ValueAt(row, 2)});
    EXPECT_EQ(copy.Save().size(), fresh.Save().size());

    // Nor is the text of a last row set to null, left behind at the end of the characters.
    auto trimmed = textForms();
    trimmed->MoveLast();
    trimmed->SetValue("Name", QVariant());
    Recordset reread;
    reread.OpenFromStream(trimmed->Save());
    EXPECT_EQ(column(reread, "Name"), column(*trimmed, "Name"));
}

TEST(RecordsetStream, OnlyVisibleRowsArePersisted)
{
    auto rs = makeRecordset({{"ID", FieldType::Integer}}, {{1}, {2}, {3}, {4}});
    rs->SetAbsolutePosition(2);
    rs->Delete();
    rs->SetFilter("ID <> 3");
    const QByteArray stream = rs->Save();
    rs->Close();
    rs->OpenFromStream(stream);
    EXPECT_EQ(rs->Filter(), QString());
    EXPECT_EQ(column(*rs, "ID"), (QVariantList{1, 4}));

    auto empty = makeRecordset({{"ID", FieldType::Integer}});
    Recordset reopened;
    reopened.OpenFromStream(empty->Save());
    EXPECT_TRUE(reopened.IsBOF() && reopened.IsEOF());
    EXPECT_THROW(reopened.OpenFromStream(empty->Save()), Error) << "an open set cannot be reopened";
}

TEST(RecordsetStream, CorruptStreamsAreRefusedAndLeaveTheSetAsItWas)
{
    const QByteArray good = everyType()->Save();
    auto bytesOf = [](const char *text) { return QByteArray(text); };
    for (const QByteArray &bad : {QByteArray(), bytesOf("TALVRSET"), QByteArray(good).replace(0, 4, "XXXX"),
                                  good + '\0', good.left(good.size() - 1)}) {
        Recordset rs;
        rs.AppendField("Kept", FieldType::Integer);
        EXPECT_THROW(rs.OpenFromStream(bad), Error);
        EXPECT_EQ(rs.FieldName(0), "Kept");
        EXPECT_EQ(rs.State(), Recordset::StateClosed);
    }

    // Counts that claim more than the bytes can hold are refused before any allocation.
    QByteArray huge = good;
    qToLittleEndian<quint64>(std::numeric_limits<quint64>::max(), huge.data() + 16);
    EXPECT_THROW(Recordset().OpenFromStream(withChecksum(huge)), Error);
    QByteArray manyFields = good;
    qToLittleEndian<quint32>(0xFFFFFFF0u, manyFields.data() + 12);
    EXPECT_THROW(Recordset().OpenFromStream(withChecksum(manyFields)), Error);
    QByteArray noFields = good;
    qToLittleEndian<quint32>(0, noFields.data() + 12);
    EXPECT_THROW(Recordset().OpenFromStream(withChecksum(noFields)), Error);
}

TEST(RecordsetStream, MutatedStreamsNeverCrash)
{
    for (const QByteArray &good : {everyType()->Save(), textForms()->Save()})
        mutateAndReopen(good);
}
TEST(RecordsetStream, ChecksumIsStandardXxHash64)
{
    EXPECT_EQ(internal::xxhash64(QByteArrayView("")), 0xEF46DB3751D8E999ull);
    EXPECT_EQ(internal::xxhash64(QByteArrayView("abc")), 0x44BC2CF5AD770999ull);
    // Longer than one 32-byte stripe, with a tail of every length class.
    EXPECT_EQ(internal::xxhash64(QByteArrayView("The quick brown fox jumps over the lazy dog")), 0x0B242D361FDA71BCull);
}
