#include "platform/RecordsetAppender.h"
#include "support/ErrorNumber.h"
#include "support/RecordsetBuilder.h"

#include <gtest/gtest.h>

#include <QDate>

#include <functional>
#include <limits>
#include <memory>

using namespace talv;
using talv::test::column;
using talv::test::makeRecordset;

namespace {

RecordsetPtr groups()
{
    return makeRecordset({{"ID", FieldType::Integer}, {"Group_Name", FieldType::VarChar, 100}},
                         {{1, "Alpine Meadows"}, {2, "Bog Plants"}, {3, "Cave Fauna"}});
}

} // namespace

TEST(Recordset, CursorWalksRowsAndStopsAtTheEnds)
{
    auto rs = groups();
    EXPECT_FALSE(rs->IsBOF());
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    rs->MoveLast();
    EXPECT_EQ(rs->Value("group_name").toString(), "Cave Fauna"); // names without regard to case
    rs->MoveNext();
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_EQ(rs->AbsolutePosition(), Recordset::PositionEOF);
    EXPECT_EQ(errorNumber([&] { rs->MoveNext(); }), Error::NoCurrentRecord);
    EXPECT_EQ(errorNumber([&] { rs->Value("ID"); }), Error::NoCurrentRecord);
    EXPECT_EQ(errorNumber([&] { rs->SetValue("ID", 9); }), Error::NoCurrentRecord);
    EXPECT_EQ(errorNumber([&] { rs->Update(); }), Error::NoCurrentRecord);

    rs->Move(-2);
    EXPECT_EQ(rs->Value("ID").toInt(), 2);
    rs->Move(-5); // past the start lands on BOF
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_EQ(errorNumber([&] { rs->MovePrevious(); }), Error::NoCurrentRecord);
    EXPECT_EQ(errorNumber([&] { rs->Bookmark(); }), Error::NoCurrentRecord);

    rs->SetAbsolutePosition(3);
    EXPECT_EQ(rs->Value("ID").toInt(), 3);
    EXPECT_EQ(errorNumber([&] { rs->SetAbsolutePosition(4); }), Error::InvalidArgument);
}

TEST(Recordset, EmptyAndClosedSets)
{
    auto rs = makeRecordset({{"ID", FieldType::Integer}});
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_TRUE(rs->IsEOF());
    EXPECT_EQ(rs->RecordCount(), 0);
    rs->MoveFirst(); // allowed on an empty set
    EXPECT_TRUE(rs->IsEOF());

    rs->Close();
    EXPECT_EQ(rs->State(), Recordset::StateClosed);
    EXPECT_EQ(errorNumber([&] { rs->RecordCount(); }), Error::ObjectClosed);
    EXPECT_EQ(errorNumber([&] { rs->MoveFirst(); }), Error::ObjectClosed);
    EXPECT_EQ(errorNumber([&] { rs->AddNew(); }), Error::ObjectClosed);
    EXPECT_EQ(errorNumber([&] { rs->Find("ID = 1"); }), Error::ObjectClosed);
    EXPECT_EQ(errorNumber([&] { rs->Save(); }), Error::ObjectClosed);
    rs->Open(); // the layout survives closing
    EXPECT_EQ(rs->FieldName(0), "ID");

    Recordset noFields;
    EXPECT_EQ(errorNumber([&] { noFields.Open(); }), Error::IllegalOperation);
    EXPECT_EQ(errorNumber([&] { rs->AppendField("Other", FieldType::VarChar); }), Error::IllegalOperation);
    Recordset dup;
    dup.AppendField("ID", FieldType::Integer);
    EXPECT_EQ(errorNumber([&] { dup.AppendField("id", FieldType::VarChar); }), Error::InvalidArgument);
}

