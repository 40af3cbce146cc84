// The smart playlist builder's rules without its window: the conditions each operator
// writes, how conditions are joined, which buttons are usable and why OK is refused.
#include <gtest/gtest.h>

#include <string>

#include "base/Text.h"
#include "StringIds.h"
#include "ui/dialogs/QueryBuilder.h"

namespace {

TEST(QueryBuilderTest, EachOperatorFillsItsPatternWithTheValueAsSqlText) {
    const struct {
        const wchar_t* field;
        int op;
        const wchar_t* value;
        const wchar_t* condition;
    } cases[] = {
        {L"Artist", 0, L"Abba", L"Artist = 'Abba'"},
        {L"Artist", 1, L"Abba", L"Artist <> 'Abba'"},
        {L"Year", 2, L"1990", L"Year > 1990"},
        {L"Year", 3, L"1990", L"Year < 1990"},
        {L"Title", 4, L"Love", L"Title LIKE 'Love%'"},
        {L"Title", 5, L"Love", L"Title LIKE '%Love'"},
        {L"Artist", 6, L"Beatles", L"Artist LIKE '%Beatles%'"},
        // Filesize is the view's SIZE column; the rest keep their own name.
        {L"Filesize", 2, L"1048576", L"SIZE > 1048576"},
        // The value is SQL text: an apostrophe is doubled, "%" and "_" are matched as themselves
        // (and are no format conversion), a comparison with a word compares text.
        {L"Artist", 0, L"O'Brien", L"Artist = 'O''Brien'"},
        {L"Comment", 6, L"100%s", L"Comment LIKE '%100!%s%' ESCAPE '!'"},
        {L"Title", 4, L"a_b!", L"Title LIKE 'a!_b!!%' ESCAPE '!'"},
        {L"Title", 5, L"Wow!", L"Title LIKE '%Wow!'"},
        {L"Year", 2, L"-12.5", L"Year > -12.5"},
        {L"Year", 3, L"1990'; DROP", L"Year < '1990''; DROP'"},
        // No operator chosen, or no field: no condition yet.
        {L"Artist", -1, L"Abba", L""},
        {L"", 0, L"Abba", L""},
        {L"Artist", 7, L"Abba", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BuildQueryCondition(c.field, c.op, c.value), c.condition)
            << WideToUtf8(c.field) << " " << c.op << " " << WideToUtf8(c.value);
}

TEST(QueryBuilderTest, ValueIsCutTo254Characters) {
    std::wstring value(300, L'9');
    EXPECT_EQ(BuildQueryCondition(L"Year", 2, value), L"Year > " + std::wstring(254, L'9'));
}

TEST(QueryBuilderTest, FieldsAreTheBuiltInHeadersInListOrderWithoutLastChanged) {
    std::wstring names;
    for (const QueryField& field : QueryFields()) names += std::wstring(field.name) + L",";
    EXPECT_EQ(names, L"Album,Artist,Bitrate,Comment,Filename,Filepath,Filesize,Genre,Length,Playcount,Title,Track,Year,");
    EXPECT_EQ(QueryColumnFor(L"filesize"), L"SIZE");
}

TEST(QueryBuilderTest, FirstAndOrJoinConditionsAsTheUserReadsThem) {
    std::wstring query = FirstQueryCondition(L"Artist LIKE '%Beatles%'");
    EXPECT_EQ(query, L"(Artist LIKE '%Beatles%')");
    EXPECT_EQ(AndQueryCondition(query, L"Year > 1990"), L"(Artist LIKE '%Beatles%') AND (Year > 1990)");
    EXPECT_EQ(OrQueryCondition(query, L"Year > 1990"), L"((Artist LIKE '%Beatles%')) OR (Year > 1990)");
}

TEST(QueryBuilderTest, ButtonsNeedFieldOperatorAndValue) {
    QueryBuilderState all;
    all.hasValue = all.hasField = all.hasOperator = true;
    EXPECT_TRUE(QueryFirstEnabled(all));
    EXPECT_FALSE(QueryJoinEnabled(all));  // nothing to join to yet

    QueryBuilderState noOperator = all;
    noOperator.hasOperator = false;
    EXPECT_FALSE(QueryFirstEnabled(noOperator));

    QueryBuilderState joined = all;
    joined.hasQuery = true;
    joined.firstVisible = false;
    EXPECT_FALSE(QueryFirstEnabled(joined));
    EXPECT_TRUE(QueryJoinEnabled(joined));
    joined.hasValue = false;
    EXPECT_FALSE(QueryJoinEnabled(joined));

    // A query typed by hand while ">>" is shown: ">>" still replaces it.
    QueryBuilderState typed = all;
    typed.hasQuery = true;
    EXPECT_TRUE(QueryFirstEnabled(typed));
}

TEST(QueryBuilderTest, AcceptNeedsANameFirstThenAQueryNeitherTooLong) {
    EXPECT_EQ(QueryAcceptProblem(L"", L"(Year > 1990)"), static_cast<unsigned>(kStrMsgQueryNeedsName));
    EXPECT_EQ(QueryAcceptProblem(L"", L""), static_cast<unsigned>(kStrMsgQueryNeedsName));
    EXPECT_EQ(QueryAcceptProblem(L"Nineties", L""), static_cast<unsigned>(kStrMsgQueryEmpty));
    EXPECT_EQ(QueryAcceptProblem(L"Nineties", L"(Year > 1990)"), 0u);
    // Too long to store whole: refused with a message, never cut to something else.
    EXPECT_EQ(QueryAcceptProblem(L"Nineties", std::wstring(kQueryConditionLimit, L'1')), 0u);
    EXPECT_EQ(QueryAcceptProblem(L"Nineties", std::wstring(kQueryConditionLimit + 1, L'1')),
              static_cast<unsigned>(kStrMsgQueryTooLong));
    EXPECT_EQ(QueryAcceptProblem(std::wstring(kQueryNameLimit + 1, L'n'), L"1"), static_cast<unsigned>(kStrMsgQueryTooLong));
}

}  // namespace
