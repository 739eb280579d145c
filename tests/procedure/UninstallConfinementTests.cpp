// A damaged record, or an author's typo in [AddDeleteFile], must not wipe the
// machine: patterns are honoured only inside the setup folder and the
// folders the install made, match files only, and everything refused is
// reported with its reason.
#include <doctest/doctest.h>

#include "UninstallFixture.h"
#include "services/ShellFolders.h"
#include "support/Utf8.h"

#include <windows.h>
#include <shlobj.h>

#include <set>

namespace {

// Every entry below `folder` (recursively when asked), as relative names.
std::set<std::string> EntriesBelow(const std::string& folder, bool recursive)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA data{};
    FindHandle find(FindFirstFileA((folder + "*").c_str(), &data));
    if (!find) return names;
    do {
        const std::string name = data.cFileName;
        if (name == "." || name == "..") continue;
        names.insert(name);
        if (recursive && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            for (const std::string& inner : EntriesBelow(folder + name + "\\", true)) names.insert(name + "\\" + inner);
    } while (FindNextFileA(find.Get(), &data));
    return names;
}

std::string Refusal(const std::string& tag, const std::string& path, const std::string& reason)
{
    return tag + path + "\r\n" + reason + "\r\n\r\n";
}

const std::string PatternOutside = "セットアップフォルダの外のワイルドカード指定のため，削除しませんでした．";

}  // namespace

TEST_CASE("wildcards and folders of a damaged record delete nothing outside the install; inside, files only")
{
    UninstallFixture fixture;
    const std::string windowsFolder = fixture.run.windows.Path();
    const std::string profile = GetSpecialFolder(CSIDL_PROFILE) + "\\";
    WriteTextFile(windowsFolder + "EXPLORER.EXE", "x");
    CreateDirectoryA((windowsFolder + "Fonts").c_str(), nullptr);
    WriteTextFile(windowsFolder + "Fonts\\A.TTF", "f");
    WriteTextFile(windowsFolder + "ORVSMPL.INI", "[a]\r\nb=c\r\n");
    // Inside the setup folder a pattern still works, on files alone.
    WriteTextFile(fixture.app / "A.TMP", "a");
    CreateDirectoryA((fixture.app / "DIR.TMP").c_str(), nullptr);
    WriteTextFile(fixture.app / "DIR.TMP\\KEEP.TXT", "k");

    const std::set<std::string> windowsBefore = EntriesBelow(windowsFolder, true);
    const std::set<std::string> rootBefore = EntriesBelow("C:\\", false);
    const std::set<std::string> profileBefore = EntriesBelow(profile, false);

    fixture.record.files = {windowsFolder + "*.*", windowsFolder + "ORVSMPL.INI"};
    const std::string windowsItself = windowsFolder.substr(0, windowsFolder.size() - 1);
    fixture.record.extraFiles = {"C:\\*.*", windowsItself, "RELATIVE.TXT", fixture.app / "*.TMP"};
    fixture.record.shortcuts = {profile + "*.*", fixture.elsewhere / "NOTE.TXT"};
    WriteTextFile(fixture.elsewhere / "NOTE.TXT", "n");
    ScriptedDialogs person;
    RunWatcher watcher(fixture.run);
    person.Answer(IDYES).Answer(IDOK);
    fixture.Uninstall();

    // The one file named outside went, as the install put it there.
    CHECK_FALSE(PathExists(windowsFolder + "ORVSMPL.INI"));
    std::set<std::string> windowsAfter = EntriesBelow(windowsFolder, true);
    windowsAfter.insert("ORVSMPL.INI");
    CHECK(windowsAfter == windowsBefore);
    CHECK(EntriesBelow("C:\\", false) == rootBefore);
    CHECK(EntriesBelow(profile, false) == profileBefore);
    CHECK(PathExists(fixture.elsewhere / "NOTE.TXT"));
    CHECK_FALSE(PathExists(fixture.app / "A.TMP"));
    CHECK(PathExists(fixture.app / "DIR.TMP\\KEEP.TXT"));

    REQUIRE(person.Boxes().size() == 2);
    CheckFailureQuestion(person.Boxes()[0]);
    const std::string report =
        Refusal("<File> ", windowsFolder + "*.*", PatternOutside) +
        Refusal("<File> ", "C:\\*.*", PatternOutside) +
        Refusal("<File> ", windowsItself, "システムまたはユーザーのフォルダのため，削除しませんでした．") +
        Refusal("<File> ", "RELATIVE.TXT", "絶対パスではないため，削除しませんでした．") +
        Refusal("<ShortCut> ", profile + "*.*", PatternOutside) +
        Refusal("<ShortCut> ", fixture.elsewhere / "NOTE.TXT", "ショートカットファイルではないため，削除しませんでした．");
    // The setup folder keeps the folder the pattern passed over.
    const std::string setupFolderKept = "<SetupFolder> " + fixture.app.Path() + "\r\n" +
                                        "フォルダにファイルが残っているため，セットアップフォルダを削除できませんでした．"
                                        "エクスプローラなどから，直接削除してください．\r\n";
    CHECK(Utf8(watcher.reportShown) == Utf8(report + setupFolderKept));
}
