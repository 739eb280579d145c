// A DLL planted where a download lands: a version.dll that another site
// dropped into the download folder earlier, beside the one-file package,
// and one beside SETUP.EXE in a distribution folder. Both installs run
// elevated; neither may load it. CTest runs this test on its own
// (e2e-dll-planting), with Wine told to prefer a native version.dll as a
// real Windows does for any DLL that is not one of its known DLLs; a
// program that takes its DLLs the ordinary way, run first from the same
// folder, shows that the planted DLL would be loaded if it could be.
#include <doctest/doctest.h>

#include "SampleDistribution.h"
#include "SampleRuns.h"
#include "driver/Driver.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"

#include <windows.h>

#include <string>

namespace {

std::string PlantedFolder()
{
    return ProgramFolder() + "..\\fixtures\\planted\\";
}

// Puts the planted version.dll and the program that loads it the ordinary
// way into `folder` (with a trailing backslash).
void Plant(const std::string& folder)
{
    REQUIRE(CopyFileA((PlantedFolder() + "version.dll").c_str(), (folder + "version.dll").c_str(), FALSE));
    REQUIRE(CopyFileA((PlantedFolder() + "plantprobe.exe").c_str(), (folder + "plantprobe.exe").c_str(), FALSE));
}

// What the planted DLL noted in `folder` (UTF-16): one program path a
// line, with "?" for what is not ASCII; "" when it was never loaded.
std::string Loads(const std::string& folder)
{
    const std::string note = folder + "PLANTED.TXT";
    if (!PathExists(note)) return "";
    const std::string bytes = ReadTextFile(note);
    std::string text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned code = static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
        text += code < 0x80 ? static_cast<char>(code) : '?';
    }
    return text;
}

// The control: a program beside the planted DLL that does not restrict
// where its DLLs come from loads it. Its note is then removed.
void CheckPlantedDllIsLoadable(const std::string& folder, const std::string& temp)
{
    SetupProcess probe(ExactCommandLine{Quoted(folder + "plantprobe.exe")}, temp);
    REQUIRE(probe.Started());
    REQUIRE(probe.WaitForExit());
    REQUIRE_MESSAGE(Loads(folder).find("plantprobe.exe") != std::string::npos,
                    "the planted DLL is not loaded even by a program that takes DLLs from its own folder; "
                    "is Wine told to prefer a native version.dll (ORVANE_DLL_OVERRIDES=version=n,b)?");
    REQUIRE(DeleteFileA((folder + "PLANTED.TXT").c_str()));
}

// The sample's Add/Remove entry's quiet command, run to its end.
void UninstallQuietly(const SampleInstallation& sample, const std::string& temp)
{
    const std::string quiet = StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "QuietUninstallString");
    SetupProcess uninstall(ExactCommandLine{quiet}, temp);
    REQUIRE(uninstall.Started());
    REQUIRE(uninstall.WaitForExit(120000));
    CHECK(uninstall.ExitCode() == 0);
}

}  // namespace

TEST_CASE("dll planting: a version.dll beside the package or beside SETUP.EXE is never loaded")
{
    const SampleInstallation sample;
    sample.RemoveTraces();
    ScratchFolder temp("plant-tmp");

    SUBCASE("the one-file package in a download folder")
    {
        ScratchFolder download("plant-download");
        const std::string package = download / "OrvaneSample.exe";
        REQUIRE(CopyFileA((ProgramFolder() + "..\\sample\\package\\OrvaneSample.exe").c_str(), package.c_str(), FALSE));
        Plant(download.Path());
        CheckPlantedDllIsLoadable(download.Path(), temp.Path());

        SetupProcess run(ExactCommandLine{Quoted(package) + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART"}, temp.Path());
        REQUIRE(run.Started());
        RunToEnd(run);
        CHECK(run.ExitCode() == 3010);
        CHECK(PathExists(sample.app + "SAMPLEVW.EXE"));
        CHECK(Loads(download.Path()) == "");
        UninstallQuietly(sample, temp.Path());
    }
    SUBCASE("a distribution folder, DISK1 and DISK2")
    {
        ScratchFolder layout("plant-layout");
        REQUIRE(CreateDirectoryA((layout / "DISK1").c_str(), nullptr));
        REQUIRE(CreateDirectoryA((layout / "DISK2").c_str(), nullptr));
        REQUIRE(CopyDisk(SampleDisk(1), layout / "DISK1\\").empty());
        REQUIRE(CopyDisk(SampleDisk(2), layout / "DISK2\\").empty());
        const std::string disk1 = layout / "DISK1\\";
        Plant(disk1);
        CheckPlantedDllIsLoadable(disk1, temp.Path());

        SetupProcess setup(ExactCommandLine{Quoted(disk1 + "SETUP.EXE") + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART"},
                           temp.Path());
        REQUIRE(setup.Started());
        RunToEnd(setup);
        CHECK(setup.ExitCode() == 3010);
        CHECK(PathExists(sample.app + "SAMPLEVW.EXE"));
        CHECK(Loads(disk1) == "");
        UninstallQuietly(sample, temp.Path());
    }
    sample.RemoveTraces();
}
