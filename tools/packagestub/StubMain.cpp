// ORVSTUB.EXE, the front of a one-file package (`orvauthor package`): it
// checks the payload behind it (its SHA-256 included), unpacks it into a
// fresh temporary folder that only it and the administrators may enter,
// runs SETUP.EXE from there with its own arguments, removes the folder and
// ends with SETUP.EXE's exit code. Nothing is made and nothing runs before
// every check has passed, so a cut-off or changed download never starts a
// partial SETUP.EXE.
#include "FailureBox.h"
#include "OwnImage.h"
#include "PayloadCheck.h"
#include "SetupLaunch.h"
#include "StubCommandLine.h"
#include "Unpack.h"
#include "UnpackFolder.h"
#include "script/ExitCodes.h"
#include "services/SystemLibraries.h"

#include <windows.h>

namespace {

StubFailure FailureOf(UnpackResult result)
{
    return result == UnpackResult::Damaged ? StubFailure::Damaged : StubFailure::CannotUnpack;
}

int Fail(StubFailure failure, bool silent)
{
    if (!silent) ShowFailure(failure);
    return ExitCode::Failed;
}

int Run()
{
    const std::wstring arguments = ArgumentsAfterProgram(GetCommandLineW());
    const bool silent = AsksForSilence(arguments);
    OwnImage image;
    if (!image.Open()) return Fail(StubFailure::Damaged, silent);
    const auto records = CheckedRecords(image.Bytes(), image.Size());
    if (!records) return Fail(StubFailure::Damaged, silent);
    UnpackFolder folder;
    if (!folder.Create()) return Fail(StubFailure::CannotUnpack, silent);
    HeldFiles held;
    const UnpackResult unpacked = UnpackRecords(*records, folder.Path(), held);
    if (unpacked != UnpackResult::Done) return Fail(FailureOf(unpacked), silent);
    // Once SETUP.EXE has started from them, the files are its own: it opens
    // the compressed ones for itself alone.
    const auto code = RunSetup(folder.Path(), arguments, [&] { held.clear(); });
    if (!code) return Fail(StubFailure::CannotStart, silent);
    return static_cast<int>(*code);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Before anything loads a DLL: the download folder the package runs
    // from is no place to take system DLLs from.
    RestrictDllSearchToSystemFolder();
    // Nothing may escape into the system: running out of memory while the
    // names are built is a failure to unpack like any other.
    try {
        return Run();
    } catch (...) {
        return ExitCode::Failed;
    }
}
