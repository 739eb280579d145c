// Brings each screen of the program up in turn for tools/screenshots.sh:
// the question for whom to install, the main window's readme, settings (with the boxes that refuse a setup
// folder), uninstall (with the offer to remove an orphaned entry) and fatal
// screens on
// SETUP.EXE processes, then the progress window and the confirmation dialog
// on the same windows in this process, held at rest with contents of its
// own (the sample walk-through of tools/run.sh shows them in a real run).
// Before each screen it prints "SHOT <name>" and waits for a line on its
// input, while the caller takes the picture.
#include "app/SetupForms.h"
#include "app/SystemFolders.h"
#include "driver/Driver.h"
#include "support/Fixtures.h"
#include "windows/ControlIds.h"
#include "windows/MessagePump.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void Shot(const char* name)
{
    std::printf("SHOT %s\n", name);
    std::fflush(stdout);
    char line[16];
    if (std::fgets(line, sizeof line, stdin) == nullptr) ExitProcess(1);
}

// A fresh folder under the temporary folder.
std::string MakeFolder(const std::string& name)
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

const std::string Script =
    "[Title]\r\nSetup=表示ソフト Ver 2.0\r\nUnSetup=表示ソフト Ver 2.0 の削除\r\n"
    "[TopMessage]\r\nMessage1=表示ソフト Ver 2.0 をセットアップします．\r\n"
    "Message2=セットアップ先のフォルダを確認して，「セットアップ開始」を押してください．\r\n"
    "[DefaultFolder]\r\nFolder=(Prg)\\表示ソフト\r\n"
    "[ShortCut]\r\nName1=(Dsk)\\表示ソフト\r\nName2=(Sta)\\表示ソフト\\表示ソフト\r\n"
    "[Readme]\r\nFile=README.TXT\r\nTitle=表示ソフト Ver 2.0 について\r\n";

const std::string Readme =
    "表示ソフト Ver 2.0\r\n\r\n"
    "このソフトウェアは画像を表示するためのものです．\r\n"
    "セットアップを続けるには「セットアップ続行」を押してください．\r\n";

void QuitWithYes(SetupProcess& setup, HWND main)
{
    Press(ControlOf(main, MainIds::quitButton));
    if (HWND box = WaitForMessageBox(setup.Id(), "終了確認")) Answer(box, IDYES);
    setup.WaitForExit();
}

HWND SettledMain(SetupProcess& setup, const std::string& eventCaption)
{
    HWND main = nullptr;
    WaitUntil([&] {
        main = FindWindowOf(setup.Id(), "TfrmMain");
        return main != nullptr && TextOf(ControlOf(main, MainIds::actionButton)) == eventCaption;
    });
    PaintNow(FindWindowOf(setup.Id(), "TfrmBack"));
    PaintNow(main);
    return main;
}

