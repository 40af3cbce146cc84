// printf-style formatting of translatable templates without trusting them: each conversion
// takes the next argument whatever letter it names, so a faulty language pack can neither read
// arguments that were not passed nor misread one as a pointer.
#pragma once

#include <string>
#include <string_view>
#include <variant>
#include <vector>

using FormatArg = std::variant<long long, double, std::wstring, wchar_t>;

// Understands flags "0" and "-", a width, a precision, and the letters d i u s S f C c; "%%"
// is a percent sign. Missing arguments format as nothing.
std::wstring SafeFormat(std::wstring_view format, const std::vector<FormatArg>& args);
