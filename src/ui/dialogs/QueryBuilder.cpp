// Condition building, joining and button rules of the smart playlist dialog.
#include "ui/dialogs/QueryBuilder.h"

#include "base/Text.h"
#include "db/LikePattern.h"
#include "StringIds.h"

namespace {

// printf-like patterns would let a "%" in the value be read as a conversion, so each
// operator is the text before the field, between field and value, and after the value.
struct OperatorPattern {
    const wchar_t* between;
    const wchar_t* after;
    bool like;
};

const OperatorPattern kPatterns[kQueryOperatorCount] = {
    {L" = '", L"'", false},          {L" <> '", L"'", false},       {L" > ", L"", false}, {L" < ", L"", false},
    {L" LIKE '", L"%'", true},       {L" LIKE '%", L"'", true},     {L" LIKE '%", L"%'", true},
};

// A plain decimal number, which "Larger than" and "Smaller than" compare as a number.
bool IsNumber(const std::wstring& value) {
    size_t i = value.size() > 1 && (value[0] == L'-' || value[0] == L'+') ? 1 : 0;
    bool digits = false, point = false;
    for (; i < value.size(); ++i) {
        if (value[i] >= L'0' && value[i] <= L'9') digits = true;
        else if (value[i] == L'.' && !point) point = true;
        else return false;
    }
    return digits;
}

// The value as SQL text: an apostrophe doubled, so "O'Brien" is a name and not the end of one.
std::wstring QuotedText(std::wstring_view value) {
    std::wstring quoted;
    for (wchar_t c : value) {
        quoted += c;
        if (c == L'\'') quoted += L'\'';
    }
    return quoted;
}

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
    std::wstring typed = value.substr(0, kQueryValueLimit);
    std::wstring text = QueryColumnFor(fieldName);
    auto kind = static_cast<QueryOperator>(op);
    bool numeric = kind == QueryOperator::kLargerThan || kind == QueryOperator::kSmallerThan;
    if (numeric && !IsNumber(typed)) {
        // Anything else is compared as text, quoted like the other operators' values.
        text += pattern.between + std::wstring(L"'") + QuotedText(typed) + L"'";
        return text;
    }
    // "%" and "_" in a value are what the user looks for, not wildcards; a value without them
    // is written as it always was.
    bool escaped = pattern.like && HasLikeWildcard(typed);
    text += pattern.between;
    text += numeric ? typed : QuotedText(escaped ? EscapeLike(typed) : typed);
    text += pattern.after;
    if (escaped) text += L" ESCAPE '!'";
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
    // Cut, a condition would mean something else, or nothing the database can read.
    if (name.size() > kQueryNameLimit || query.size() > kQueryConditionLimit) return kStrMsgQueryTooLong;
    return 0;
}
