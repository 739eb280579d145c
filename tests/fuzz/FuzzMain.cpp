// The fuzz driver: setup scripts, uninstall records and compressed files,
// mutated from the sample and the tests' inputs, run in-process through the
// start-up's parsing, RunInstall (followed by RunUninstall on the record it
// wrote), RunUninstall and the expansion, on the recording stand-in for the
// person; journals an install left, mutated line by line, undone by the
// next run's start; and command lines, run through the unattended run. The
// setup folders hold links to the victims. How each kind runs is in
// FuzzRuns.h; where the runs may write, and how a write anywhere else is
// found, in FuzzSandbox.h; the time limit and the crash handling in
// FuzzGuard.h. Every input follows from the seed and its index alone.
//
//   fuzz_tests.exe [--fuzz-seed=N] [--fuzz-count=N] [--fuzz-start=N]
//                  [--fuzz-batch=N] [--fuzz-limit=MS] [--fuzz-findings=FOLDER]
//                  [--fuzz-corpus=FOLDER]... [--fuzz-verbose=1]
//
// (Unix paths are taken as Wine's Z: drive shows them.) Prints the figures
// at the end; the test fails when a touch outside the sandbox, a box or
// another broken promise was found; a crash or a time-out ends the process
// with 70 or 71 (see FuzzGuard.h).
#include "FuzzGuard.h"
#include "FuzzInputs.h"
#include "FuzzRuns.h"
#include "FuzzSandbox.h"
#include "app/RunStart.h"
#include "engine/ProtectedFolders.h"
#include "install/InstallPreparation.h"
#include "install/RunInstall.h"
#include "script/CopyFileSection.h"
#include "script/IniFileSection.h"
#include "script/PathParts.h"
#include "script/SetupScript.h"
#include "script/TextCase.h"
#include "services/Expansion.h"
#include "support/Fixtures.h"
#include "support/RecordingCallback.h"
#include "support/Scratch.h"
#include "support/Scripted.h"
#include "text/NumberedList.h"
#include "text/Unicode.h"
#include "uninstall/DecideFileDeletion.h"
#include "uninstall/RunUninstall.h"
#include "windows/UserDialogs.h"

#include <doctest/doctest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <stdlib.h>
#include <optional>
#include <set>

namespace {

struct Options {
    uint64_t seed = 1;
    uint64_t count = 300;
    uint64_t start = 0;
    uint64_t batch = 100;
    unsigned long limit = 5000;
    bool verbose = false;  // one line per input: kind, index, milliseconds
    std::string findings;
    std::vector<std::string> corpus;
};

// A Unix path as Wine's Z: drive shows it; a Windows path as it is.
std::string WindowsPath(std::string path)
{
    if (!path.empty() && path[0] == '/') {
        for (char& c : path)
            if (c == '/') c = '\\';
        path = "Z:" + path;
    }
    if (!path.empty() && path.back() != '\\') path += '\\';
    return path;
}

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int n = 1; n < argc; ++n) {
        // The test framework's own options pass by; ours are "--fuzz-name=value".
        const std::string argument = argv[n];
        if (argument.rfind("--fuzz-", 0) != 0) continue;
        const size_t equals = argument.find('=');
        if (equals == std::string::npos) return std::nullopt;
        const std::string name = argument.substr(7, equals - 7);
        const std::string value = argument.substr(equals + 1);
        char* end = nullptr;
        const unsigned long long number = std::strtoull(value.c_str(), &end, 10);
        const bool numeric = !value.empty() && *end == '\0';
        if (name == "seed" && numeric) options.seed = number;
        else if (name == "count" && numeric) options.count = number;
        else if (name == "start" && numeric) options.start = number;
        else if (name == "batch" && numeric && number > 0) options.batch = number;
        else if (name == "limit" && numeric && number > 0) options.limit = static_cast<unsigned long>(number);
        else if (name == "verbose" && numeric) options.verbose = number != 0;
        else if (name == "findings") options.findings = WindowsPath(value);
        else if (name == "corpus") options.corpus.push_back(WindowsPath(value));
        else return std::nullopt;
    }
    if (options.findings.empty()) options.findings = ProgramFolder() + "..\\fuzz-findings\\";
    return options;
}

