// For whom a run installs: the decision from the script's Scope, the
// switch and the process's rights, and what a user install may not do.
#include <doctest/doctest.h>

#include "script/InstallScope.h"
#include "script/RunSwitches.h"
#include "script/SetupScript.h"
#include "services/Elevation.h"
#include "services/WaitingChanges.h"
#include "text/Unicode.h"

#include <string>

namespace {

using Action = ScopeDecision::Action;

std::string Describe(ScopeDecision decision)
{
    const char* actions[] = {"here", "elevated", "ask", "refuse"};
    return std::string(actions[static_cast<int>(decision.action)]) +
           (decision.scope == InstallScope::Machine ? " machine" : " user");
}

std::string Decide(ScopeChoice script, const char* switches, bool elevated, bool unattended)
{
    return Describe(DecideScope(script, ParseCommandLine(std::string("SETUP.EXE ") + switches).scope, elevated, unattended));
}

SetupScript ScriptOf(const std::string& sections)
{
    return ParseSetupScript("[Title]\r\nSetup=T\r\n[Product]\r\nScope=Either\r\n" + sections);
}

}  // namespace

TEST_CASE("the scope: the script's choice, the switch and the process's rights decide together")
{
    // Machine: today's install; without rights it starts again elevated.
    CHECK(Decide(ScopeChoice::Machine, "", true, false) == "here machine");
    CHECK(Decide(ScopeChoice::Machine, "/VERYSILENT", false, true) == "elevated machine");
    CHECK(Decide(ScopeChoice::Machine, "/allusers", false, true) == "elevated machine");
    CHECK(Decide(ScopeChoice::Machine, "/CURRENTUSER", true, true) == "refuse machine");
    // User: never elevated, whatever the rights.
    CHECK(Decide(ScopeChoice::User, "", false, false) == "here user");
    CHECK(Decide(ScopeChoice::User, "/CurrentUser", true, true) == "here user");
    CHECK(Decide(ScopeChoice::User, "/ALLUSERS", true, true) == "refuse user");
    // Either: the switch chooses; without one a person is asked, and an
    // unattended run follows its rights.
    CHECK(Decide(ScopeChoice::Either, "/ALLUSERS", false, true) == "elevated machine");
    CHECK(Decide(ScopeChoice::Either, "/ALLUSERS", true, false) == "here machine");
    CHECK(Decide(ScopeChoice::Either, "/CURRENTUSER", true, true) == "here user");
    CHECK(Decide(ScopeChoice::Either, "", false, false).rfind("ask", 0) == 0);
    CHECK(Decide(ScopeChoice::Either, "/S", false, true) == "here user");
    CHECK(Decide(ScopeChoice::Either, "/S", true, true) == "here machine");
    // The person's answer goes the same way as a switch.
    CHECK(Describe(DecisionFor(InstallScope::Machine, false)) == "elevated machine");
    CHECK(Describe(DecisionFor(InstallScope::User, false)) == "here user");

    // Both switches on one line contradict each other: the line's fault.
    CHECK(ParseCommandLine("SETUP.EXE /ALLUSERS /CURRENTUSER").fault == "/CURRENTUSER");
    CHECK(ParseCommandLine("SETUP.EXE /ALLUSERS /allusers").fault.empty());

    // The key, letter case ignored; what it does not know is the default.
    CHECK(ReadScopeChoice(ScriptOf("").profile) == ScopeChoice::Either);
    CHECK(ReadScopeChoice(ParseSetupScript("[Product]\r\nScope=user\r\n").profile) == ScopeChoice::User);
    CHECK(ReadScopeChoice(ParseSetupScript("[Product]\r\nScope=Everyone\r\n").profile) == ScopeChoice::Machine);
    CHECK_FALSE(IsKnownScopeValue("Everyone"));
}

