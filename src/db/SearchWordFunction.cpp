// The first search word tested against a candidate file's texts.
#include "db/SearchWordFunction.h"

#include <sqlite3.h>

#include <string>

#include "db/LikePattern.h"

namespace {

char LowerAscii(unsigned c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); }

// The word of a "%word%" pattern with its escapes taken out, in lower case; empty when the
// pattern is of another shape or the word is not plain ASCII without NUL (then every text goes
// through LIKE's own comparison).
std::string AsciiWordOf(const unsigned char* pattern, int bytes) {
    if (!pattern || bytes < 2 || pattern[0] != '%' || pattern[bytes - 1] != '%') return {};
    std::string word;
    for (int i = 1; i < bytes - 1; ++i) {
        unsigned c = pattern[i];
        if (c == static_cast<unsigned>(kLikeEscape)) {
            if (++i >= bytes - 1) return {};
            c = pattern[i];
        } else if (c == '%' || c == '_') {
            return {};
        }
        if (c == 0 || c >= 0x80) return {};
        word += LowerAscii(c);
    }
    return word;
}

struct CompiledPattern {
    std::string word;  // empty: compare with LIKE's own routine
};

// One text against the pattern; false for NULL, as LIKE's NULL is in a WHERE clause.
bool TextMatches(sqlite3_value* value, const CompiledPattern& compiled, const char* pattern) {
    if (sqlite3_value_type(value) == SQLITE_NULL) return false;
    if (!compiled.word.empty()) {
        auto text = static_cast<const wchar_t*>(sqlite3_value_text16(value));
        if (!text) return false;
        return HoldsAsciiLikeWord(
            std::wstring_view(text, static_cast<size_t>(sqlite3_value_bytes16(value)) / sizeof(wchar_t)), compiled.word);
    }
    auto text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text && sqlite3_strlike(pattern, text, static_cast<unsigned>(kLikeEscape)) == 0;
}

void SearchWordInFunction(sqlite3_context* context, int count, sqlite3_value** args) {
    if (sqlite3_value_type(args[0]) == SQLITE_NULL) return sqlite3_result_null(context);
    auto pattern = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    int bytes = sqlite3_value_bytes(args[0]);
    if (!pattern) return sqlite3_result_null(context);
    // The same refusal LIKE gives a pattern past the connection's limit.
    if (bytes > sqlite3_limit(sqlite3_context_db_handle(context), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1))
        return sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
    auto* compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
    if (!compiled) {
        compiled = new CompiledPattern{AsciiWordOf(reinterpret_cast<const unsigned char*>(pattern), bytes)};
        sqlite3_set_auxdata(context, 0, compiled, [](void* data) { delete static_cast<CompiledPattern*>(data); });
        compiled = static_cast<CompiledPattern*>(sqlite3_get_auxdata(context, 0));
        if (!compiled) return sqlite3_result_error_nomem(context);
        // The text may have moved while the pattern was kept.
        pattern = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
    }
    for (int i = 1; i < count; ++i) {
        if (TextMatches(args[i], *compiled, pattern)) return sqlite3_result_int(context, 1);
    }
    sqlite3_result_int(context, 0);
}

}  // namespace

bool HoldsAsciiLikeWord(std::wstring_view text, std::string_view word) {
    for (size_t at = 0; at < text.size(); ++at) {
        unsigned unit = text[at];
        // SQLite reads a surrogate unit together with whatever unit follows it as one character
        // outside ASCII, and a NUL it reaches ends the text.
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            ++at;
            continue;
        }
        if (unit == 0) return false;
        if (word.empty()) return true;
        if (unit >= 0x80 || LowerAscii(unit) != word[0]) continue;
        size_t i = 1;
        while (i < word.size() && at + i < text.size()) {
            unsigned next = text[at + i];
            if (next >= 0x80 || LowerAscii(next) != word[i]) break;
            ++i;
        }
        if (i == word.size()) return true;
    }
    return word.empty();
}

std::optional<std::string> AsciiLikeWord(std::wstring_view word) {
    std::string ascii;
    for (wchar_t unit : word) {
        if (unit == 0 || unit >= 0x80) return std::nullopt;
        ascii += LowerAscii(unit);
    }
    if (ascii.empty()) return std::nullopt;
    return ascii;
}

void RegisterSearchWordFunction(sqlite3* connection) {
    if (!connection) return;
    sqlite3_create_function16(connection, L"SearchWordIn", -1, SQLITE_UTF16LE | SQLITE_DETERMINISTIC, nullptr,
                              SearchWordInFunction, nullptr, nullptr);
}
