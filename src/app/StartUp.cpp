// The start-up of a run: the main window's first activation fills the run
// state, chooses setup or uninstall mode, makes the work folder, copies the
// script or record into it, reads the header sections from that copy and
// prepares the first screen.
#include "app/MainWindow.h"
#include "app/WorkFolders.h"

#include "engine/RunState.h"
#include "install/ShortCutSection.h"
#include "record/SetupFolderList.h"
#include "services/FileOps.h"
#include "services/LocationTokens.h"
#include "services/RegistryKeys.h"
#include "services/Win32Registry.h"
#include "text/IniFile.h"
#include "text/IntegerText.h"
#include "text/PathParts.h"
#include "text/StrOp.h"
#include "text/ValueFields.h"

#include <fstream>
#include <iterator>

namespace {

std::string Header(const RunState& state, const std::string& section, const std::string& key,
                   const std::string& fallback = "")
{
    return ReadProfile(section, key, fallback, state.scriptPath);
}

// The first folder "OVTMP<n>" under the temporary folder that does not exist
// yet, created; the one numbered 99, as it is, when all exist.
std::string ChooseWorkFolder(const std::string& tempFolder)
{
    for (int n = 1; n <= WorkFolderLimit; ++n) {
        const std::string candidate = WorkFolderPath(tempFolder, n);
        if (!FolderExists(candidate)) {
            CreateFolderPath(candidate);
            return candidate;
        }
    }
    return WorkFolderPath(tempFolder, WorkFolderLimit);
}

// The pause between install steps. A value that is no integer would leave
// the start-up half done; it counts as the default, 400.
int32_t ReadSetupSpeed(const RunState& state)
{
    const int32_t speed = TextToInteger(Header(state, "Extend", "SetupSpeed", "400")).value_or(400);
    return speed < 1 ? 1 : speed;
}

// The string value that [DefaultFolder] ReferRegistry names,
// <root token><key path>[,<value name>], with the root token read as in the
// script's [Registry] keys; empty when its key or the value is missing.
std::string ReadRegistryValue(const std::string& text)
{
    const SplitText parts = SplitAtFirst(text, ",");
    const RegistryKeyName name = ParseRegistryKey(parts.before);
    const RegKey key = OpenRegKey(name.root, name.subKey);
    return key ? ReadRegString(key.Get(), parts.after) : std::string();
}

// A text file for a text box: its lines, whatever ends them, joined by
// CR LF as the text box shows them.
std::string LoadTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 16);
    for (size_t at = 0; at < bytes.size(); ++at) {
        const char byte = bytes[at];
        if (byte == '\r' || byte == '\n') {
            if (byte == '\r' && at + 1 < bytes.size() && bytes[at + 1] == '\n') ++at;
            text += "\r\n";
        } else {
            text += byte;
        }
    }
    return text;
}

ScrollBars ReadmeScrollBars(const std::string& value)
{
    if (value == "ssHorizontal") return ScrollBars::Horizontal;
    if (value == "ssBoth") return ScrollBars::Both;
    return ScrollBars::Vertical;
}

}  // namespace