void MainScreens(const std::string& distribution, const std::string& temp)
{
    const std::string program = distribution + "SETUP.EXE";
    {
        // A script that may install for every user or for one: the
        // question comes before anything else.
        const std::string either = MakeFolder("orvtour-either");
        CopyFileA(program.c_str(), (either + "SETUP.EXE").c_str(), FALSE);
        WriteFile(either + "SETUP.INI", Script + "[Product]\r\nScope=Either\r\nVersion=2.0\r\n");
        SetupProcess setup(either + "SETUP.EXE", "", temp);
        HWND dialog = nullptr;
        WaitUntil([&] {
            dialog = FindWindowOf(setup.Id(), WindowClassNames::ScopeDialog);
            return dialog != nullptr && IsWindowVisible(dialog);
        });
        PaintNow(dialog);
        Shot("0-scope");
        Press(ControlOf(dialog, ScopeDialogIds::cancelButton));
        setup.WaitForExit();
    }
    {
        SetupProcess setup(program, "", temp);
        HWND main = SettledMain(setup, "セットアップ続行(&C)");
        Shot("1-readme");
        Press(ControlOf(main, MainIds::actionButton));
        SettledMain(setup, "セットアップ開始(&S)");
        Shot("2-settings");
        // A folder typed without its drive is refused before anything is made.
        SendMessageA(ControlOf(main, MainIds::folderBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("表示ソフト\\"));
        Press(ControlOf(main, MainIds::actionButton));
        if (HWND box = WaitForMessageBox(setup.Id(), "フォルダ指定エラー")) {
            PaintNow(box);
            Shot("2b-folder-refused");
            Answer(box, IDOK);
        }
        // So is the Windows folder, and a folder that holds another
        // program's uninstall record.
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        const std::string other = MakeFolder("orvtour-other");
        WriteFile(other + "UNSETUP.INI", "[Title]\r\nUnSetup=画像ビューア Ver 1.5\r\n[SetupFolder]\r\nFolder=" + other +
                                            "\r\n[UnSetupRegistryKey]\r\n"
                                            "Key=SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneTourOther\r\n");
        const struct {
            std::string folder;
            const char* shot;
        } refused[] = {{std::string(windows) + "\\", "2c-folder-refused-system"}, {other, "2d-folder-refused-other"}};
        for (const auto& [folder, shot] : refused) {
            SendMessageA(ControlOf(main, MainIds::folderBox), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
            Press(ControlOf(main, MainIds::actionButton));
            if (HWND box = WaitForMessageBox(setup.Id(), "フォルダ指定エラー")) {
                PaintNow(box);
                Shot(shot);
                Answer(box, IDOK);
            }
        }
        QuitWithYes(setup, main);
    }
    {
        // Version 2.0 is installed, and this distribution holds 1.5: the
        // person is asked before the older version goes in (No here).
        const std::string older = MakeFolder("orvtour-older");
        const std::string installed = MakeFolder("orvtour-installed");
        CopyFileA(program.c_str(), (older + "SETUP.EXE").c_str(), FALSE);
        std::string script = Script;
        for (size_t at; (at = script.find("Ver 2.0")) != std::string::npos;) script.replace(at, 7, "Ver 1.5");
        script.insert(script.find("\r\n") + 2, "UnSetupKey=OrvaneTourVersions\r\n");
        WriteFile(older + "SETUP.INI", script + "[Product]\r\nVersion=1.5\r\n");
        WriteFile(installed + "UNSETUP.INI", "[Title]\r\nUnSetup=表示ソフト Ver 2.0 の削除\r\n");
        const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneTourVersions";
        HKEY entry = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &entry, nullptr);
        for (const auto& [name, value] : {std::pair<const char*, std::string>{"DisplayVersion", "2.0"},
                                          std::pair<const char*, std::string>{"InstallLocation", installed}})
            RegSetValueExA(entry, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                           static_cast<DWORD>(value.size() + 1));
        RegCloseKey(entry);
        SetupProcess setup(older + "SETUP.EXE", "", temp);
        if (HWND box = WaitForMessageBox(setup.Id(), "セットアップ")) {
            PaintNow(box);
            Shot("2e-downgrade");
            Answer(box, IDNO);
        }
        setup.WaitForExit();
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    }
    {
        const std::string setupFolder = MakeFolder("orvtour-app");
        WriteFile(setupFolder + "UNSETUP.INI", "[Title]\r\nSetup=表示ソフト Ver 2.0\r\nUnSetup=表示ソフト Ver 2.0 の削除\r\n"
                                               "[SetupFolder]\r\nFolder=C:\\Program Files\\表示ソフト\\\r\n"
                                               "[UnSetupOption]\r\nCheckBox=1,0,0,0\r\n");
        SetupProcess setup(program, setupFolder + "UNSETUP.INI", temp);
        HWND main = SettledMain(setup, "アンセットアップ開始(&S)");
        Shot("3-uninstall");
        QuitWithYes(setup, main);
    }
    {
        // An Add/Remove entry whose record is gone: the uninstall offers to
        // remove it (declined here; the fatal screen follows).
        const std::string gone = MakeFolder("orvtour-gone") + "UNSETUP.INI";
        const std::string key = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneTourOrphan";
        HKEY entry = nullptr;
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &entry, nullptr);
        const std::string command = "C:\\windows\\UNOVSET.EXE \"" + gone + "\"";
        RegSetValueExA(entry, "UninstallString", 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
        RegCloseKey(entry);
        SetupProcess setup(program, gone, temp);
        if (HWND box = WaitForMessageBox(setup.Id(), "アンセットアップ")) {
            PaintNow(box);
            Shot("3b-orphaned-entry");
            Answer(box, IDNO);
        }
        HWND main = SettledMain(setup, "セットアップ開始(&S)");
        Press(ControlOf(main, MainIds::quitButton));
        setup.WaitForExit();
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
    }
    {
        const std::string empty = MakeFolder("orvtour-fatal");
        CopyFileA(program.c_str(), (empty + "SETUP.EXE").c_str(), FALSE);
        SetupProcess setup(empty + "SETUP.EXE", "", temp);
        HWND main = SettledMain(setup, "セットアップ開始(&S)");
        Shot("4-fatal");
        Press(ControlOf(main, MainIds::quitButton));
        setup.WaitForExit();
    }
    {
        // A script saved as UTF-16: the fatal screen says so.
        const std::string utf16 = MakeFolder("orvtour-utf16");
        CopyFileA(program.c_str(), (utf16 + "SETUP.EXE").c_str(), FALSE);
        std::string bytes = "\xFF\xFE";
        for (const char c : std::string("[Title]\r\nSetup=Tour\r\n")) bytes += std::string(1, c) + '\0';
        WriteFile(utf16 + "SETUP.INI", bytes);
        SetupProcess setup(utf16 + "SETUP.EXE", "", temp);
        HWND main = SettledMain(setup, "セットアップ開始(&S)");
        Shot("4b-fatal-script");
        Press(ControlOf(main, MainIds::quitButton));
        setup.WaitForExit();
    }
}

// Lets the windows paint everything before a picture.
void Settle()
{
    for (int round = 0; round < 5; ++round) {
        ProcessMessages();
        GdiFlush();
        Sleep(50);
    }
}

SetupForms* tourForms = nullptr;

// Runs inside the main window's modal run, as a procedure would.
void CALLBACK ProcedureScreens(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    WindowsCallback& run = tourForms->runWindows;
    run.ShowMain(false);
    run.PrepareCompletionLayout();
    run.ShowProgress(true);
    run.SetStatus("ファイルをコピーしています．．．\rCopying -> C:\\Program Files\\表示ソフト\\VIEWER.EXE");
    run.ShowProgressFrame(true);
    run.SetProgressText(std::to_string(run.SetProgressPosition(40)) + "%(2/5)");
    run.EnableAbort(true);
    Settle();
    Shot("5-progress");

    run.EnableAbort(false);
    run.ShowProgressFrame(false);
    run.SetStatus("アンセットアップ(アンインストール)を行っています．．．");
    SharedFileDialog& dialog = tourForms->sharedFileDialog;
    dialog.messageLabel.SetText("C:\\WINDOWS\\SYSTEM\\VIEWCTL.OCX\r\r"
                              "この共有ファイルは，現在，他のどのプログラムからも使われていません．\r"
                              "しかし，今後，他のプログラムで使われる可能性があります．\r"
                              "このファイルを削除してもよろしいですか？");
    dialog.Show();
    Settle();
    Shot("6-confirm");
    dialog.Hide();
    run.CloseProgress();
    run.EndRun();
}

void ProcedureWindows(const std::string& distribution, const std::string& temp)
{
    RunState state;
    SetupForms forms(state);
    tourForms = &forms;
    forms.mainWindow.StartUp("", [&](RunState& state) {
        const std::string errors = LoadSystemFolders(state);
        state.sourceFolder = distribution;
        state.tempFolder = temp;
        return errors;
    });
    SetTimer(nullptr, 0, 300, &ProcedureScreens);
    forms.backdrop.ShowMaximized();
    tourForms = nullptr;
}

}  // namespace

// The progress window and the confirmation dialog are shown by this
// process: it is as aware of the display scale as SETUP.EXE's manifest
// makes SETUP.EXE.
void BecomeDpiAware()
{
    using SetContext = BOOL(WINAPI*)(HANDLE);
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    auto set = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    if (set != nullptr) set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));
}

int main()
{
    BecomeDpiAware();
    CoInitialize(nullptr);
    const std::string distribution = MakeFolder("orvtour-dist");
    const std::string temp = MakeFolder("orvtour-tmp");
    CopyFileA((ProgramFolder() + "SETUP.EXE").c_str(), (distribution + "SETUP.EXE").c_str(), FALSE);
    WriteFile(distribution + "SETUP.INI", Script);
    WriteFile(distribution + "README.TXT", Readme);
    MainScreens(distribution, temp);
    ProcedureWindows(distribution, temp);
    std::printf("END\n");
    std::fflush(stdout);
    CoUninitialize();
    return 0;
}
