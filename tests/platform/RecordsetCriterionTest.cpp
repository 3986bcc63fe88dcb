#include "support/RecordsetBuilder.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

#include <limits>

using namespace talv;
using talv::test::column;
using talv::test::makeRecordset;

namespace {

RecordsetPtr sample()
{
    return makeRecordset({{"ID", FieldType::Integer}, {"Name", FieldType::VarChar}, {"Area", FieldType::Double}},
                         {{1, "Étang de Berre", 155.0},
                          {2, "O'Hara Lake", 2.5},
                          {3, "Ölandic Alvar", 255.0},
                          {4, "étang de thau", 75.0},
                          {5, QVariant(), 10.0},
                          {2, "Duplicate Two", 1.0}});
}

std::pair<int, QString> failure(Recordset &rs, const QString &criterion, bool filter)
{
    try {
        if (filter)
            rs.SetFilter(criterion);
        else
            rs.Find(criterion);
    } catch (const Error &e) {
        return {e.number(), e.description()};
    }
    return {0, {}};
}

QVariantList idsWhere(Recordset &rs, const QString &filter)
{
    rs.SetFilter(filter);
    QVariantList ids = column(rs, "ID");
    rs.SetFilter(QString());
    return ids;
}

} // namespace

TEST(RecordsetCriterion, BlanksAndLiteralFormsAreEquivalent)
{
    auto rs = sample();
    for (const bool optimized : {false, true}) { // an indexed id takes a shorter path
        rs->Fields("ID").SetOptimize(optimized);
        for (const char *text : {"ID=3", "  id   =3 ", "ID = '3'", "[ID] = 3", "ID = 3.0", "ID = +3", "ID = 0.3e1"}) {
            rs->MoveFirst();
            rs->Find(QString::fromUtf8(text));
            ASSERT_FALSE(rs->IsEOF()) << text;
            EXPECT_EQ(rs->Value("ID").toInt(), 3) << text;
        }
    }
    rs->MoveFirst();
    rs->Find("Name = 'O''Hara Lake'");
    EXPECT_EQ(rs->Value("ID").toInt(), 2);
    rs->MoveFirst();
    rs->Find("Name = ÖLANDIC"); // a bare word is compared with the whole value
    EXPECT_TRUE(rs->IsEOF());
    rs->MoveFirst();
    rs->Find("Name LIKE 'ölandic*'");
    EXPECT_EQ(rs->Value("ID").toInt(), 3);
}

TEST(RecordsetCriterion, BadCriteriaNameTheProblem)
{
    auto rs = sample();
    const struct {
        const char *text;
        int number;
        const char *mentions;
        bool filter;
    } cases[] = {
        {"", Error::InvalidArgument, "empty", false},
        {"ID", Error::InvalidArgument, "operator", false},
        {"ID ==", Error::InvalidArgument, "", false},
        {"ID = ", Error::InvalidArgument, "value", false},
        {"Name = 'open", Error::InvalidArgument, "quote", false},
        {"Colour = 'red'", Error::FieldNotFound, "Colour", false},
        {"ID = abc", Error::TypeMismatch, "abc", false},
        {"ID > NULL", Error::InvalidArgument, "NULL", false},
        {"ID = 1 AND ID = 2", Error::InvalidArgument, "single", false},
        {"(ID = 1", Error::InvalidArgument, ")", true},
        {"ID = 1 AND", Error::InvalidArgument, "field name", true},
        {"ID = 1 extra", Error::InvalidArgument, "extra", true},
        {"[ID = 1", Error::InvalidArgument, "]", true},
    };
    for (const auto &c : cases) {
        rs->MoveFirst();
        const auto [number, description] = failure(*rs, QString::fromUtf8(c.text), c.filter);
        EXPECT_EQ(number, c.number) << c.text;
        EXPECT_TRUE(description.contains(QString::fromUtf8(c.mentions))) << c.text << ": " << description.toStdString();
        EXPECT_EQ(rs->AbsolutePosition(), 1) << "a refused criterion must not move the cursor: " << c.text;
    }
}

