// Condition building, joining and button rules of the smart playlist dialog.
#include "ui/dialogs/QueryBuilder.h"

#include "base/Text.h"
#include "StringIds.h"

namespace {

// printf-like patterns would let a "%" in the value be read as a conversion, so each
// operator is the text before the field, between field and value, and after the value.
struct OperatorPattern {
    const wchar_t* between;
    const wchar_t* after;
};

const OperatorPattern kPatterns[kQueryOperatorCount] = {
    {L" = '", L"'"},       {L" <> '", L"'"},       {L" > ", L""},     {L" < ", L""},
    {L" LIKE '", L"%'"},   {L" LIKE '%", L"'"},    {L" LIKE '%", L"%'"},
};

}  // namespace

const std::vector<QueryField>& QueryFields() {
    // Not translated: the names are what the user writes into a condition by hand too.
    static const std::vector<QueryField> fields = {
        {L"Album", L"Album"},       {L"Artist", L"Artist"},     {L"Bitrate", L"Bitrate"},
        {L"Comment", L"Comment"},   {L"Filename", L"Filename"}, {L"Filepath", L"Filepath"},
        {L"Filesize", L"SIZE"},     {L"Genre", L"Genre"},       {L"Length", L"Length"},
        {L"Playcount", L"Playcount"}, {L"Title", L"Title"},     {L"Track", L"Track"},
        {L"Year", L"Year"},
    };
    return fields;
}

std::wstring QueryColumnFor(const std::wstring& fieldName) {
    for (const QueryField& field : QueryFields())
        if (EqualsNoCase(fieldName, field.name)) return field.column;
    return fieldName;
}

std::wstring BuildQueryCondition(const std::wstring& fieldName, int op, const std::wstring& value) {
    if (op < 0 || op >= kQueryOperatorCount || fieldName.empty()) return {};
    const OperatorPattern& pattern = kPatterns[op];
    std::wstring text = QueryColumnFor(fieldName);
    text += pattern.between;
    text += value.substr(0, kQueryValueLimit);
    text += pattern.after;
    return text;
}

std::wstring FirstQueryCondition(const std::wstring& condition) { return L"(" + condition + L")"; }

std::wstring AndQueryCondition(const std::wstring& query, const std::wstring& condition) {
    return query + L" AND (" + condition + L")";
}

std::wstring OrQueryCondition(const std::wstring& query, const std::wstring& condition) {
    return L"(" + query + L") OR (" + condition + L")";
}

bool QueryFirstEnabled(const QueryBuilderState& state) {
    return state.hasValue && state.hasField && state.hasOperator && (state.firstVisible || !state.hasQuery);
}

bool QueryJoinEnabled(const QueryBuilderState& state) {
    return state.hasQuery && state.hasValue && state.hasField && state.hasOperator;
}

unsigned QueryAcceptProblem(const std::wstring& name, const std::wstring& query) {
    if (name.empty()) return kStrMsgQueryNeedsName;
    if (query.empty()) return kStrMsgQueryEmpty;
    return 0;
}
