// The process-wide abort-scan flag: raised when the view closes so that a running scan stops
// at its next folder. Once raised it stays raised for the rest of that life of the plugin.
#pragma once

void RaiseAbortScan();
// Only when the plugin starts again in the same process, with no worker running.
void LowerAbortScan();
bool AbortScanRaised();