TEST(Recordset, ValuesConvertToTheFieldTypeOrChangeNothing)
{
    auto rs = makeRecordset({{"I", FieldType::Integer},
                             {"B", FieldType::BigInt},
                             {"D", FieldType::Double},
                             {"F", FieldType::Boolean},
                             {"T", FieldType::Date},
                             {"S", FieldType::VarChar}});
    rs->AddNew();
    rs->SetValue("I", QString(" 42 "));
    rs->SetValue("B", 5'000'000'000.0);
    rs->SetValue("D", "2.5");
    rs->SetValue("F", "no");
    rs->SetValue("T", "2024-03-01");
    rs->SetValue("S", 12);
    EXPECT_EQ(rs->Value("I").typeId(), QMetaType::Int);
    EXPECT_EQ(rs->Value("I").toInt(), 42);
    EXPECT_EQ(rs->Value("B").toLongLong(), 5'000'000'000LL);
    EXPECT_DOUBLE_EQ(rs->Value("D").toDouble(), 2.5);
    EXPECT_EQ(rs->Value("F"), QVariant(false));
    EXPECT_EQ(rs->Value("T").toDate(), QDate(2024, 3, 1));
    EXPECT_EQ(rs->Value("S"), QVariant(QString("12")));

    EXPECT_EQ(errorNumber([&] { rs->SetValue("I", "twelve"); }), Error::TypeMismatch);
    EXPECT_EQ(errorNumber([&] { rs->SetValue("I", 3'000'000'000LL); }), Error::TypeMismatch);
    EXPECT_EQ(errorNumber([&] { rs->SetValue("T", "next Tuesday"); }), Error::TypeMismatch);
    EXPECT_EQ(rs->Value("I").toInt(), 42); // a refused value leaves the old one
    EXPECT_EQ(errorNumber([&] { rs->SetValue("Missing", 1); }), Error::FieldNotFound);

    rs->SetValue("S", QVariant());
    EXPECT_TRUE(rs->Value("S").isNull());
}

TEST(Recordset, DeletedRowStaysCurrentUntilTheCursorMoves)
{
    auto rs = groups();
    rs->MoveNext();
    const QVariant third = [&] {
        rs->MoveNext();
        QVariant b = rs->Bookmark();
        rs->MovePrevious();
        return b;
    }();
    rs->Delete();
    EXPECT_EQ(errorNumber([&] { rs->Value("ID"); }), Error::NoCurrentRecord);
    EXPECT_EQ(errorNumber([&] { rs->Delete(); }), Error::NoCurrentRecord);
    EXPECT_FALSE(rs->IsEOF());
    EXPECT_EQ(rs->RecordCount(), 2);
    rs->MoveNext();
    EXPECT_EQ(rs->Value("ID").toInt(), 3);
    rs->SetBookmark(third); // bookmarks survive deletion of other rows
    EXPECT_EQ(rs->Value("ID").toInt(), 3);

    // Deleting every row in a loop visits each once.
    rs->MoveFirst();
    while (!rs->IsEOF()) {
        rs->Delete();
        rs->MoveNext();
    }
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_TRUE(rs->IsBOF());
    EXPECT_EQ(errorNumber([&] { rs->SetBookmark(third); }), Error::InvalidArgument);
}

TEST(Recordset, AppendRowsFromCopiesByNameAndConverts)
{
    auto source =
        makeRecordset({{"Count", FieldType::Integer}, {"ID", FieldType::Integer}}, {{12, 1}, {9, 2}, {QVariant(), 3}});
    Recordset target;
    target.AppendField("ID", FieldType::Integer);
    target.AppendField("COUNT", FieldType::VarChar);
    target.Open();
    target.AppendRowsFrom(*source);
    EXPECT_EQ(target.AbsolutePosition(), 3); // the last appended row is current
    EXPECT_EQ(column(target, "Count"), (QVariantList{QString("12"), QString("9"), QVariant()}));

    // Writing to a set whose columns were shared leaves the source alone.
    Recordset copy;
    copy.AppendField("ID", FieldType::Integer);
    copy.Open();
    copy.AppendRowsFrom(*source);
    copy.MoveFirst();
    copy.SetValue("ID", 100);
    source->MoveFirst();
    EXPECT_EQ(source->Value("ID").toInt(), 1);

    // A set with rows gets them appended; a filtered source gives only its visible rows.
    copy.AppendRowsFrom(*source);
    EXPECT_EQ(column(copy, "ID"), (QVariantList{100, 2, 3, 1, 2, 3}));
    source->SetFilter("Count > 10 OR Count = NULL");
    copy.AppendRowsFrom(*source);
    EXPECT_EQ(column(copy, "ID"), (QVariantList{100, 2, 3, 1, 2, 3, 1, 3}));

    Recordset lacking;
    lacking.AppendField("Missing", FieldType::Integer);
    lacking.Open();
    EXPECT_EQ(errorNumber([&] { lacking.AppendRowsFrom(*source); }), Error::FieldNotFound);
    EXPECT_EQ(lacking.RecordCount(), 0);
}

TEST(Recordset, ValueAtReadsVisibleRowsWithoutMovingTheCursor)
{
    auto rs = groups();
    rs->SetFilter("ID <> 2");
    rs->MoveLast();
    EXPECT_EQ(rs->ValueAt(1, 1).toString(), "Cave Fauna");
    EXPECT_EQ(rs->Value("ID").toInt(), 3);
    EXPECT_EQ(errorNumber([&] { rs->ValueAt(2, 0); }), Error::InvalidArgument);
    EXPECT_EQ(errorNumber([&] { rs->ValueAt(0, 5); }), Error::FieldNotFound);
}

TEST(Recordset, OptimizePropertyByName)
{
    auto rs = groups();
    EXPECT_FALSE(rs->Fields("ID").Property("Optimize").toBool());
    rs->Fields("ID").SetProperty("optimize", true);
    EXPECT_TRUE(rs->Fields("id").Optimize());
    EXPECT_EQ(errorNumber([&] { rs->Fields("ID").SetProperty("Sorted", true); }), Error::FieldNotFound);
    rs->Close();
    rs->Open();
    EXPECT_FALSE(rs->Fields("ID").Optimize()); // closing drops the index
}

TEST(Recordset, MovesRightAfterADeleteCountFromTheDeletedRow)
{
    constexpr int kBOF = -1, kEOF = -2;
    auto fiveRows = [] { return makeRecordset({{"ID", FieldType::Integer}}, {{1}, {2}, {3}, {4}, {5}}); };
    auto deleteAt = [](Recordset &rs, qsizetype position) {
        rs.SetAbsolutePosition(position);
        rs.Delete();
    };
    const struct {
        qsizetype deleted;
        std::function<void(Recordset &)> move;
        int landsOn; // an ID, or kBOF / kEOF
    } cases[] = {
        {3, [](Recordset &rs) { rs.MovePrevious(); }, 2},    {3, [](Recordset &rs) { rs.MoveNext(); }, 4},
        {3, [](Recordset &rs) { rs.Move(1); }, 4},           {3, [](Recordset &rs) { rs.Move(2); }, 5},
        {3, [](Recordset &rs) { rs.Move(-1); }, 2},          {3, [](Recordset &rs) { rs.Move(-2); }, 1},
        {1, [](Recordset &rs) { rs.MovePrevious(); }, kBOF}, {1, [](Recordset &rs) { rs.Move(-1); }, kBOF},
        {5, [](Recordset &rs) { rs.MoveNext(); }, kEOF},     {5, [](Recordset &rs) { rs.Move(1); }, kEOF},
        {5, [](Recordset &rs) { rs.MovePrevious(); }, 4},    {5, [](Recordset &rs) { rs.Move(3); }, kEOF},
    };
    for (const auto &c : cases) {
        auto rs = fiveRows();
        deleteAt(*rs, c.deleted);
        c.move(*rs);
        SCOPED_TRACE(testing::Message() << "deleted row " << c.deleted << ", expected " << c.landsOn);
        if (c.landsOn == kBOF)
            EXPECT_TRUE(rs->IsBOF());
        else if (c.landsOn == kEOF)
            EXPECT_TRUE(rs->IsEOF());
        else
            EXPECT_EQ(rs->Value("ID").toInt(), c.landsOn);
        EXPECT_EQ(rs->RecordCount(), 4);
    }

    // A filtered set walks its visible rows the same way.
    auto filtered = fiveRows();
    filtered->SetFilter("ID <> 2");
    deleteAt(*filtered, 2); // ID 3
    filtered->MovePrevious();
    EXPECT_EQ(filtered->Value("ID").toInt(), 1);
    filtered->MoveNext();
    EXPECT_EQ(filtered->Value("ID").toInt(), 4);
}

TEST(Recordset, AddNewThatFailsHalfWayLeavesEveryColumnAsItWas)
{
    auto rs = makeRecordset({{"ID", FieldType::Integer}, {"Name", FieldType::VarChar}, {"Count", FieldType::Integer}},
                            {{1, "one", 10}, {QVariant(), "two", 20}});
    rs->Fields("ID").SetOptimize(true);
    // The third value does not convert, after the first two went into their columns.
    EXPECT_EQ(errorNumber([&] { rs->AddNew({3, "three", "many"}); }), Error::TypeMismatch);
    EXPECT_EQ(errorNumber([&] { rs->AddNew({"x", "four", 40}); }), Error::TypeMismatch);
    EXPECT_EQ(errorNumber([&] { rs->AddNew({4, "four"}); }), Error::InvalidArgument);
    EXPECT_EQ(rs->RecordCount(), 2);

    rs->AddNew({5, "five", 50});
    EXPECT_EQ(column(*rs, "ID"), (QVariantList{1, QVariant(), 5})); // the null stays null
    EXPECT_EQ(column(*rs, "Name"), (QVariantList{"one", "two", "five"}));
    EXPECT_EQ(column(*rs, "Count"), (QVariantList{10, 20, 50}));
    rs->MoveFirst();
    rs->Find("ID = 3"); // the refused row left nothing in the index
    EXPECT_TRUE(rs->IsEOF());
    Recordset reopened;
    reopened.OpenFromStream(rs->Save());
    EXPECT_EQ(column(reopened, "Count"), (QVariantList{10, 20, 50}));
}

TEST(Recordset, AddNewUnderAFilterOrAfterADeleteShowsTheNewRowLast)
{
    for (const bool withValues : {false, true}) {
        SCOPED_TRACE(withValues ? "AddNew(values)" : "AddNew()");
        auto rs = groups();
        rs->SetFilter("ID > 1");
        rs->MoveFirst();
        rs->Delete(); // ID 2: a deleted row and a filter at once
        auto add = [&](int id, const char *name) {
            if (withValues) {
                rs->AddNew({id, name});
            } else {
                rs->AddNew();
                rs->SetValue("ID", id);
                rs->SetValue("Group_Name", name);
            }
        };
        add(0, "Dune Flora"); // fails the filter, yet shows until the filter is set again
        EXPECT_EQ(rs->RecordCount(), 2);
        EXPECT_EQ(rs->AbsolutePosition(), 2);
        EXPECT_EQ(rs->ValueAt(1, 1).toString(), "Dune Flora");
        add(7, "Fen Mosses");
        EXPECT_EQ(rs->Value("Group_Name").toString(), "Fen Mosses");
        EXPECT_EQ(column(*rs, "ID"), (QVariantList{3, 0, 7}));

        rs->SetFilter(rs->Filter());
        EXPECT_EQ(column(*rs, "ID"), (QVariantList{3, 7}));
        rs->SetFilter(QString());
        EXPECT_EQ(column(*rs, "ID"), (QVariantList{1, 3, 0, 7}));
        rs->MoveFirst();
        rs->Find("Group_Name = 'Fen Mosses'");
        EXPECT_EQ(rs->AbsolutePosition(), 4);
    }
}

TEST(RecordsetAppender, TypedValuesGoInAsTheyAreAndOthersConvertOrTakeTheRowBack)
{
    auto rs = makeRecordset({{"ID", FieldType::Integer},
                             {"Big", FieldType::BigInt},
                             {"Ratio", FieldType::Double},
                             {"Name", FieldType::VarChar}},
                            {{1, 10, 0.5, "one"}});
    rs->Fields("ID").SetOptimize(true);
    rs->SetFilter("Big > 10");
    {
        RecordsetAppender out(*rs);
        out.AppendWhole(2);
        out.AppendWhole(5'000'000'000LL);
        out.AppendReal(1.25);
        out.AppendUtf8("Étang", qsizetype(qstrlen("Étang")));
        out.EndRow();
        // Across types: a text that reads as a number, a whole number as a text, a real with no fraction.
        out.AppendUtf8("3", 1);
        out.AppendReal(4.0);
        out.AppendWhole(7);
        out.AppendWhole(42);
        out.EndRow();
        out.AppendNull();
        out.AppendNull();
        out.AppendNull();
        out.AppendNull();
        out.EndRow();
        out.AppendWhole(std::numeric_limits<qint32>::max()); // the ends of a 32-bit field still fit
        out.AppendWhole(std::numeric_limits<qint32>::min());
        out.AppendNull();
        out.AppendNull();
        out.EndRow();

        out.AppendWhole(5); // refused after values went in: the row goes
        EXPECT_EQ(errorNumber([&] { out.AppendUtf8("many", 4); }), Error::TypeMismatch);
        EXPECT_EQ(errorNumber([&] { out.AppendWhole(3'000'000'000LL); }), Error::TypeMismatch);
        out.AppendWhole(6);
        EXPECT_EQ(errorNumber([&] { out.EndRow(); }), Error::InvalidArgument);
        for (int f = 0; f < 4; ++f)
            out.AppendNull();
        EXPECT_EQ(errorNumber([&] { out.AppendNull(); }), Error::InvalidArgument);
        out.AppendWhole(8); // left half-way: taken back when the appender goes
    }
    // Appended rows show under the filter until it is set again, and are found through the index.
    EXPECT_EQ(column(*rs, "ID"), (QVariantList{2, 3, QVariant(), std::numeric_limits<qint32>::max()}));
    EXPECT_EQ(column(*rs, "Big"),
              (QVariantList{5'000'000'000LL, 4LL, QVariant(), qint64(std::numeric_limits<qint32>::min())}));
    EXPECT_EQ(column(*rs, "Ratio"), (QVariantList{1.25, 7.0, QVariant(), QVariant()}));
    EXPECT_EQ(column(*rs, "Name"), (QVariantList{"Étang", "42", QVariant(), QVariant()}));
    rs->SetFilter(QString());
    EXPECT_EQ(rs->RecordCount(), 5);
    rs->MoveFirst();
    rs->Find("ID = 3");
    EXPECT_EQ(rs->AbsolutePosition(), 3);
    rs->MoveFirst();
    rs->Find("ID = 5");
    EXPECT_TRUE(rs->IsEOF());

    Recordset closed;
    closed.AppendField("ID", FieldType::Integer);
    EXPECT_EQ(errorNumber([&] { RecordsetAppender refused(closed); }), Error::ObjectClosed);
}

TEST(RecordsetAppender, ManyTextsKeepTheirOrderThroughEveryTextLayout)
{
    // A few texts are coded (one the start of another), many are stored one by one, and one beyond
    // Latin-1 widens the rest.
    auto rs = makeRecordset({{"Kind", FieldType::VarChar}, {"Name", FieldType::VarChar}});
    QVariantList kinds, names;
    RecordsetAppender out(*rs);
    for (int i = 0; i < 600; ++i) {
        const QByteArray kind = i % 9 == 1 ? QByteArray("kind") : QByteArray("kind ") + char('a' + i % 9);
        const QByteArray name = i == 450 ? QByteArray("名前 450") : "name " + QByteArray::number(i);
        out.AppendUtf8(kind.constData(), kind.size());
        out.AppendUtf8(name.constData(), name.size());
        out.EndRow();
        kinds.append(QString::fromUtf8(kind));
        names.append(QString::fromUtf8(name));
    }
    EXPECT_EQ(column(*rs, "Kind"), kinds);
    EXPECT_EQ(column(*rs, "Name"), names);
    Recordset reopened;
    reopened.OpenFromStream(rs->Save());
    EXPECT_EQ(column(reopened, "Name"), names);
}

TEST(RecordsetAppender, TextsComeBackWhateverTheirLengthAndWhereverTheirFirstAccentFalls)
{
    // Texts are checked for plain ASCII a block of bytes at a time, the last block overlapping the
    // one before: an accent at any place of a text of any length around the block sizes must come
    // back as the accent. The kinds, few enough to be coded, differ only in their last byte or
    // only in their length, which looking them up must tell apart.
    auto rs = makeRecordset({{"Kind", FieldType::VarChar}, {"Name", FieldType::VarChar}});
    const QList<QByteArray> kinds = {"ab", "ac", "a", "", "Taxonomic GroupA", "Taxonomic GroupB", "Taxonomic Group"};
    QVariantList expectedKinds, expectedNames;
    RecordsetAppender out(*rs);
    int row = 0;
    for (int length = 0; length <= 40; ++length) {
        for (int accentAt = -1; accentAt < length; ++accentAt, ++row) {
            if (row % 9 == 8) {
                out.AppendNull();
                expectedKinds.append(QVariant());
            } else {
                const QByteArray &kind = kinds[row % kinds.size()];
                out.AppendUtf8(kind.constData(), kind.size());
                expectedKinds.append(QString::fromUtf8(kind));
            }
            QString name(length, u'n');
            if (accentAt >= 0)
                name[accentAt] = QChar(0xe9);
            const QByteArray utf8 = name.toUtf8();
            out.AppendUtf8(utf8.constData(), utf8.size());
            out.EndRow();
            expectedNames.append(name);
        }
    }
    EXPECT_EQ(column(*rs, "Kind"), expectedKinds);
    EXPECT_EQ(column(*rs, "Name"), expectedNames);
}

TEST(RecordsetAppender, RowsTakenBackOrOverwrittenAmongManyTextsLeaveTheOthersWhole)
{
    // Past the few coded texts, each row's text lies right after the one before: a row taken back
    // takes its text with it, and an overwrite moves no neighbour, before or after a save.
    auto rs = makeRecordset({{"Name", FieldType::VarChar}, {"ID", FieldType::Integer}});
    QVariantList names;
    RecordsetAppender out(*rs);
    auto append = [&](int i) {
        if (i % 40 == 0) {
            out.AppendNull();
            names.append(QVariant());
        } else {
            const QByteArray name = "name " + QByteArray::number(i);
            out.AppendUtf8(name.constData(), name.size());
            names.append(QString::fromUtf8(name));
        }
        if (i % 100 == 99 || i == 200) { // the row stops short and is taken back
            EXPECT_EQ(errorNumber([&] { out.EndRow(); }), Error::InvalidArgument);
            names.removeLast();
            return;
        }
        out.AppendWhole(i);
        out.EndRow();
    };
    for (int i = 0; i < 400; ++i)
        append(i);
    EXPECT_EQ(column(*rs, "Name"), names);

    rs->SetAbsolutePosition(10);
    rs->SetValue("Name", "changed");
    names[9] = QStringLiteral("changed");
    for (int i = 400; i < 410; ++i)
        append(i);
    EXPECT_EQ(column(*rs, "Name"), names);
    Recordset reopened;
    reopened.OpenFromStream(rs->Save());
    EXPECT_EQ(column(reopened, "Name"), names);
}

TEST(RecordsetAppender, LargeColumnsMoveToBiggerBuffersWithEveryValueAndLeaveEarlierCopiesAlone)
{
    // Some 30 MB of names, 2.4 MB of ids and 4.8 MB of reals: past the size where buffers grow by
    // themselves.
    auto rs = makeRecordset({{"ID", FieldType::BigInt}, {"Name", FieldType::VarChar}, {"Weight", FieldType::Double}});
    const auto nameOf = [](int i) { return "a rather long element group name, number " + QByteArray::number(i); };
    std::unique_ptr<Recordset> copy;
    {
        RecordsetAppender out(*rs);
        for (int i = 0; i < 600000; ++i) {
            if (i == 400000)
                copy = std::make_unique<Recordset>(*rs); // shares the buffers until one side writes
            const QByteArray name = nameOf(i);
            out.AppendWhole(i == 560000 ? qint64(1) << 40 : i);
            out.AppendUtf8(name.constData(), name.size());
            out.AppendReal(i / 4.0);
            out.EndRow();
        }
    }
    ASSERT_EQ(rs->RecordCount(), 600000);
    ASSERT_EQ(copy->RecordCount(), 400000);
    for (const int i : {0, 1, 399999, 400000, 493827, 559999, 560000, 599999}) {
        rs->SetAbsolutePosition(i + 1);
        EXPECT_EQ(rs->Value("ID").toLongLong(), i == 560000 ? qint64(1) << 40 : i) << i;
        EXPECT_EQ(rs->Value("Name").toString(), QString::fromLatin1(nameOf(i))) << i;
        EXPECT_EQ(rs->Value("Weight").toDouble(), i / 4.0) << i;
    }
    copy->MoveLast();
    EXPECT_EQ(copy->Value("Name").toString(), QString::fromLatin1(nameOf(399999)));
    copy->SetAbsolutePosition(5001);
    EXPECT_EQ(copy->Value("ID").toLongLong(), 5000);
}
