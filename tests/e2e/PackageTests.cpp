// The one-file installer that `orvauthor package` makes (tools/layout-sample.sh:
// build/sample/package/OrvaneSample.exe, the same signed in build/sample/
// signed/, and the tiny build/sample/tiny/OrvaneTiny.exe) run as a person
// and as an administrator's script run it: the stub unpacks into its own
// temporary folder, which only it and the administrators may enter and whose
// files nobody may change while SETUP.EXE runs from them; SETUP.EXE's exit
// code comes back through the stub, and the folder is gone afterwards. A
// package cut short or changed by one byte shows the stub's box (or
// nothing, silent) and ends with 1603 before anything is unpacked. The
// signed package's winget manifest names the Add/Remove entry exactly as
// its install writes it.
#include <doctest/doctest.h>

#include "SampleDistribution.h"
#include "ScreenExpectations.h"
#include "driver/Driver.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "windows/ControlIds.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string SamplePackage()
{
    return ProgramFolder() + "..\\sample\\package\\OrvaneSample.exe";
}

std::string SignedSamplePackage()
{
    return ProgramFolder() + "..\\sample\\signed\\OrvaneSample.exe";
}

std::string TinyPackage()
{
    return ProgramFolder() + "..\\sample\\tiny\\OrvaneTiny.exe";
}

// The process that `parent` started (the stub's SETUP.EXE), or 0 while it
// has started none.
DWORD ChildNow(DWORD parent)
{
    // A failed snapshot is INVALID_HANDLE_VALUE, as a file handle's.
    const FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
        if (entry.th32ParentProcessID == parent) return entry.th32ProcessID;
    return 0;
}

// The same, once there is one; 0 when none came in time.
DWORD ChildOf(DWORD parent)
{
    DWORD child = 0;
    WaitUntil([&] { return (child = ChildNow(parent)) != 0; });
    return child;
}

// The names in `folder` (with a trailing backslash) that start with `prefix`.
std::vector<std::string> EntriesStartingWith(const std::string& folder, const std::string& prefix)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const FindHandle search(FindFirstFileA((folder + prefix + "*").c_str(), &found));
    if (!search) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(search.Get(), &found));
    return names;
}

// Waits for the end of a run that nobody answers, noting whether any window
// of the stub or of the SETUP.EXE it started ever showed.
bool ShowedAnyWindow(SetupProcess& run)
{
    bool shown = false;
    DWORD child = 0;
    const bool ended = WaitUntil(
        [&] {
            if (child == 0) child = ChildNow(run.Id());
            shown = shown || HasVisibleWindow(run.Id()) || (child != 0 && HasVisibleWindow(child));
            return !run.Running();
        },
        120000);
    REQUIRE_MESSAGE(ended, "the package's run did not end: " << VisibleWindows(run.Id()));
    return shown;
}

enum class Damage { None, CutInHalf, OnePayloadByte };

// The package copied into `folder`, whole, cut off after half its bytes,
// or with one byte of its payload changed: of the time stamp of its first
// record (SETUP.INI, right after the stub's bytes: name length, name, data
// length, time), which no check of a single file covers, so that only the
// payload's digest can find it.
std::string CopyOfPackage(const std::string& package, const ScratchFolder& folder, Damage damage)
{
    const std::string copy = folder / "Package.exe";
    std::string bytes = ReadTextFile(package);
    REQUIRE(bytes.size() > 1000);
    if (damage == Damage::CutInHalf) bytes.resize(bytes.size() / 2);
    if (damage == Damage::OnePayloadByte) bytes[ReadTextFile(ProgramFolder() + "ORVSTUB.EXE").size() + 2 + 9 + 8] ^= 0x20;
    WriteTextFile(copy, bytes);
    return copy;
}

// Memory the security functions hand out, freed with LocalFree.
using LocalMemory = std::unique_ptr<void, decltype(&LocalFree)>;

// A SID as text ("S-1-5-18").
std::string SidText(PSID sid)
{
    char* text = nullptr;
    REQUIRE(ConvertSidToStringSidA(sid, &text));
    const LocalMemory owned(text, &LocalFree);
    return text;
}

