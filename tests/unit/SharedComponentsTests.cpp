// Shared-DLL counts in the system's list, registration entries of real
// components built by the test tree, and the three message boxes of a failed
// registration, asserted to the byte.
#include <doctest/doctest.h>

#include "services/SetupError.h"
#include "services/SharedComponents.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "support/ScratchRegistry.h"
#include "support/Scripted.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace {

// A copy of one of the built components, under a name of the test's choice.
std::string PlaceComponent(const ScratchFolder& folder, const std::string& component, const std::string& name)
{
    const std::string path = folder / name;
    REQUIRE(CopyFixture(ProgramFolder() + component, path));
    return path;
}

}  // namespace

TEST_CASE("a shared file is counted from 1 when new and from 2 when already on disk")
{
    NoJournal unjournaled;
    ScratchFolder folder("shared");
    ScratchSharedCounts counted;
    const std::string fresh = counted.Watch(folder / "表\\NEW.DLL");
    const std::string present = counted.Watch(folder / "OLD.DLL");
    WriteTextFile(present, "already here");

    CHECK(GetSharedCount(fresh, unjournaled) == 0);
    CHECK(AdjustSharedCount(fresh, true, unjournaled) == 1);
    CHECK(AdjustSharedCount(present, true, unjournaled) == 2);
    CHECK(AdjustSharedCount(present, true, unjournaled) == 3);
    CHECK(GetSharedCount(fresh, unjournaled) == 1);
    CHECK(GetSharedCount(present, unjournaled) == 3);
    CHECK(ScratchSharedCounts::Stored(fresh) == 1u);
}

TEST_CASE("lowering a count writes it, removes it at 0, and gives -1 for a file never counted")
{
    NoJournal unjournaled;
    ScratchFolder folder("unshare");
    ScratchSharedCounts counted;
    const std::string path = counted.Watch(folder / "LIB.DLL");
    counted.Set(path, 3);
    CHECK(AdjustSharedCount(path, false, unjournaled) == 2);
    CHECK(ScratchSharedCounts::Stored(path) == 2u);
    CHECK(AdjustSharedCount(path, false, unjournaled) == 1);
    CHECK(AdjustSharedCount(path, false, unjournaled) == 0);
    CHECK_FALSE(ScratchSharedCounts::Stored(path));
    CHECK(AdjustSharedCount(path, false, unjournaled) == -1);
    CHECK_FALSE(ScratchSharedCounts::Stored(path));
}

TEST_CASE("a count stored as another type reads 0")
{
    NoJournal unjournaled;
    ScratchFolder folder("strcount");
    ScratchSharedCounts counted;
    const std::string text = counted.Watch(folder / "TEXT.DLL");
    const std::string binary = counted.Watch(folder / "BIN.DLL");
    REQUIRE(StoreValue(HKEY_LOCAL_MACHINE, SharedDllsKey, text, REG_SZ, std::string("3\0", 2)));
    REQUIRE(StoreValue(HKEY_LOCAL_MACHINE, SharedDllsKey, binary, REG_BINARY, std::string("\3\0\0\0", 4)));
    CHECK(GetSharedCount(text, unjournaled) == 0);
    CHECK(GetSharedCount(binary, unjournaled) == 0);
    // Raising it starts afresh and stores a proper count.
    CHECK(AdjustSharedCount(text, true, unjournaled) == 1);
    CHECK(ScratchSharedCounts::Stored(text) == 1u);
}

TEST_CASE("a count that cannot be written raises the registry layer's error")
{
    NoJournal unjournaled;
    // A value name longer than the system allows: the path of the file.
    const std::string path = "C:\\" + std::string(16384, 'X') + ".DLL";
    std::string raised;
    try {
        AdjustSharedCount(path, true, unjournaled);
    } catch (const SetupError& error) {
        raised = error.Message();
    }
    CHECK(raised == "'" + path + "' の設定に失敗しました");
    CHECK(GetSharedCount(path, unjournaled) == 0);
}

TEST_CASE("IsRegistrable looks for .OCX or .DLL anywhere in the path, case ignored")
{
    CHECK(IsRegistrable("C:\\APP\\CTL.ocx"));
    CHECK(IsRegistrable("C:\\APP\\LIB.DLL.BAK"));
    CHECK(IsRegistrable("C:\\APP.DLL\\README.TXT"));
    CHECK_FALSE(IsRegistrable("C:\\APP\\A.EXE"));
    CHECK_FALSE(IsRegistrable("C:\\APP\\DLL"));
}