TEST_CASE("a user install: the first entry that needs the machine is named; registry keys move to HKEY_CURRENT_USER")
{
    CHECK_FALSE(UserScopeRefusal(ScriptOf("[CopyFile]\r\nFile1=(App)\\A.EXE\r\n[MakeFolder]\r\nFolder1=(App)\\Data\r\n")));
    CHECK(UserScopeRefusal(ScriptOf("[CopyFile]\r\nFile1=(App)\\A.EXE\r\nFile2=(sys)\\B.DLL,/R\r\nFile3=(Win)\\C.INI\r\n")) ==
          "[CopyFile] File2=(sys)\\B.DLL,/R");
    CHECK(UserScopeRefusal(ScriptOf("[CopyFile]\r\nFile1=(App)\\SHARED.DLL,/W/s\r\n")) ==
          "[CopyFile] File1=(App)\\SHARED.DLL,/W/s");
    CHECK(UserScopeRefusal(ScriptOf("[MakeFolder]\r\nFolder1=(Win)\\Orvane\r\n")) == "[MakeFolder] Folder1=(Win)\\Orvane");
    CHECK(UserScopeRefusal(ScriptOf("[IniFile]\r\nData1=S,K,V,(Win)\\A.INI\r\n")) == "[IniFile] Data1=S,K,V,(Win)\\A.INI");
    // A value that merely mentions the token is no file there.
    CHECK_FALSE(UserScopeRefusal(ScriptOf("[IniFile]\r\nData1=S,K,(Win),(App)\\A.INI\r\n")));
    CHECK(UserScopeRefusal(ScriptOf("[Registry]\r\nKey1=(Local)Software\\A\r\nName1=N\r\nValue1=(Str)1\r\n"
                                    "Key2=(Local)SYSTEM\\CurrentControlSet\\B\r\nName2=N\r\nValue2=(Str)1\r\n")) ==
          "[Registry] Key2=(Local)SYSTEM\\CurrentControlSet\\B");
    CHECK(UserScopeRefusal(ScriptOf("[DeleteRegistry]\r\nKey1=(Users).DEFAULT\\Software\\A\r\n")) ==
          "[DeleteRegistry] Key1=(Users).DEFAULT\\Software\\A");
    // "SoftwareX" is no key below Software.
    CHECK_FALSE(UserRegistryKey("(Local)SoftwareX\\A"));

    SetupScript script = ScriptOf("[Registry]\r\nKey1=(Local)\\SOFTWARE\\Orvane\\表示\\\r\nName1=N\r\nValue1=(Str)1\r\n"
                                  "Key2=(Class).ovv\r\nName2=\r\nValue2=(Str)x\r\nKey3=(Cuser)Software\\A\r\n"
                                  "Name3=N\r\nValue3=(Str)1\r\n[DeleteRegistry]\r\nKey1=(Local)Software\\Orvane\r\n"
                                  "Key2=(Class)ovvfile\r\n");
    MoveRegistryKeysToUser(script);
    REQUIRE(script.registry.size() == 3);
    CHECK(script.registry[0].key == "(Cuser)SOFTWARE\\Orvane\\表示");
    CHECK(script.registry[1].key == "(Cuser)Software\\Classes\\.ovv");
    CHECK(script.registry[2].key == "(Cuser)Software\\A");
    CHECK(script.deleteRegistry == std::vector<std::string>{"(Cuser)Software\\Orvane", "(Cuser)Software\\Classes\\ovvfile"});
}

TEST_CASE("the elevated run writes the log this run opened, whatever this run's line named")
{
    const std::wstring fresh = L"C:\\T\\Orvane Setup Log 2026-12-11 #001.txt";
    const auto relaunched = [](const std::wstring& line, const std::wstring& extra, const std::wstring& log) {
        return ParseCommandLine("SETUP.EXE " + ShiftJisFromWideForDisplay(ElevatedParameters(line, extra, log)));
    };
    // /LOG without a name: the elevated run must not start a second fresh log.
    RunOptions options = relaunched(L"\"C:\\配布\\SETUP.EXE\" /LOG /SILENT", L"/ALLUSERS", fresh);
    CHECK(options.fault.empty());
    CHECK(options.logFile == ShiftJisFromWideForDisplay(fresh));
    CHECK(options.presence == Presence::Silent);
    CHECK(options.scope == ScopeSwitch::AllUsers);
    // A named file this run passed over (it was no log) for one beside it.
    options = relaunched(L"SETUP.EXE /LOG=C:\\hosts /VERYSILENT", L"", L"C:\\hosts #001");
    CHECK(options.logFile == "C:\\hosts #001");
    CHECK(options.scope == ScopeSwitch::None);
    // No log: the line goes on as it was.
    CHECK(ElevatedParameters(L"SETUP.EXE /VERYSILENT", L"", L"") == L"/VERYSILENT");
}

TEST_CASE("a list of waiting changes cut short while a line was appended keeps only its whole lines")
{
    const std::vector<WaitingChange> changes = {{"C:\\App\\OVS1.tmp", "C:\\App\\表示.EXE"},
                                                {"C:\\App\\Old", ""}};
    const std::string text = WaitingListText(changes);
    CHECK(ParseWaitingList(text) == changes);
    // The last line lost its end, and with it part of its destination: moving
    // the waiting file there would put it under a wrong name.
    CHECK(ParseWaitingList(text + "C:\\App\\OVS2.tmp\tC:\\App\\VIE") == changes);
}
