// Lines the host writes on its standard output, from any of its threads, in UTF-8.
#pragma once

#include <string>

void OutputLine(const std::wstring& line);