// Every box the program would show: none may, since the person is the
// recording stand-in. Noted and answered with the cautious button.
class NoBoxes final : public UserDialogs {
public:
    NoBoxes() : previous_(InstallUserDialogs(this)) {}
    ~NoBoxes() override { InstallUserDialogs(previous_); }
    NoBoxes(const NoBoxes&) = delete;
    NoBoxes& operator=(const NoBoxes&) = delete;

    int ShowBox(HWND, const std::string& text, const std::string& caption, UINT) override
    {
        shown.push_back(caption + ": " + text);
        return IDCANCEL;
    }
    int OfferRestart(HWND) override
    {
        shown.push_back("restart offer");
        return IDNO;
    }
    void RunConfirmDialog(ModalWindow&) override { shown.push_back("confirmation dialog"); }

    std::vector<std::string> shown;

private:
    UserDialogs* previous_;
};

struct Figures {
    std::array<uint64_t, InputKinds> tried{};
    // The slowest input of each kind: its index and milliseconds.
    std::array<std::pair<uint64_t, unsigned long long>, InputKinds> slowest{};
    uint64_t crashes = 0, timeOuts = 0, touches = 0, boxes = 0;
    // Changes outside the sandbox that an input asked for by design
    // (FuzzRuns.h: Designed), and those of them that were victims: removed
    // or changed because a record or a journal named them one by one.
    uint64_t namedRemovals = 0;
    uint64_t victimsNamed = 0;
    // Escapes that were victims: changed or gone though nothing named them.
    uint64_t victimTouches = 0;
    std::vector<std::string> notes;
};

// The path a difference line is about: "added C:\x (file ...)" gives C:\x.
std::string PathOfDifference(const std::string& line)
{
    const size_t start = line.find(' ') + 1;
    const size_t end = line.rfind(" (");
    return line.substr(start, end == std::string::npos || end < start ? std::string::npos : end - start);
}

bool IsVictimKey(const std::string& key)
{
    for (const char* victim : VictimFiles)
        if (key == SnapshotKey(victim)) return true;
    return key == SnapshotKey(VictimEmptyFolder);
}

// Whether a difference is one the batch's inputs asked for (FuzzRuns.h). A
// victim may go only when a record or a journal named it one by one; it
// never changes by any other input.
bool IsDesigned(const std::string& line, const Designed& designed)
{
    const std::string key = AsciiUpper(PathOfDifference(line));
    const bool added = line.rfind("added ", 0) == 0;
    if (line.rfind("removed ", 0) == 0 && designed.namedFiles.count(key) != 0) return true;
    if (designed.journalNamed.count(key) != 0) return true;
    if (IsVictimKey(key)) return false;
    if (designed.bareIniFiles.count(key) != 0 || designed.logs.count(key) != 0) return true;
    for (const std::string& folder : designed.madeBelow)
        if (added && key.rfind(folder, 0) == 0) return true;
    return added && designed.victimFolderNamed && line.rfind(std::string("added ") + VictimFolder, 0) == 0;
}

