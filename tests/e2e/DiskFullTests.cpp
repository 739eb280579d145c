// SETUP.EXE installing onto a drive that fills up: a small file system that
// tools/test.sh mounts and maps as a drive of the prefix (ORVANE_SMALL_DRIVE).
// No copy cut short stays behind, the completion never points to
// Add/Remove Programs without a record to remove the install by, and an
// install without its record, or a failed unattended one, is undone.
#include <doctest/doctest.h>

#include "ScreenExpectations.h"
#include "driver/Driver.h"
#include "services/SystemErrorText.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "windows/ControlIds.h"

#include <windows.h>

#include <cstdlib>
#include <set>

namespace {

constexpr uint64_t KiB = 1024;
const std::string EntryKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneDiskFull";

uint64_t FreeBytes(const std::string& folder)
{
    ULARGE_INTEGER available{};
    REQUIRE(GetDiskFreeSpaceExA(folder.c_str(), &available, nullptr, nullptr));
    return available.QuadPart;
}

// Writes `path` until the drive is full, or `bytes` long: what fits.
void Fill(const std::string& path, uint64_t bytes)
{
    FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    REQUIRE(file);
    const std::string block(4 * KiB, 'f');
    DWORD written = 0;
    for (uint64_t done = 0; done < bytes; done += written) {
        const DWORD chunk = static_cast<DWORD>(std::min<uint64_t>(block.size(), bytes - done));
        if (!WriteFile(file.Get(), block.data(), chunk, &written, nullptr) || written == 0) break;
    }
    // The last page may still take a few bytes.
    while (bytes == UINT64_MAX && WriteFile(file.Get(), "f", 1, &written, nullptr) && written == 1) {
    }
}

std::set<std::string> NamesIn(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA found{};
    FindHandle search(FindFirstFileA((folder + "*").c_str(), &found));
    if (!search) return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") names.insert(name + ":" + std::to_string(found.nFileSizeLow));
    } while (FindNextFileA(search.Get(), &found));
    return names;
}

struct DiskFullRun {
    std::string drive;
    std::string app;
    ScratchFolder distribution{"full-dist"};
    ScratchFolder temp{"full-tmp"};
    std::string uninstaller = WindowsFolder() + "UNOVSET.EXE";
    bool uninstallerBefore = PathExists(uninstaller);

    explicit DiskFullRun(const std::string& driveLetter) : drive(driveLetter), app(driveLetter + "\\App\\")
    {
        RemoveTree(app);
        DeleteFileA((drive + "\\FILLER").c_str());
        REQUIRE(CreateDirectoryA(app.c_str(), nullptr));
        REQUIRE(CopyFixture(ProgramFolder() + "SETUP.EXE", distribution / "SETUP.EXE"));
    }
    ~DiskFullRun()
    {
        RemoveTree(app);
        DeleteFileA((drive + "\\FILLER").c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, EntryKey.c_str());
        if (!uninstallerBefore) DeleteFileA(uninstaller.c_str());
    }

    void Script(const std::vector<std::pair<std::string, uint64_t>>& files) const
    {
        std::string script = "[Title]\r\nUnSetup=OrvaneDiskFull\r\n[DefaultFolder]\r\nFolder=" + app + "\r\n[CopyFile]\r\n";
        int n = 0;
        for (const auto& [name, size] : files) {
            WriteTextFile(distribution / name, std::string(size, static_cast<char>('a' + n)));
            script += "File" + std::to_string(++n) + "=(App)" + name + "\r\n";
        }
        WriteTextFile(distribution / "SETUP.INI", script);
    }

    // Starts SETUP.EXE, starts the setup, goes on when space is short, and
    // gives back the failure report that the details show.
    std::string InstallAndReadReport(SetupProcess& setup) const
    {
        HWND main = ExpectMainScreen(setup, "セットアップ開始(&S)");
        Press(ControlOf(main, MainIds::actionButton));
        // The free-space question, where the system tells the drive's space.
        HWND box = WaitForAnyBox(setup.Id());
        if (box != nullptr && MessageBoxText(box).rfind("ディスクの空き容量が不足", 0) == 0) CHECK(AnswerAndWait(box, IDYES));
        CHECK(AnswerAndWait(ExpectBox(setup, {"警告", "フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r"
                                                      "詳細を表示しますか？"}),
                            IDYES));
        HWND details = ExpectMainScreen(setup, "続行(&C)");
        const std::string report = TextOf(ControlOf(details, MainIds::readmeBox));
        Press(ControlOf(details, MainIds::actionButton));
        return report;
    }
};

std::string DiskFullBlock(const std::string& path)
{
    return "<File> " + path + "\r\n" + SystemErrorText(ERROR_DISK_FULL) + "\r\n";
}

}  // namespace

