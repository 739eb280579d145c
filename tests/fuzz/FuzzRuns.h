// How each kind of input runs: in-process, on the recording stand-in for
// the person (a command line on the unattended run itself), with every
// folder of the machine in the sandbox. Each run notes what it asks for
// outside the sandbox by design, so that the batch's snapshot can tell those
// changes from escapes.
#pragma once

#include "FuzzInputs.h"
#include "FuzzSandbox.h"
#include "engine/RunState.h"

#include <set>
#include <string>
#include <vector>

// What the batch's inputs asked for outside the sandbox by design. Keys are
// paths as the snapshot names them (SnapshotKey); a path reached through a
// link of the sandbox is named as the folder the link leads to.
struct Designed {
    std::set<std::string> namedFiles;    // files records named one by one: removed
    std::set<std::string> bareIniFiles;  // profile files named without a folder: the real Windows folder's
    std::set<std::string> journalNamed;  // paths a journal line named: the undo does with them what it says
    std::set<std::string> logs;          // logs a command line asked for: made or written
    std::vector<std::string> madeBelow;  // folders a command line installed into: what is made below them
    bool victimFolderNamed = false;      // a script named the victims' folder: files made there
};

// A path the program names in Shift-JIS as the snapshot names it: the full
// path without a device prefix, in UTF-8, compared in capitals.
std::string SnapshotKey(const std::string& path);

// `state` as a start-up on the sandbox leaves it: every folder of the
// machine in the sandbox.
void PointRunAtSandbox(RunState& state, const Sandbox& sandbox);
// The distribution's files: plain, compressed, and a component.
void PlaceDistribution(const Sandbox& sandbox, const SeedCorpus& corpus);

void RunScript(RunState& state, Sandbox& sandbox, const FuzzInput& input, FuzzRandom& random, Designed& designed);
void RunRecord(RunState& state, Sandbox& sandbox, const FuzzInput& input, FuzzRandom& random, Designed& designed);
// The broken promises of the expansion, one line each.
std::vector<std::string> RunCompressed(const Sandbox& sandbox, const FuzzInput& input, FuzzRandom& random);
void RunJournal(RunState& state, Sandbox& sandbox, const FuzzInput& input, FuzzRandom& random, Designed& designed);
void RunCommandLine(RunState& state, Sandbox& sandbox, const SeedCorpus& corpus, const FuzzInput& input, FuzzRandom& random,
                    Designed& designed);
