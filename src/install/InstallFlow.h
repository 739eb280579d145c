// What every phase of the install shares: the status text and the abort poll
// that follows it, the pause between steps, and the fatal stop.
#pragma once

#include "install/InstallRun.h"
#include "windows/RunWindows.h"

#include <span>
#include <string>

// Whether the install goes on. Stop means that the run has ended already:
// the abort handler or AbandonInstall has set everything for the end, and
// the procedure only returns, without any further message.
enum class Flow { GoOn, Stop };

// One phase of RunInstall, working on the install's working state.
using InstallPhase = Flow (*)(RunWindows&, InstallRun&);

// Runs the phases in their order until one of them stops the run.
Flow RunPhases(std::span<const InstallPhase> phases, RunWindows& windows, InstallRun& run);

// The captions of the fatal stop: the user declined to go on, or the install
// cannot go on (a disk that was not inserted).
inline constexpr const char* SetupStoppedCaption = "セットアップ中止";
inline constexpr const char* FatalErrorCaption = "致命的エラー";

// The abort poll: Stop once the user has confirmed the abort.
Flow PollAbort(RunWindows& windows);

// Shows `text` in the progress window (the message queue runs once after it,
// which is when the abort button can be pressed), then polls the abort.
Flow ShowStatusAndPoll(RunWindows& windows, const std::string& text);

// The pause of SetupSpeed milliseconds after a step or an item, so that its
// text stays readable; no messages are handled meanwhile.
void PauseForSetupSpeed();

// The fatal stop: "セットアップを続行できませんでした．" under `caption`, then the
// run is ended (background enabled, modal result 1). Returns Stop.
Flow AbandonInstall(RunWindows& windows, const std::string& caption);
