// The process-wide abort-scan flag: raised when the view closes so that a running scan stops
// at its next folder. Once raised it stays raised.
#pragma once

void RaiseAbortScan();
bool AbortScanRaised();
