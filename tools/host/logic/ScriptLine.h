// Parsing of the automation script: one command a line, a name followed by its argument
// text, and the escaping of text written back on single output lines.
#pragma once

#include <string>
#include <vector>

struct ScriptLine {
    std::wstring name;      // lower-case command name; empty for blank and comment lines
    std::wstring argument;  // the rest of the line, trimmed
};

ScriptLine ParseScriptLine(const std::wstring& line);

// Splits a list of numbers such as "0,3,5"; false when any part is not a number.
bool ParseIndexList(const std::wstring& text, std::vector<int>& out);
bool ParseInt(const std::wstring& text, int& out);

// Splits at blanks, keeping "double-quoted parts" together (paths with spaces).
std::vector<std::wstring> SplitWords(const std::wstring& text);

// The lines of a text, each without its line end (LF or CR LF); no line after a final line end.
std::vector<std::wstring> SplitLines(const std::wstring& text);

// Puts text on one output line: line breaks as \n, tabs as \t, a backslash stays as it is.
std::wstring EscapeForLine(const std::wstring& text);
