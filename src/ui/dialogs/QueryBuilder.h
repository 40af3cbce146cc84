// The rules of the smart playlist dialog without its window: which fields and operators it
// offers, the condition text they build, how ">>", "AND" and "OR" join it to the query, and
// which buttons are usable. Kept apart so the rules can be checked without a dialog.
#pragma once

#include <string>
#include <vector>

// A field the builder offers: its name in the list (the built-in English header text, in
// the list box's alphabetical order) and the listing view's column it is written as.
struct QueryField {
    const wchar_t* name;
    const wchar_t* column;
};

// The seven operators in the order of their radio buttons' indices.
enum class QueryOperator { kEquals = 0, kIsNot, kLargerThan, kSmallerThan, kBeginsWith, kEndsWith, kContains };

constexpr int kNoQueryOperator = -1;
constexpr int kQueryOperatorCount = 7;
// The most the value, the name and the condition hold. The value's box takes no more; a name
// or condition beyond its limit (joined by AND or OR, or stored so) is refused, never cut.
constexpr size_t kQueryValueLimit = 254;
constexpr size_t kQueryNameLimit = 254;
constexpr size_t kQueryConditionLimit = 2047;

const std::vector<QueryField>& QueryFields();

// The field's column for a name from the list (any case), or the name itself when unknown.
std::wstring QueryColumnFor(const std::wstring& fieldName);

// The condition for a field, an operator index and the value as typed: written as SQL text
// (apostrophes doubled) and, for the three LIKE operators, with "%" and "_" matched as
// themselves; a number for "Larger than" and "Smaller than" stays a number. Empty while no
// operator is chosen.
std::wstring BuildQueryCondition(const std::wstring& fieldName, int op, const std::wstring& value);

// Joining a built condition to the query text.
std::wstring FirstQueryCondition(const std::wstring& condition);
std::wstring AndQueryCondition(const std::wstring& query, const std::wstring& condition);
std::wstring OrQueryCondition(const std::wstring& query, const std::wstring& condition);

// What the dialog's buttons may do, from what its controls hold.
struct QueryBuilderState {
    bool hasQuery = false;
    bool hasValue = false;
    bool hasField = false;
    bool hasOperator = false;
    bool firstVisible = true;  // ">>" shown (rather than "AND" and "OR")
};
bool QueryFirstEnabled(const QueryBuilderState& state);
bool QueryJoinEnabled(const QueryBuilderState& state);

// Why OK is refused: the string id of the message, or 0 when name and query are acceptable.
unsigned QueryAcceptProblem(const std::wstring& name, const std::wstring& query);
