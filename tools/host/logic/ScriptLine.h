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

// The button id of a message-box answer word ("yes", "no", "cancel", "ok", "retry", "ignore",
// "abort", lower case); 0 for any other word.
int BoxButtonOfWord(const std::wstring& word);

// One click of "select-rows": a row, clicked with Ctrl and/or Shift held.
struct RowClick {
    int row;
    bool ctrl;
    bool shift;
};
// "2" is a plain click; "0,3" clicks 0 then Ctrl-clicks 3; "1-4" clicks 1 then Shift-clicks 4,
// and after a first part a range is Ctrl-clicked then Ctrl+Shift-clicked ("0,3-5"), as a user
// extends a selection. False when a part is not a row number or a range.
bool ParseRowClicks(const std::wstring& text, std::vector<RowClick>& out);

// Where "right-click" points: a control ("tree", "list", "header") and, after a colon, the
// tree item's path, the row or the column; an empty detail means empty space (the first
// column for the header). False for another control or a row or column that is no number.
struct ClickTarget {
    std::wstring control;
    std::wstring detail;
    int index = -1;
};
bool ParseClickTarget(const std::wstring& text, ClickTarget& out);

// Splits at blanks, keeping "double-quoted parts" together (paths with spaces).
std::vector<std::wstring> SplitWords(const std::wstring& text);

// The lines of a text, each without its line end (LF or CR LF); no line after a final line end.
std::vector<std::wstring> SplitLines(const std::wstring& text);

// Puts text on one output line: line breaks as \n, tabs as \t, a backslash stays as it is.
std::wstring EscapeForLine(const std::wstring& text);
