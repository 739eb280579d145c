// The end of an uninstall: the failure report offered and shown on request,
// the completion message, and the end of the run.
#pragma once

#include "services/FailureReport.h"
#include "windows/RunWindows.h"

// With failures: asks whether to show them and, on Yes, shows them on the
// main window until the user goes on.
void OfferFailureReport(const FailureReport& failures, RunWindows& windows);

// The completion message, then the end of the run.
void CompleteUninstall(RunWindows& windows);
