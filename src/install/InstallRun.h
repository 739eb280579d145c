// The working state of one install: what the phases gather for the uninstall
// record and the failure report, the counts and sizes behind the progress
// display, and the option boxes as they stood when the install started. It
// lives for one RunInstall call; the association restore slots are run state.
#pragma once

#include "engine/RunState.h"
#include "record/UninstallLists.h"
#include "script/RelateSection.h"
#include "services/FailureReport.h"
#include "services/Journal.h"
#include "ui/SetupCallback.h"

#include <cstdint>
#include <optional>
#include <unordered_set>
#include <vector>

struct InstallRun {
    explicit InstallRun(RunState& state) : state_(&state) {}
    // The run this install belongs to.
    RunState& State() const { return *state_; }
    // The script it installs, parsed once at the start of the run.
    const SetupScript& Script() const { return state_->script; }
    // One line in the run's log.
    void Log(const std::string& text) const { state_->log.Line(text); }

    std::vector<RelateRow> relateTable;
    UninstallLists lists;
    FailureReport failures;
    int copyEntryCount = 0;
    int copiedCount = 0;
    // Sizes are 64-bit: a distribution may hold more than 2 GiB.
    int64_t totalBytes = 0;
    int64_t doneBytes = 0;
    bool byteProgress = true;  // every source size known: progress by bytes
    int diskNumber = 1;        // the disk asked for last
    // Where that disk's files are read from; empty: the distribution folder.
    std::string diskFolder;
    InstallChoices choices;  // as the settings stood when the install started
    // The install made the setup folder (or the earlier record of the same
    // program says its install did): the record notes it for delete-all.
    bool setupFolderMade = false;
    // The uninstall record went into the setup folder: only then can the
    // completion send the person to Add/Remove Programs.
    bool recordWritten = false;
    // Set where a phase ends the install early; a stop without it was the
    // person's abort.
    std::optional<RunEnd> stoppedAs;
    // What undoes the changes made so far; nothing when no journal could be
    // made (the install then runs as it always did). Settled once: discarded
    // or undone.
    std::optional<Journal> journal;
    bool journalSettled = false;
    // What the phases hand to the services that change the machine: the
    // journal, or one that records nothing when none is kept.
    ChangeJournal& Changes() { return journal ? static_cast<ChangeJournal&>(*journal) : noJournal_; }
    const ChangeJournal& Changes() const
    {
        return journal ? static_cast<const ChangeJournal&>(*journal) : noJournal_;
    }
    // The files the copy phase put in place, in full and upper-cased: in a
    // folder the run made, only these stand.
    std::unordered_set<std::string> copiedFiles;

private:
    RunState* state_;
    NoJournal noJournal_;
};