TEST_CASE("registering a component calls its entry, unregistering the other")
{
    ScratchFolder folder("selfreg");
    ScriptedDialogs dialogs;
    ClearRegistrationTraces();
    // A folder whose name ends in the trail byte 0x5C.
    CreateDirectoryA((folder / "表").c_str(), nullptr);
    const std::string component = PlaceComponent(folder, "regok.dll", "表\\CTL.DLL");

    CHECK(SelfRegister(component, true) == RegistrationResult::Done);
    CHECK(RegistrationTrace(component) == "registered");
    CHECK(SelfRegister(component, false) == RegistrationResult::Done);
    CHECK(RegistrationTrace(component) == "unregistered");
    CHECK(dialogs.Boxes().empty());
    ClearRegistrationTraces();
}

TEST_CASE("a failed registration says why, and shows nothing itself")
{
    ScratchFolder folder("selfregfail");
    ScriptedDialogs dialogs;
    ClearRegistrationTraces();
    const std::string failing = PlaceComponent(folder, "regfail.dll", "FAIL.DLL");
    const std::string withoutEntries = PlaceComponent(folder, "regnone.dll", "ソNONE.OCX");
    const std::string noLibrary = folder / "TEXT.DLL";
    WriteTextFile(noLibrary, "this is no library at all\r\n");

    CHECK(SelfRegister(failing, true) == RegistrationResult::EntryFailed);
    CHECK(RegistrationTrace(failing) == "registered");  // its entry ran, and returned 1
    CHECK(SelfRegister(withoutEntries, true) == RegistrationResult::NoEntry);
    CHECK(SelfRegister(noLibrary, true) == RegistrationResult::NotLoaded);
    CHECK(SelfRegister(noLibrary, false) == RegistrationResult::NotLoaded);
    CHECK(SelfRegister(folder / "MISSING.DLL", false) == RegistrationResult::NotLoaded);
    CHECK(dialogs.Boxes().empty());
    ClearRegistrationTraces();
}

TEST_CASE("unregistering never reports a missing or failing entry")
{
    ScratchFolder folder("unreg");
    ScriptedDialogs dialogs;
    ClearRegistrationTraces();
    const std::string failing = PlaceComponent(folder, "regfail.dll", "FAIL.DLL");
    const std::string withoutEntries = PlaceComponent(folder, "regnone.dll", "NONE.DLL");
    CHECK(SelfRegister(failing, false) == RegistrationResult::Done);
    CHECK(RegistrationTrace(failing) == "unregistered");
    CHECK(SelfRegister(withoutEntries, false) == RegistrationResult::Done);
    CHECK(dialogs.Boxes().empty());
    // The library was freed again: the file can be deleted.
    CHECK(DeleteFileA(failing.c_str()));
    CHECK(DeleteFileA(withoutEntries.c_str()));
    ClearRegistrationTraces();
}

TEST_CASE("a user install's components register in the user's classes: HKEY_CLASSES_ROOT is redirected while the override lives")
{
    const char* name = "OrvaneSetupTests.UserClasses";
    const auto exists = [](HKEY root, const std::string& key) {
        HKEY opened = nullptr;
        if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
        RegCloseKey(opened);
        return true;
    };
    const std::string userKey = std::string("Software\\Classes\\") + name;
    const bool classesBefore = exists(HKEY_CURRENT_USER, "Software\\Classes");
    {
        const UserClassesOverride userClasses;
        REQUIRE(userClasses.Active());
        // What a component's DllRegisterServer does: a key under the classes root.
        REQUIRE(RegSetKeyValueA(HKEY_CLASSES_ROOT, name, nullptr, REG_SZ, "x", 2) == ERROR_SUCCESS);
    }
    CHECK(exists(HKEY_CURRENT_USER, userKey));
    CHECK_FALSE(exists(HKEY_LOCAL_MACHINE, std::string("Software\\Classes\\") + name));
    RegDeleteKeyA(HKEY_CURRENT_USER, userKey.c_str());
    if (!classesBefore) RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Classes");
    // Given back: the root is the merged view again.
    CHECK(exists(HKEY_CLASSES_ROOT, "CLSID"));
}