TEST(RecordsetCriterion, FilterJoinsTermsWithPrecedenceAndParentheses)
{
    auto rs = sample();
    EXPECT_EQ(idsWhere(*rs, "ID = 1 OR ID = 3 AND Area > 1000"), (QVariantList{1}));
    EXPECT_EQ(idsWhere(*rs, "(ID = 1 OR ID = 3) AND Area > 100"), (QVariantList{1, 3}));
    EXPECT_EQ(idsWhere(*rs, "Name LIKE '%étang%'"), (QVariantList{1, 4}));
    EXPECT_EQ(idsWhere(*rs, "Name = NULL"), (QVariantList{5}));
    EXPECT_EQ(idsWhere(*rs, "Name <> NULL and Area <= 2.5"), (QVariantList{2, 2}));
    // Text orders by code point after case folding: "Ölandic" sorts after "p".
    EXPECT_EQ(idsWhere(*rs, "Name >= 'o' AND Name < 'p'"), (QVariantList{2}));
    EXPECT_EQ(idsWhere(*rs, "ID = -12345678"), (QVariantList{}));
    EXPECT_EQ(rs->RecordCount(), 6); // the empty filter shows every row again
}

TEST(RecordsetCriterion, LikeWildcardsMatchEmptyRunsToo)
{
    auto rs = makeRecordset({{"ID", FieldType::Integer}, {"Name", FieldType::VarChar}},
                            {{1, "Bog"}, {2, "Bog Plants"}, {3, "Raised bog"}, {4, "Boggy Fen"}, {5, QVariant()}});
    EXPECT_EQ(idsWhere(*rs, "Name LIKE 'bog*'"), (QVariantList{1, 2, 4})); // the exact prefix too
    EXPECT_EQ(idsWhere(*rs, "Name LIKE 'bog%'"), (QVariantList{1, 2, 4}));
    EXPECT_EQ(idsWhere(*rs, "Name LIKE '*bog'"), (QVariantList{1, 3}));
    EXPECT_EQ(idsWhere(*rs, "Name LIKE '*bog*'"), (QVariantList{1, 2, 3, 4}));
    EXPECT_EQ(idsWhere(*rs, "Name LIKE 'b*g*f*n'"), (QVariantList{4}));
    EXPECT_EQ(idsWhere(*rs, "Name LIKE 'BOG'"), (QVariantList{1})); // no wildcard: the whole text
    EXPECT_EQ(idsWhere(*rs, "Name LIKE 'bo'"), (QVariantList{}));
    EXPECT_EQ(idsWhere(*rs, "Name LIKE '*'"), (QVariantList{1, 2, 3, 4})); // null matches nothing

    rs->MoveFirst();
    rs->Find("Name LIKE 'bog*'");
    EXPECT_EQ(rs->Value("ID").toInt(), 1);
}

TEST(RecordsetCriterion, FindSearchesForwardFromTheCurrentRow)
{
    for (const bool optimized : {false, true}) {
        SCOPED_TRACE(optimized ? "with index" : "scan");
        auto rs = sample();
        rs->Fields("ID").SetOptimize(optimized);
        rs->Fields("Name").SetOptimize(optimized);

        rs->Find("ID = 2");
        EXPECT_EQ(rs->AbsolutePosition(), 2);
        rs->Find("ID = 2"); // the current row itself is searched
        EXPECT_EQ(rs->AbsolutePosition(), 2);
        rs->MoveNext();
        rs->Find("ID = 2");
        EXPECT_EQ(rs->AbsolutePosition(), 6);
        rs->MoveNext();
        rs->Find("ID = 1"); // from EOF nothing is found
        EXPECT_TRUE(rs->IsEOF());
        rs->SetAbsolutePosition(2);
        rs->Find("ID = 1"); // rows behind the cursor are not searched
        EXPECT_TRUE(rs->IsEOF());
        rs->MoveFirst();
        rs->Find("Name = 'ÉTANG DE THAU'");
        EXPECT_EQ(rs->Value("ID").toInt(), 4);
        rs->MoveFirst();
        rs->Find("ID = 5.5");
        EXPECT_TRUE(rs->IsEOF());

        // A filtered-out row is not found, even through the index.
        rs->SetFilter("Area > 3");
        rs->Find("ID = 2");
        EXPECT_TRUE(rs->IsEOF());
    }
}