TEST_CASE("a drive that fills up: no file cut short or empty, and no pointer to Add/Remove without a record")
{
    const char* drive = std::getenv("ORVANE_SMALL_DRIVE");
    if (drive == nullptr || FreeBytes(std::string(drive) + "\\") > 64 * 1024 * KiB) {
        WARN_MESSAGE(false, "no small drive is mapped (tools/test.sh mounts one as root): not run");
        return;
    }
    DiskFullRun run(drive);

    SUBCASE("half-way: the files that fit are whole, the one that did not is gone, the record is written")
    {
        Fill(run.drive + "\\FILLER", FreeBytes(run.app) - 600 * KiB);
        run.Script({{"A.DAT", 150 * KiB}, {"B.DAT", 600 * KiB}, {"C.DAT", 150 * KiB}});
        SetupProcess setup(run.distribution / "SETUP.EXE", "", run.temp.Path());
        REQUIRE(setup.Started());
        const std::string report = run.InstallAndReadReport(setup);
        CHECK(Utf8(report) == Utf8(DiskFullBlock(run.app + "B.DAT")));
        CHECK(AnswerAndWait(ExpectBox(setup, {"完了", "セットアップが完了しました．\r\rプログラムのアンセットアップ(アンインストール)は，\r"
                                                      "「アプリケーションの追加と削除」から行ってください．"}),
                            IDOK));
        REQUIRE(setup.WaitForExit());
        const std::set<std::string> names = NamesIn(run.app);
        CHECK(names.count("A.DAT:" + std::to_string(150 * KiB)) == 1);
        CHECK(names.count("C.DAT:" + std::to_string(150 * KiB)) == 1);
        CHECK(names.size() == 3);  // and UNSETUP.INI
        CHECK(PathExists(run.app + "UNSETUP.INI"));
    }
    SUBCASE("full from the start: no record can be written, so the install is undone and the person told why")
    {
        Fill(run.drive + "\\FILLER", UINT64_MAX);
        run.Script({{"A.DAT", 20 * KiB}, {"B.DAT", 1}});
        SetupProcess setup(run.distribution / "SETUP.EXE", "", run.temp.Path());
        REQUIRE(setup.Started());
        const std::string report = run.InstallAndReadReport(setup);
        const std::string record = run.app + "UNSETUP.INI";
        CHECK(Utf8(report) == Utf8(DiskFullBlock(run.app + "A.DAT") + DiskFullBlock(run.app + "B.DAT") +
                                   "<SetupFile> " + record + "\r\n" + SystemErrorText(ERROR_DISK_FULL) + "\r\n" +
                                   "<SetupFile> " + record + "\r\n" +
                                   "アンセットアップ情報を書き込めなかったため，セットアップで行った変更を元に戻しました．\r\n\r\n"));
        CHECK(AnswerAndWait(ExpectBox(setup, {"致命的エラー", "セットアップを続行できませんでした．"}), IDOK));
        REQUIRE(setup.WaitForExit());
        CHECK(NamesIn(run.app).empty());
        CHECK(PathExists(run.app));  // it was there before the run
        CHECK(PathExists(run.uninstaller) == run.uninstallerBefore);
        HKEY key = nullptr;
        CHECK(RegOpenKeyExA(HKEY_LOCAL_MACHINE, EntryKey.c_str(), 0, KEY_READ, &key) == ERROR_FILE_NOT_FOUND);
    }
    SUBCASE("unattended, half-way: the files that fitted are removed again, 1603, and the log says why")
    {
        Fill(run.drive + "\\FILLER", FreeBytes(run.app) - 600 * KiB);
        run.Script({{"A.DAT", 150 * KiB}, {"B.DAT", 600 * KiB}, {"C.DAT", 150 * KiB}});
        const std::string log = run.temp / "run.log";
        const std::string command = Quoted(run.distribution / "SETUP.EXE") + " /S /NORESTART /LOG=" + Quoted(log);
        SetupProcess setup(ExactCommandLine{command}, run.temp.Path());
        REQUIRE(setup.Started());
        REQUIRE(setup.WaitForExit(60000));
        const std::string text = ReadTextFile(log);
        INFO(text);
        CHECK(setup.ExitCode() == 1603);
        CHECK(NamesIn(run.app).empty());
        CHECK(text.find(Utf8("Copy failed: " + run.app + "B.DAT")) != std::string::npos);
        CHECK(text.find(Utf8("Undone: file removed: " + run.app + "A.DAT")) != std::string::npos);
        CHECK(text.find("Install undone") != std::string::npos);
        HKEY key = nullptr;
        CHECK(RegOpenKeyExA(HKEY_LOCAL_MACHINE, EntryKey.c_str(), 0, KEY_READ, &key) == ERROR_FILE_NOT_FOUND);
    }
    SUBCASE("unattended: short of space, the run stops before copying and ends with 112")
    {
        Fill(run.drive + "\\FILLER", FreeBytes(run.app) - 100 * KiB);
        run.Script({{"A.DAT", 300 * KiB}});
        // Written with the backslash after "(App)", from which the size is
        // measured before the copy.
        WritePrivateProfileStringA("CopyFile", "File1", "(App)\\A.DAT", (run.distribution / "SETUP.INI").c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, (run.distribution / "SETUP.INI").c_str());
        const std::string command = Quoted(run.distribution / "SETUP.EXE") + " /S /LOG=" + Quoted(run.temp / "run.log");
        SetupProcess setup(ExactCommandLine{command}, run.temp.Path());
        REQUIRE(setup.Started());
        REQUIRE(setup.WaitForExit(60000));
        INFO(ReadTextFile(run.temp / "run.log"));
        CHECK(setup.ExitCode() == 112);
        CHECK(NamesIn(run.app).empty());
    }
}
