// Registration entries of real components built by the test tree, and the
// three message boxes of a failed registration, asserted to the byte.
#include <doctest/doctest.h>

#include "services/SharedComponents.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "support/Scripted.h"

#include <windows.h>

namespace {

const std::string Caption = "OCX/DLL登録エラー";

// A copy of one of the built components, under a name of the test's choice.
std::string PlaceComponent(const ScratchFolder& folder, const std::string& component, const std::string& name)
{
    const std::string path = folder / name;
    REQUIRE(CopyFixture(ProgramFolder() + component, path));
    return path;
}

}  // namespace

TEST_CASE("IsRegistrable looks for .OCX or .DLL anywhere in the path, case ignored")
{
    CHECK(IsRegistrable("C:\\APP\\CTL.ocx"));
    CHECK(IsRegistrable("C:\\APP\\LIB.DLL.BAK"));
    CHECK(IsRegistrable("C:\\APP.DLL\\README.TXT"));
    CHECK_FALSE(IsRegistrable("C:\\APP\\A.EXE"));
    CHECK_FALSE(IsRegistrable("C:\\APP\\DLL"));
}

TEST_CASE("registering a component calls its entry and reports nothing when it succeeds")
{
    ScratchFolder folder("selfreg");
    ScriptedDialogs dialogs;
    ClearRegistrationTraces();
    // A folder whose name ends in the trail byte 0x5C.
    CreateDirectoryA((folder / "表").c_str(), nullptr);
    const std::string component = PlaceComponent(folder, "regok.dll", "表\\CTL.DLL");

    CHECK(SelfRegister(component, true));
    CHECK(RegistrationTrace(component) == "registered");
    CHECK_FALSE(SelfRegister(component, false));
    CHECK(RegistrationTrace(component) == "unregistered");
    CHECK(dialogs.Boxes().empty());
    ClearRegistrationTraces();
}

TEST_CASE("a failed registration is shown in one box with the path and the reason")
{
    ScratchFolder folder("selfregfail");
    ScriptedDialogs dialogs;
    ClearRegistrationTraces();
    const std::string failing = PlaceComponent(folder, "regfail.dll", "FAIL.DLL");
    const std::string withoutEntries = PlaceComponent(folder, "regnone.dll", "ソNONE.OCX");
    const std::string noLibrary = folder / "TEXT.DLL";
    WriteTextFile(noLibrary, "this is no library at all\r\n");
    dialogs.Answer(IDOK).Answer(IDOK).Answer(IDOK).Answer(IDOK).Answer(IDOK);

    CHECK_FALSE(SelfRegister(failing, true));
    CHECK(RegistrationTrace(failing) == "registered");  // its entry ran, and returned 1
    CHECK_FALSE(SelfRegister(withoutEntries, true));
    CHECK_FALSE(SelfRegister(noLibrary, true));
    CHECK_FALSE(SelfRegister(noLibrary, false));
    CHECK_FALSE(SelfRegister(folder / "MISSING.DLL", false));

    REQUIRE(dialogs.Boxes().size() == 5);
    CHECK(dialogs.Boxes()[0].text == failing + "のDllRegisterServer関数が失敗しました．");
    CHECK(dialogs.Boxes()[1].text == withoutEntries + "のDllRegisterServerエントリが見つかりません．");
    CHECK(dialogs.Boxes()[2].text == noLibrary + "の読み込みに失敗しました．");
    CHECK(dialogs.Boxes()[3].text == noLibrary + "の読み込みに失敗しました．");
    CHECK(dialogs.Boxes()[4].text == folder / "MISSING.DLLの読み込みに失敗しました．");
    for (const AskedBox& box : dialogs.Boxes()) {
        CHECK(box.caption == Caption);
        CHECK(box.flags == 48);
    }
    ClearRegistrationTraces();
}

TEST_CASE("unregistering never reports a missing or failing entry")
{
    ScratchFolder folder("unreg");
    ScriptedDialogs dialogs;
    ClearRegistrationTraces();
    const std::string failing = PlaceComponent(folder, "regfail.dll", "FAIL.DLL");
    const std::string withoutEntries = PlaceComponent(folder, "regnone.dll", "NONE.DLL");
    CHECK_FALSE(SelfRegister(failing, false));
    CHECK(RegistrationTrace(failing) == "unregistered");
    CHECK_FALSE(SelfRegister(withoutEntries, false));
    CHECK(dialogs.Boxes().empty());
    // The library was freed again: the file can be deleted.
    CHECK(DeleteFileA(failing.c_str()));
    CHECK(DeleteFileA(withoutEntries.c_str()));
    ClearRegistrationTraces();
}
