// The fuzz driver's inputs: five kinds (setup scripts, uninstall records,
// compressed files, the journals an install leaves for the next run, and
// command lines), each one made from a seed input by a few mutations chosen
// by a generator that depends only on the run's seed and the input's index,
// so that any input can be made again from those two numbers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Script, Record, Compressed: the bytes are the mutated file. Journal: the
// bytes are a seed script, which an install runs to the end with its
// journal; the journal it leaves is mutated line by line when the input
// runs (a journal is only as the install writes it). CommandLine: the bytes
// are a mutated command line of SETUP.EXE, with "%DIST%", "%APP%", "%TEMP%"
// and "%PRG%" standing for the sandbox's folders.
enum class InputKind { Script, Record, Compressed, Journal, CommandLine };
inline constexpr int InputKinds = 5;
const char* KindName(InputKind kind);
// The file name a saved input of this kind gets.
const char* KindExtension(InputKind kind);

// A small deterministic generator (splitmix64).
class FuzzRandom {
public:
    explicit FuzzRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // A number from 0 to `bound` - 1; 0 when `bound` is 0.
    size_t Below(size_t bound) { return bound == 0 ? 0 : static_cast<size_t>(Next() % bound); }
    bool Chance(int percent) { return Below(100) < static_cast<size_t>(percent); }

private:
    uint64_t state_;
};

// The inputs the mutations start from. Records hold "%APP%", "%WIN%",
// "%SYS%", "%SHELL%" and "%MADE%" where the setup, Windows, system, shell
// folders and a folder the install made stand; the driver puts in the
// sandbox's folders after the mutation, so that what a record names lies
// in the sandbox unless a mutation made it point elsewhere.
struct SeedCorpus {
    std::vector<std::string> scripts;
    std::vector<std::string> records;
    std::vector<std::string> compressed;
};

// The corpus built in, plus the sample's script and the compressed files
// found in `folders` (missing ones are skipped).
SeedCorpus LoadCorpus(const std::vector<std::string>& folders);

// Input `index` of the run `seed`: its kind and its bytes.
struct FuzzInput {
    InputKind kind;
    uint64_t index;
    std::string bytes;
};
FuzzInput MakeInput(const SeedCorpus& corpus, uint64_t seed, uint64_t index);

// Where the paths that must never be reached lie: files outside the sandbox
// that the mutations aim at through "..", device and network paths, and
// through links in the setup folders.
inline constexpr const char* VictimFolder = "C:\\ORVVICTIM\\";

// `text` with every `from` replaced by `to`.
std::string ReplaceAllText(std::string text, const std::string& from, const std::string& to);

// The victims' files, each given as the journal and command-line mutations
// name them, and an empty folder among them: Wine, asked to remove a link,
// removes an empty folder it leads to.
extern const char* const VictimFiles[4];
inline constexpr const char* VictimEmptyFolder = "C:\\ORVVICTIM\\EMPTY\\";

// Paths of every shape the design names, aimed at the victims ("%APP%" for
// the setup folder): the mutations put them into values.
const char* HostilePath(FuzzRandom& random);

// The journal `text` (as an install wrote it) with one to four mutations:
// lines dropped, repeated, swapped, cut short or of another kind, fields
// replaced by hostile paths ("%APP%" being `appFolder`), the victims, paths
// through the setup folder's links (`linkPaths`), huge or broken texts, new
// lines.
std::string MutateJournal(const std::string& text, const std::string& appFolder,
                          const std::vector<std::string>& linkPaths, FuzzRandom& random);