// Keys start close together and later spread to the extremes of the type, and texts start as a
// few Latin-1 categories and later turn into many names beyond Latin-1, so the index and the
// columns change their layout midway through the edits.
void indexedAndScannedAgree(FieldType keyType, quint32 seed)
{
    QRandomGenerator random(seed);
    const qint64 extremes[] = {std::numeric_limits<int>::min(),
                               std::numeric_limits<int>::max(),
                               -1,
                               1'000'000'007,
                               keyType == FieldType::BigInt ? std::numeric_limits<qint64>::min() : 0,
                               keyType == FieldType::BigInt ? std::numeric_limits<qint64>::max() : 7};
    auto keyAt = [&](int step) -> qint64 {
        if (step > 1000 && random.bounded(4) == 0)
            return extremes[random.bounded(6)];
        return random.bounded(40);
    };
    auto textAt = [&](int step, qint64 key) {
        return step > 1000 ? QStringLiteral("Nāme %1").arg(step % 400) : QStringLiteral("Name %1").arg(key);
    };
    auto plain = makeRecordset({{"K", keyType}, {"T", FieldType::VarChar}});
    for (int i = 0; i < 300; ++i) {
        const qint64 key = keyAt(0);
        plain->AddNew();
        plain->SetValue("K", key);
        plain->SetValue("T", textAt(0, key));
    }
    Recordset indexed(*plain);
    indexed.Fields("K").SetOptimize(true);
    indexed.Fields("T").SetOptimize(true);

    for (int step = 0; step < 2000; ++step) {
        const int action = static_cast<int>(random.bounded(4));
        const auto pos = static_cast<qsizetype>(random.bounded(static_cast<int>(plain->RecordCount()))) + 1;
        const qint64 key = keyAt(step);
        const QString text = textAt(step, key);
        for (Recordset *rs : {plain.get(), &indexed}) {
            if (action == 0) {
                rs->AddNew();
                rs->SetValue("K", key);
                rs->SetValue("T", text.toUpper());
            } else if (action == 1 && rs->RecordCount() > 1) {
                rs->SetAbsolutePosition(pos);
                rs->Delete();
            } else {
                rs->SetAbsolutePosition(pos);
                // Now and then a null, which leaves the index.
                rs->SetValue(action == 2 ? "K" : "T", action == 2     ? QVariant(key)
                                                      : step % 7 == 0 ? QVariant()
                                                                      : QVariant(text.toLower()));
            }
        }
        const QString criterion = (step % 2) ? QStringLiteral("K = %1").arg(key) : QStringLiteral("T = '%1'").arg(text);
        const auto start = static_cast<qsizetype>(random.bounded(static_cast<int>(plain->RecordCount()))) + 1;
        plain->SetAbsolutePosition(start);
        indexed.SetAbsolutePosition(start);
        plain->Find(criterion);
        indexed.Find(criterion);
        ASSERT_EQ(plain->AbsolutePosition(), indexed.AbsolutePosition())
            << "step " << step << ": " << criterion.toStdString();
    }
    // Both sets hold the same values after all the edits, and so does a persisted copy.
    Recordset reopened;
    reopened.OpenFromStream(indexed.Save());
    EXPECT_EQ(column(reopened, "K"), column(*plain, "K"));
    EXPECT_EQ(column(reopened, "T"), column(*plain, "T"));
}

TEST(RecordsetCriterion, IndexedAndScannedFindAgreeUnderRandomEdits)
{
    indexedAndScannedAgree(FieldType::Integer, 20261206);
    indexedAndScannedAgree(FieldType::BigInt, 7);
}
