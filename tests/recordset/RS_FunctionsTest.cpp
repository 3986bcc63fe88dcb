#include "recordset/RS_Functions.h"
#include "support/RecordsetBuilder.h"

#include <gtest/gtest.h>

using namespace talv;
using talv::test::column;
using talv::test::makeRecordset;

namespace {

RecordsetPtr queryResult()
{
    return makeRecordset({{"id", FieldType::BigInt, 8},
                          {"Eo_Number", FieldType::Integer, 4},
                          {"UNCERTAINTY_DISTANCE", FieldType::Double, 8},
                          {"element_subnational_id", FieldType::Integer, 4},
                          {"Member_Count", FieldType::Integer, 4},
                          {"Surveyed", FieldType::Date, 8},
                          {"Group_Name", FieldType::VarChar, 120}},
                         {{9, 1, 2.5, 4, 12, "2024-05-01", "Bog Plants"},
                          {12, 2, 0.5, 5, 9, QVariant(), "Alpine Meadows"},
                          {100, 3, 1.0, 6, 100, "2023-01-31", QVariant()}});
}

} // namespace

TEST(RS_Functions, CloneStructureKeepsFourTypesAndMakesTheRestText)
{
    auto source = queryResult();
    RecordsetPtr result = makeRecordset({{"Old", FieldType::Integer}}, {{1}});
    const RecordsetPtr previous = result;
    RS_Functions::CloneStructure(*source, result);

    ASSERT_NE(result, previous) << "the out argument is a new set";
    EXPECT_EQ(result->State(), Recordset::StateOpen);
    EXPECT_EQ(result->RecordCount(), 0);
    const FieldType expected[] = {FieldType::BigInt,  FieldType::Integer, FieldType::Double, FieldType::Integer,
                                  FieldType::VarChar, FieldType::VarChar, FieldType::VarChar};
    ASSERT_EQ(result->FieldCount(), 7);
    for (int f = 0; f < 7; ++f) {
        EXPECT_EQ(result->FieldName(f), source->FieldName(f));
        EXPECT_EQ(result->FieldTypeAt(f), expected[f]) << source->FieldName(f).toStdString();
        EXPECT_EQ(result->Fields(f).DefinedSize(), source->Fields(f).DefinedSize());
    }
}

TEST(RS_Functions, CopyRecordsetCopiesEveryVisibleRowAsTextExceptTheKeptFields)
{
    auto source = queryResult();
    RecordsetPtr result;
    RS_Functions::CopyRecordset(*source, result);

    EXPECT_TRUE(source->IsEOF());
    EXPECT_EQ(result->AbsolutePosition(), 3) << "the last copied row is current";
    EXPECT_EQ(column(*result, "Member_Count"), (QVariantList{QString("12"), QString("9"), QString("100")}));
    EXPECT_EQ(column(*result, "Surveyed"), (QVariantList{QString("2024-05-01"), QVariant(), QString("2023-01-31")}));

    // Text compares as text ("12" before "9"), while ID keeps its numeric order.
    result->SetFilter("Member_Count < '9'");
    EXPECT_EQ(column(*result, "ID"), (QVariantList{9LL, 100LL}));
    result->SetFilter("ID < 12");
    EXPECT_EQ(column(*result, "ID"), (QVariantList{9LL}));

    // The copy is the screen's own: changing it leaves the host's result alone.
    result->SetFilter("");
    result->MoveFirst();
    result->SetValue("Group_Name", "Changed");
    source->MoveFirst();
    EXPECT_EQ(source->Value("Group_Name").toString(), "Bog Plants");

    // A filtered result copies its visible rows; an empty one its layout alone.
    source->SetFilter("Member_Count > 10");
    RS_Functions::CopyRecordset(*source, result);
    EXPECT_EQ(column(*result, "ID"), (QVariantList{9LL, 100LL}));
    RS_Functions::CopyRecordset(*makeRecordset({{"ID", FieldType::Integer}, {"Group_Name", FieldType::VarChar}}),
                                result);
    EXPECT_EQ(result->RecordCount(), 0);
    EXPECT_EQ(result->FieldName(1), "Group_Name");
}