// The access list of a folder: whether it keeps out what its parent would
// hand down, and each entry as "SID mask flags" ("S-1-5-18 1F01FF 3").
struct AccessList {
    bool protectedFromParent = false;
    std::vector<std::string> entries;
};

AccessList AccessListOf(const std::string& folder)
{
    AccessList list;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    REQUIRE(GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                  nullptr, &descriptor) == ERROR_SUCCESS);
    const LocalMemory owned(descriptor, &LocalFree);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    GetSecurityDescriptorControl(descriptor, &control, &revision);
    list.protectedFromParent = (control & SE_DACL_PROTECTED) != 0;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        void* ace = nullptr;
        REQUIRE(GetAce(dacl, i, &ace));
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
        REQUIRE(allowed->Header.AceType == ACCESS_ALLOWED_ACE_TYPE);
        char fields[64] = {};
        std::snprintf(fields, sizeof fields, " %lX %u", allowed->Mask, static_cast<unsigned>(allowed->Header.AceFlags));
        list.entries.push_back(SidText(&allowed->SidStart) + fields);
    }
    return list;
}

// A folder made in `parent` with the access list `sddl`, or without one.
std::string FolderWithAccess(const std::string& parent, const std::string& name, const char* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (sddl != nullptr)
        REQUIRE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    const LocalMemory owned(descriptor, &LocalFree);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const std::string folder = parent + name;
    REQUIRE(CreateDirectoryA(folder.c_str(), sddl != nullptr ? &attributes : nullptr));
    return folder;
}

// Whether process `id` runs elevated, and the SID of the user it runs as.
std::pair<bool, std::string> ElevationAndUserOf(DWORD id)
{
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    HANDLE opened = nullptr;
    REQUIRE(OpenProcessToken(process.Get(), TOKEN_QUERY, &opened));
    const KernelHandle token(opened);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    REQUIRE(GetTokenInformation(token.Get(), TokenElevation, &elevation, sizeof elevation, &size));
    std::vector<BYTE> user(256);
    REQUIRE(GetTokenInformation(token.Get(), TokenUser, user.data(), static_cast<DWORD>(user.size()), &size));
    return {elevation.TokenIsElevated != 0, SidText(reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid)};
}

// The unpack folder lets in only SYSTEM, the Administrators and, when the
// stub `stub` is not elevated, its user, whatever the temporary folder
// `temp` hands down. Wine keeps of an access list only what Unix
// permissions can hold (owner, group, everyone else), and reads back a list
// made from those: where a list given to a new folder does not come back
// as it was, what is checked is that everyone else has lost the access
// that a folder made there without a list has.
void CheckOnlyAdministratorsMayEnter(const std::string& folder, DWORD stub, const ScratchFolder& temp)
{
    const auto [elevated, user] = ElevationAndUserOf(stub);
    std::vector<std::string> expected = {"S-1-5-18 1F01FF 3", "S-1-5-32-544 1F01FF 3"};
    if (!elevated) expected.push_back(user + " 1F01FF 3");
    const AccessList access = AccessListOf(folder);
    const AccessList kept = AccessListOf(FolderWithAccess(temp.Path(), "kept", "D:P(A;OICI;FA;;;SY)"));
    if (kept.protectedFromParent && kept.entries == std::vector<std::string>{"S-1-5-18 1F01FF 3"}) {
        CHECK(access.protectedFromParent);
        CHECK(access.entries == expected);
        return;
    }
    MESSAGE("this file system keeps no access lists: checked that everyone else has lost the access "
            "a new folder gives");
    const auto everyone = [](const AccessList& list) {
        return std::any_of(list.entries.begin(), list.entries.end(),
                           [](const std::string& entry) { return entry.starts_with("S-1-1-0 "); });
    };
    REQUIRE(everyone(AccessListOf(FolderWithAccess(temp.Path(), "plain", nullptr))));
    CHECK_FALSE(everyone(access));
}

// A value of the manifest: plain, or in double quotes (the sample's values
// need no escapes).
std::string YamlText(const std::string& text)
{
    if (text.empty() || text.front() != '"') return text;
    REQUIRE(text.find('\\') == std::string::npos);
    return text.substr(1, text.size() - 2);
}