void MainWindow::StartUp(const std::string& argument, const FolderLoader& loadFolders)
{
    // From here on the window closes only through quitButton.
    DisableCloseItem();
    std::string errorText = loadFolders(state_);

    state_.runMode = FileNamePart(argument) == "UNSETUP.INI" ? "UNSETUP" : "SETUP";
    state_.workFolder = ChooseWorkFolder(state_.tempFolder);
    // A work folder used as it was (all 99 taken) may hold the copy of
    // another run's script or record; it must never stand in for this run's.
    state_.scriptPath = state_.workFolder + (SetupMode(state_) ? "SETUP.INI" : "UNSETUP.INI");
    if (FileExists(state_.scriptPath)) {
        SetFileAttributesA(state_.scriptPath.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(state_.scriptPath.c_str());
    }
    if (SetupMode(state_)) {
        const std::string script = state_.sourceFolder + "SETUP.INI";
        if (FileExists(script)) CopyFileTo(script, state_.scriptPath);
    } else {
        CopyFileTo(argument, state_.scriptPath);
    }
    if (!FileExists(state_.scriptPath)) errorText += "【致命的エラー  →  iniファイル読み込み失敗】\r";
    if (!errorText.empty()) {
        ShowFatalScreen(errorText);
        return;
    }

    ReadTitles();
    // "(App)" stays as it is here: the setup folder is not known yet.
    folderBox.SetText(WithTrailingBackslash(ExpandTokens(ProposedFolder(), LocationsOf(state_))));
    const bool enabled = Header(state_, "Extend", "Enabled") != "False";
    if (SetupMode(state_)) EnableShortcutBoxes(enabled);
    ShowMessageText();
    if (SetupMode(state_)) {
        folderBox.SetEnabled(enabled);
        browseButton.SetEnabled(enabled);
        overwriteBox.SetEnabled(enabled);
    }
    ShowTitles();
    if (SetupMode(state_))
        ShowSetupScreen();
    else
        ShowUninstallScreen();
}

// No header section is read: the window keeps its caption "Orvane" and the
// background titles stay blank. The window closes without the quit question.
void MainWindow::ShowFatalScreen(const std::string& errorText)
{
    messageLabel.SetText(errorText + "\r" + "セットアップ・アンセットアップ(アンインストール)は続行できません．");
    // The mode is not known here: the caption is the setup's.
    screen_ = MainScreen::Fatal;
    actionButton.SetText("セットアップ開始(&S)");
    actionButton.SetEnabled(false);
    quitButton.SetText("終了(&E)");
    quitButton.SetEnabled(true);
    ShowReadme(false);
}

void MainWindow::ReadTitles()
{
    state_.topMessageText.clear();
    state_.setupSpeed = ReadSetupSpeed(state_);
    state_.setupTitle = Header(state_, "Title", "Setup", "Orvane");
    // The title labels of the background keep their width from now on.
    for (Label* title : {&background_.bannerLabel1, &background_.bannerLabel2})
        title->SetWidth(background_.Width() - 24);
    state_.unSetupTitle = Header(state_, "Title", "UnSetup", state_.setupTitle);
}

// Setup: the script's folder, else the folder an earlier install of the same
// program used, else the folder a registry value names. Uninstall: the
// record's setup folder.
std::string MainWindow::ProposedFolder()
{
    if (!SetupMode(state_)) return Header(state_, "SetupFolder", "Folder");
    std::string folder = Header(state_, "DefaultFolder", "Folder", "(Prg)\\");
    state_.programId = Header(state_, "ProgramID", "ID");
    folder = RememberedSetupFolder(state_.windowsFolder, state_.programId, folder);
    const std::string referRegistry = Header(state_, "DefaultFolder", "ReferRegistry");
    if (!referRegistry.empty()) {
        const std::string registered = ReadRegistryValue(referRegistry);
        if (!registered.empty()) folder = registered;
    }
    return folder;
}

// A shortcut box becomes usable when it governs some entry of [ShortCut],
// by the same rule the install decides with ("(Dsk)" and "(C_Dsk)" alike, a
// name of exactly "Default" under the Start menu box); the others stay
// checked and disabled. The scan ends at the first missing or empty name.
void MainWindow::EnableShortcutBoxes(bool enabled)
{
    for (int n = 1;; ++n) {
        const std::string name = Header(state_, "ShortCut", "Name" + std::to_string(n));
        if (name.empty()) break;
        switch (GoverningBox(name)) {
        case ShortcutBox::Desktop: desktopBox.SetEnabled(enabled); break;
        case ShortcutBox::StartMenu: startMenuBox.SetEnabled(enabled); break;
        case ShortcutBox::StartUp: startUpBox.SetEnabled(enabled); break;
        case ShortcutBox::SendTo: sendToBox.SetEnabled(enabled); break;
        case ShortcutBox::None: break;
        }
    }
}

void MainWindow::ShowMessageText()
{
    if (!SetupMode(state_)) {
        state_.topMessageText = "アンセットアップ(アンインストール)を行います．\r\r"
                                "開始するには，「アンセットアップ開始(S)」を選択してください．\r";
    } else {
        std::string text;
        for (int n = 1; n <= 5; ++n) text += Header(state_, "TopMessage", "Message" + std::to_string(n)) + "\r";
        if (text == "\r\r\r\r\r") text = "セットアップを行います．\r";
        state_.topMessageText = text + "\r" + "※　処理を開始する前に，必ずすべてのプログラムを終了させてください．";
    }
    messageLabel.SetText(state_.topMessageText);
}

void MainWindow::ShowTitles()
{
    const std::string& title = SetupMode(state_) ? state_.setupTitle : state_.unSetupTitle;
    background_.bannerLabel1.SetText(title);
    background_.bannerLabel2.SetText(title);
    SetText(title);
}

// The readme screen when the script's readme exists, else the settings.
void MainWindow::ShowSetupScreen()
{
    std::string readme = Header(state_, "Readme", "File");
    if (!readme.empty()) readme = state_.sourceFolder + WithoutLeadingBackslash(readme);
    quitButton.SetEnabled(true);
    if (FileExists(readme)) {
        ShowScreen(MainScreen::Readme);
        actionButton.SetEnabled(true);
        readmeBox.SetScrollBars(ReadmeScrollBars(Header(state_, "Readme", "ScrollBars", "ssVertical")));
        readmeBox.SetText(LoadTextFile(readme));
        readmeFrame.SetText(Header(state_, "Readme", "Title"));
        ShowReadme(true);
        actionButton.Focus();
    } else {
        ShowScreen(MainScreen::Settings);
        actionButton.SetEnabled(true);
        ShowReadme(false);
    }
}

// The uninstall settings: the folder read-only, and the extra-file boxes
// from the record's [UnSetupOption] CheckBox: "DeleteAll" (exactly) for
// everything below the folder, else four flags at characters 1, 3, 5 and 7.
void MainWindow::ShowUninstallScreen()
{
    folderGroup.SetText("アンセットアップ(アンインストール)フォルダ");
    folderBox.SetReadOnly(true);
    folderBox.SetEnabled(true);
    ShowScreen(MainScreen::Settings);
    actionButton.SetEnabled(true);
    quitButton.SetText("アンセットアップ終了(&E)");
    quitButton.SetEnabled(true);

    optionGroup.SetText("アンセットアップ(アンインストール)オプション");
    overwriteBox.SetVisible(false);
    shortcutFrame.SetText("ファイルの追加削除");
    shortcutFrame.SetTop(overwriteBox.Top());
    shortcutFrame.SetHeight(optionGroup.Height() - 24);

    const std::string options = Header(state_, "UnSetupOption", "CheckBox", "0,0,0,0");
    deleteAllForm_ = options == "DeleteAll";
    if (deleteAllForm_) {
        desktopBox.SetText("アンセットアップ(アンインストール)フォルダ以下の全ファイル・フォルダ");
        desktopBox.SetWidth(shortcutFrame.Width() - 16);
        desktopBox.SetChecked(true);
        desktopBox.SetEnabled(true);
        for (CheckBox* box : {&startMenuBox, &startUpBox, &sendToBox}) {
            box->SetChecked(false);
            box->SetVisible(false);
        }
    } else {
        // A flag beyond the end of the value counts as not set.
        const struct {
            CheckBox& box;
            const char* caption;
            int position;
            bool enabled;
        } flags[] = {
            {desktopBox, "*.INIファイル", 1, true},
            {startMenuBox, "*.GIDファイル", 3, true},
            {startUpBox, "", 5, false},
            {sendToBox, "", 7, false},
        };
        for (const auto& flag : flags) {
            flag.box.SetText(flag.caption);
            flag.box.SetChecked(MidStr(LeftStr(options, flag.position), flag.position) == "1");
            flag.box.SetEnabled(flag.enabled);
        }
    }
    uninstallInfoLabel.SetTop(desktopBox.Top() + desktopBox.Height() + 2);
    uninstallInfoLabel.SetText("　アンセットアップ(アンインストール)フォルダの中で，"
                           "コピーされたファイル以外に追加削除するファイルをチェック(選択)してください．");
    uninstallInfoLabel.SetVisible(true);
    ShowReadme(false);
}
