// Lines the host writes on its standard output, from any of its threads, in UTF-8.
#pragma once

#include <string>

void OutputLine(const std::wstring& line);
// A line about something the plugin did that would crash or harm the player; the run fails.
void ReportPluginFault(const std::wstring& line);
// How many such lines were written.
int PluginFaults();