// The keys and values of the first item of the list `list` of a manifest
// (the lines "- Key: value" and "  Key: value" that follow "list:").
std::map<std::string, std::string> FirstItemOf(const std::string& manifest, const std::string& list)
{
    std::map<std::string, std::string> item;
    const size_t start = manifest.find("\n" + list + ":\n");
    REQUIRE_MESSAGE(start != std::string::npos, list);
    size_t at = manifest.find('\n', start + 1) + 1;
    for (bool first = true; at < manifest.size(); first = false) {
        const size_t end = manifest.find('\n', at);
        const std::string line = manifest.substr(at, end - at);
        if (!line.starts_with(first ? "- " : "  ") || line.starts_with("  -")) break;
        const size_t colon = line.find(": ");
        REQUIRE(colon != std::string::npos);
        item[line.substr(2, colon - 2)] = YamlText(line.substr(colon + 2));
        at = end + 1;
    }
    return item;
}

// The installer manifest in the winget folder beside `package`.
std::string InstallerManifestOf(const std::string& package)
{
    const std::string folder = package.substr(0, package.size() - 4) + ".winget\\";
    const std::vector<std::string> names = EntriesStartingWith(folder, "");
    for (const std::string& name : names)
        if (name.ends_with(".installer.yaml")) return ReadTextFile(folder + name);
    FAIL("no installer manifest in " << folder);
    return {};
}

// The sample's package copied into a download folder of the test's own,
// with the sample's traces removed before and after.
struct DownloadedSample {
    SampleInstallation sample;
    ScratchFolder download;
    ScratchFolder temp;
    std::string package;

    explicit DownloadedSample(const std::string& purpose, const std::string& original = SamplePackage())
        : download(purpose), temp(purpose + "tmp")
    {
        REQUIRE_MESSAGE(PathExists(original), "the package is made by tools/layout-sample.sh");
        sample.RemoveTraces();
        package = CopyOfPackage(original, download, Damage::None);
    }
    ~DownloadedSample() { sample.RemoveTraces(); }
    DownloadedSample(const DownloadedSample&) = delete;
    DownloadedSample& operator=(const DownloadedSample&) = delete;

    // The Add/Remove entry's quiet command, run to its end.
    void UninstallQuietly() const
    {
        const std::string quiet = StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "QuietUninstallString");
        SetupProcess uninstall(ExactCommandLine{quiet}, temp.Path());
        REQUIRE(uninstall.Started());
        REQUIRE(uninstall.WaitForExit(120000));
        CHECK(uninstall.ExitCode() == 0);
        CHECK_FALSE(PathExists(sample.app));
    }
};

}  // namespace