std::wstring WideFromUtf8(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// What the inputs made outside the sandbox by design goes again (profile
// files in the real Windows folder, logs, setup folders), the deepest
// first, so that nothing fills up over a long run.
void RemoveDesignedAdditions(const std::vector<std::string>& differences, const Designed& designed)
{
    std::vector<std::string> added;
    for (const std::string& line : differences)
        if (line.rfind("added ", 0) == 0 && IsDesigned(line, designed)) added.push_back(PathOfDifference(line));
    std::sort(added.begin(), added.end(), [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    for (const std::string& path : added) {
        const std::wstring wide = WideFromUtf8(path);
        SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileW(wide.c_str())) RemoveDirectoryW(wide.c_str());
    }
}

// The differences less what the inputs asked for by design (see above).
std::vector<std::string> Escapes(const std::vector<std::string>& differences, const Designed& designed)
{
    std::vector<std::string> escapes;
    for (const std::string& line : differences)
        if (!IsDesigned(line, designed)) escapes.push_back(line);
    return escapes;
}

void Report(const Figures& figures, double seconds)
{
    uint64_t total = 0;
    for (uint64_t tried : figures.tried) total += tried;
    std::printf("fuzz figures: inputs %llu (scripts %llu, records %llu, compressed %llu, journals %llu, command lines "
                "%llu) in %.1f s\n",
                static_cast<unsigned long long>(total), static_cast<unsigned long long>(figures.tried[0]),
                static_cast<unsigned long long>(figures.tried[1]), static_cast<unsigned long long>(figures.tried[2]),
                static_cast<unsigned long long>(figures.tried[3]), static_cast<unsigned long long>(figures.tried[4]),
                seconds);
    std::printf("fuzz faults: crashes %llu, time-outs %llu, touches outside the sandbox %llu, boxes %llu, "
                "other %zu\n",
                static_cast<unsigned long long>(figures.crashes), static_cast<unsigned long long>(figures.timeOuts),
                static_cast<unsigned long long>(figures.touches), static_cast<unsigned long long>(figures.boxes),
                figures.notes.size());
    std::printf("fuzz victims: touched %llu (changed or gone, named by nothing)\n",
                static_cast<unsigned long long>(figures.victimTouches));
    std::printf("fuzz designed: changes outside the sandbox that an input named (files a record or a journal named "
                "one by one, removed or changed; files a script named in the victims' folder, made; profile files named "
                "without a folder, in the Windows folder; the logs and setup folders a command line named): %llu, "
                "victims among them %llu\n",
                static_cast<unsigned long long>(figures.namedRemovals),
                static_cast<unsigned long long>(figures.victimsNamed));
    for (size_t kind = 0; kind < InputKinds; ++kind)
        std::printf("fuzz slowest %s: index %llu, %llu ms\n", KindName(static_cast<InputKind>(kind)),
                    static_cast<unsigned long long>(figures.slowest[kind].first), figures.slowest[kind].second);
    for (const std::string& note : figures.notes) std::printf("  %s\n", note.c_str());
    std::fflush(stdout);
}

}  // namespace

TEST_CASE("fuzzed scripts, records, compressed files, journals and command lines: no crash, no time-out, no touch "
          "outside the sandbox")
{
    const std::optional<Options> options = ParseOptions(__argc, __argv);
    REQUIRE_MESSAGE(options, "fuzz options: --fuzz-seed=N --fuzz-count=N --fuzz-start=N --fuzz-batch=N "
                             "--fuzz-limit=MS --fuzz-findings=FOLDER --fuzz-corpus=FOLDER");
    CreateDirectoryA(options->findings.c_str(), nullptr);
    const SeedCorpus corpus = LoadCorpus(options->corpus);
    std::printf("fuzz: seed %llu, inputs %llu to %llu; seeds: %zu scripts, %zu records, %zu compressed\n",
                static_cast<unsigned long long>(options->seed), static_cast<unsigned long long>(options->start),
                static_cast<unsigned long long>(options->start + options->count),
                corpus.scripts.size(), corpus.records.size(), corpus.compressed.size());
    std::fflush(stdout);

    Figures figures;
    Sandbox sandbox;
    std::string reason;
    REQUIRE_MESSAGE(sandbox.Ready(reason), "the registry cannot be redirected: " << reason);
    NoBoxes boxes;
    InstantClock clock;
    RecordingLauncher launcher;
    // A log without a name goes to the temporary folder: the sandbox's.
    for (const wchar_t* variable : {L"TMP", L"TEMP"})
        SetEnvironmentVariableW(variable, WideFromShiftJis(sandbox.Folder("temp")).c_str());
    StartGuard(options->findings, options->seed, options->limit);
    PlaceVictims();
    const unsigned long long began = GetTickCount64();
    const uint64_t end = options->start + options->count;
    sandbox.Redirect(false);
    MachineEntries before = SnapshotOutside();
    for (uint64_t first = options->start; first < end; first += options->batch) {
        const uint64_t last = std::min(end, first + options->batch);
        Designed designed;
        for (uint64_t index = first; index < last; ++index) {
            const FuzzInput input = MakeInput(corpus, options->seed, index);
            FuzzRandom random(options->seed ^ (index * 0xD1B54A32D192ED03ull));
            const unsigned long long resetBegan = GetTickCount64();
            sandbox.Reset();
            RunState state;
            PointRunAtSandbox(state, sandbox);
            PlaceDistribution(sandbox, corpus);
            const unsigned long long resetTook = GetTickCount64() - resetBegan;
            clock.pauses.clear();
            launcher.opened.clear();
            const size_t boxesBefore = boxes.shown.size();
            GuardInput(input);
            const unsigned long long inputBegan = GetTickCount64();
            switch (input.kind) {
            case InputKind::Script: RunScript(state, sandbox, input, random, designed); break;
            case InputKind::Record: RunRecord(state, sandbox, input, random, designed); break;
            case InputKind::Compressed:
                for (std::string& note : RunCompressed(sandbox, input, random)) figures.notes.push_back(std::move(note));
                break;
            case InputKind::Journal: RunJournal(state, sandbox, input, random, designed); break;
            case InputKind::CommandLine: RunCommandLine(state, sandbox, corpus, input, random, designed); break;
            }
            GuardIdle();
            const size_t kind = static_cast<size_t>(input.kind);
            ++figures.tried[kind];
            if (const unsigned long long took = GetTickCount64() - inputBegan; took > figures.slowest[kind].second)
                figures.slowest[kind] = {index, took};
            if (options->verbose)
                std::printf("fuzz input %s %llu: %llu ms (sandbox made in %llu ms)\n", KindName(input.kind),
                            static_cast<unsigned long long>(index), GetTickCount64() - inputBegan, resetTook);
            if (boxes.shown.size() != boxesBefore) {
                ++figures.boxes;
                std::printf("FUZZ box: %s index %llu (%s), saved as %s\n", KindName(input.kind),
                            static_cast<unsigned long long>(index), boxes.shown.back().c_str(),
                            SaveFinding("box", input).c_str());
            }
        }
        sandbox.Reset();
        sandbox.Redirect(false);
        MachineEntries after = SnapshotOutside();
        const std::vector<std::string> differences = Differences(before, after);
        const std::vector<std::string> escapes = Escapes(differences, designed);
        before = std::move(after);
        if (!differences.empty()) {
            // The next batch starts from the victims as they were.
            RemoveDesignedAdditions(differences, designed);
            PlaceVictims();
            before = SnapshotOutside();
            figures.namedRemovals += differences.size() - escapes.size();
            for (const std::string& line : differences)
                if (IsVictimKey(AsciiUpper(PathOfDifference(line))))
                    ++(IsDesigned(line, designed) ? figures.victimsNamed : figures.victimTouches);
        }
        if (!escapes.empty()) {
            figures.touches += escapes.size();
            std::printf("FUZZ touch outside the sandbox in inputs %llu to %llu (run them again with --batch 1 "
                        "to find the one):\n",
                        static_cast<unsigned long long>(first), static_cast<unsigned long long>(last - 1));
            for (size_t n = 0; n < escapes.size() && n < 40; ++n) std::printf("  %s\n", escapes[n].c_str());
            for (uint64_t index = first; index < last; ++index)
                SaveFinding("touch", MakeInput(corpus, options->seed, index));
            std::fflush(stdout);
        }
        std::printf("fuzz progress: inputs %llu to %llu done in %.0f s, touches so far %llu, boxes so far %llu, "
                    "designed so far %llu, victims touched so far %llu\n",
                    static_cast<unsigned long long>(options->start), static_cast<unsigned long long>(last - 1),
                    static_cast<double>(GetTickCount64() - began) / 1000, static_cast<unsigned long long>(figures.touches),
                    static_cast<unsigned long long>(figures.boxes), static_cast<unsigned long long>(figures.namedRemovals),
                    static_cast<unsigned long long>(figures.victimTouches));
        std::fflush(stdout);
    }
    const double seconds = static_cast<double>(GetTickCount64() - began) / 1000;
    RemoveVictims();
    Report(figures, seconds);
    CHECK(figures.touches == 0);
    CHECK(figures.boxes == 0);
    CHECK(figures.notes.empty());
}