TEST_CASE("package: the sample's one-file installer installs as a person drives it, and leaves no unpacked files")
{
    const DownloadedSample downloaded("pkg-download");
    const SampleInstallation& sample = downloaded.sample;
    const ScratchFolder& temp = downloaded.temp;
    const std::string& package = downloaded.package;

    SUBCASE("to the restart offer, declined: 3010 comes through; the quiet uninstall takes it away")
    {
        SetupProcess run(ExactCommandLine{Quoted(package)}, temp.Path());
        REQUIRE(run.Started());
        const DWORD setup = ChildOf(run.Id());
        REQUIRE(setup != 0);
        // SETUP.EXE runs from the unpacked folder, which holds every file.
        const std::vector<std::string> unpacked = EntriesStartingWith(temp.Path(), "OVPKG");
        REQUIRE(unpacked.size() == 1);
        const std::string folder = temp / unpacked[0] + "\\";
        for (const char* name : {"SETUP.EXE", "SETUP.INI", "README.TXT", "SAMPLEVW.EX_", "MANUAL.TX_", "ORVSMPL.DLL",
                                 "SAMPLE.DAT", "見本.TXT", "SAMPLE2.DAT"})
            CHECK_MESSAGE(PathExists(folder + name), Utf8(name));
        CheckOnlyAdministratorsMayEnter(folder, run.Id(), temp);
        Press(ControlOf(ExpectMainScreen(setup, "セットアップ続行(&C)"), MainIds::actionButton));
        HWND main = ExpectMainScreen(setup, "セットアップ開始(&S)");
        CHECK(TextOf(ControlOf(main, MainIds::folderBox)) == sample.app);
        Press(ControlOf(main, MainIds::actionButton));
        CHECK(AnswerAndWait(ExpectBox(setup, sample.FolderQuestion()), IDYES));
        // One folder, no disk to change: the next question is the association.
        CHECK(AnswerAndWait(ExpectBox(setup, sample.AssociationQuestion()), IDYES));
        HWND offer = WaitForAnyBox(setup, 60000);
        REQUIRE(offer != nullptr);
        CHECK(TextOf(offer) != "警告");
        CHECK(AnswerAndWait(offer, IDNO));
        CHECK(AnswerAndWait(ExpectBox(setup, sample.RestartWarning()), IDOK));
        REQUIRE(run.WaitForExit());
        CHECK(run.ExitCode() == 3010);
        CHECK(PathExists(sample.app + "DATA\\表示\\見本.TXT"));
        CHECK(PathExists(sample.app + "DATA\\SAMPLE2.DAT"));
        CHECK_FALSE(PathExists(folder));
        CHECK(EntriesStartingWith(temp.Path(), "OVPKG").empty());
        downloaded.UninstallQuietly();
    }
    SUBCASE("quit at the first screen: 1602 comes through")
    {
        SetupProcess run(ExactCommandLine{Quoted(package)}, temp.Path());
        REQUIRE(run.Started());
        const DWORD setup = ChildOf(run.Id());
        REQUIRE(setup != 0);
        Press(ControlOf(ExpectMainScreen(setup, "セットアップ続行(&C)"), MainIds::quitButton));
        HWND box = WaitForMessageBox(setup, "終了確認");
        REQUIRE(box != nullptr);
        Answer(box, IDYES);
        REQUIRE(run.WaitForExit());
        CHECK(run.ExitCode() == 1602);
        CHECK_FALSE(PathExists(sample.app));
        CHECK(EntriesStartingWith(temp.Path(), "OVPKG").empty());
    }
}

TEST_CASE("package: /VERYSILENT /SUPPRESSMSGBOXES /NORESTART installs the sample without a window; 3010 comes through")
{
    const DownloadedSample downloaded("pkg-quiet");
    const SampleInstallation& sample = downloaded.sample;
    SetupProcess run(ExactCommandLine{Quoted(downloaded.package) + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART"},
                     downloaded.temp.Path());
    REQUIRE(run.Started());
    CHECK_FALSE(ShowedAnyWindow(run));
    CHECK(run.ExitCode() == 3010);
    CHECK(PathExists(sample.app + "SAMPLEVW.EXE"));
    CHECK(PathExists(sample.app + "DATA\\表示\\見本.TXT"));
    CHECK(PathExists(sample.app + "DATA\\SAMPLE2.DAT"));
    CHECK(EntriesStartingWith(downloaded.temp.Path(), "OVPKG").empty());
    downloaded.UninstallQuietly();
}

TEST_CASE("package: signed, it installs as unsigned; its manifest's Add/Remove entry is the one the install writes")
{
    const DownloadedSample downloaded("pkg-signed", SignedSamplePackage());
    const SampleInstallation& sample = downloaded.sample;
    SetupProcess run(ExactCommandLine{Quoted(downloaded.package) + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART"}, downloaded.temp.Path());
    REQUIRE(run.Started());
    CHECK_FALSE(ShowedAnyWindow(run));
    CHECK(run.ExitCode() == 3010);
    CHECK(PathExists(sample.app + "SAMPLEVW.EXE"));
    CHECK(EntriesStartingWith(downloaded.temp.Path(), "OVPKG").empty());

    // Read back from the registry: every value the manifest names, and the
    // key name as the product code, on the installer node as well.
    const std::string manifest = InstallerManifestOf(SignedSamplePackage());
    const std::map<std::string, std::string> entry = FirstItemOf(manifest, "AppsAndFeaturesEntries");
    CHECK(entry.size() == 4);
    const std::string uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    REQUIRE(entry.count("ProductCode") == 1);
    const std::string key = uninstall + entry.at("ProductCode");
    CHECK(key == sample.entryKey);
    for (const char* name : {"DisplayName", "Publisher", "DisplayVersion"}) {
        CAPTURE(name);
        REQUIRE(entry.count(name) == 1);
        CHECK(entry.at(name) == Utf8(StringValue(HKEY_LOCAL_MACHINE, key, name)));
    }
    CHECK(FirstItemOf(manifest, "Installers").at("ProductCode") == entry.at("ProductCode"));
    downloaded.UninstallQuietly();
}

TEST_CASE("package: a completed run's 0 and a quoted /DIR= with a blank come through the stub unchanged")
{
    REQUIRE_MESSAGE(PathExists(TinyPackage()), "the package is made by tools/layout-sample.sh");
    ScratchFolder temp("pkg-tinytmp");
    ScratchFolder target("pkg-tiny");
    const std::string uninstaller = WindowsFolder() + "UNOVSET.EXE";
    const bool uninstallerBefore = PathExists(uninstaller);
    const std::string app = target / "Tiny App\\";

    SetupProcess run(ExactCommandLine{Quoted(TinyPackage()) + " /S /DIR=\"" + app + "\""}, temp.Path());
    REQUIRE(run.Started());
    CHECK_FALSE(ShowedAnyWindow(run));
    CHECK(run.ExitCode() == 0);
    CHECK(ReadTextFile(app + "TINY.TXT") == "Orvane Tiny\r\n");
    CHECK(EntriesStartingWith(temp.Path(), "OVPKG").empty());
    // "Setup Only." writes no record; the shared uninstaller is all it leaves.
    if (!uninstallerBefore) DeleteFileA(uninstaller.c_str());
}

TEST_CASE("package: a package cut short or changed by one byte ends with 1603 before anything is unpacked")
{
    REQUIRE_MESSAGE(PathExists(SamplePackage()), "the package is made by tools/layout-sample.sh");
    REQUIRE_MESSAGE(PathExists(SignedSamplePackage()), "the package is made by tools/layout-sample.sh");
    ScratchFolder download("pkg-cut");
    ScratchFolder temp("pkg-cuttmp");

    SUBCASE("cut short, started by a person: the stub's box")
    {
        const std::string package = CopyOfPackage(SamplePackage(), download, Damage::CutInHalf);
        SetupProcess run(ExactCommandLine{Quoted(package)}, temp.Path());
        REQUIRE(run.Started());
        HWND box = WaitForMessageBox(run.Id(), "セットアップ");
        REQUIRE_MESSAGE(box != nullptr, "no box; shown:\n" << VisibleWindows(run.Id()));
        CHECK(MessageBoxText(box) ==
              "このセットアッププログラムは壊れています．\r\n"
              "ダウンロードが途中で切れた可能性があります．\r\n"
              "もう一度ダウンロードしてください．");
        Answer(box, IDOK);
        REQUIRE(run.WaitForExit());
        CHECK(run.ExitCode() == 1603);
    }
    SUBCASE("cut short, /VERYSILENT: no window at all")
    {
        const std::string package = CopyOfPackage(SamplePackage(), download, Damage::CutInHalf);
        SetupProcess run(ExactCommandLine{Quoted(package) + " /verysilent /SUPPRESSMSGBOXES /NORESTART"},
                         temp.Path());
        REQUIRE(run.Started());
        CHECK_FALSE(ShowedAnyWindow(run));
        CHECK(run.ExitCode() == 1603);
    }
    SUBCASE("signed, one byte of its payload changed, /VERYSILENT: no window at all")
    {
        const std::string package = CopyOfPackage(SignedSamplePackage(), download, Damage::OnePayloadByte);
        SetupProcess run(ExactCommandLine{Quoted(package) + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART"}, temp.Path());
        REQUIRE(run.Started());
        CHECK_FALSE(ShowedAnyWindow(run));
        CHECK(run.ExitCode() == 1603);
    }
    // Nothing was unpacked, and SETUP.EXE made no work folder: it never ran.
    CHECK(EntriesStartingWith(temp.Path(), "OVPKG").empty());
    CHECK(EntriesStartingWith(temp.Path(), "OVTMP").empty());
    CHECK_FALSE(PathExists(SampleInstallation().app));
}
