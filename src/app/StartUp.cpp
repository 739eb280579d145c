// The start-up of a run as the person sees it: the main window's first
// activation prepares the run (mode, work folder, the copy of the script or
// record, its header) and shows the first screen from what it read.
#include "app/MainWindow.h"

#include "app/RunStart.h"
#include "engine/RunState.h"
#include "script/PathParts.h"
#include "script/ShortCutSection.h"
#include "services/FileOps.h"
#include "text/IniFile.h"
#include "text/Unicode.h"
#include "uninstall/OrphanedEntry.h"
#include "windows/MessageBox.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// A text file for a text box: its lines, whatever ends them, joined by
// CR LF as the text box shows them.
std::string LoadTextFile(const std::string& path)
{
    // Opened by its UTF-16 name: a narrow name would be read in the
    // system's code page.
    std::ifstream in(std::filesystem::path(WideFromShiftJis(path)), std::ios::binary);
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
    startUpBegun_ = true;
    // From here on the window closes only through quitButton.
    DisableCloseItem();
    const std::string errorText = PrepareRun(state_, argument, loadFolders(state_));
    TellOfEarlierJournal();
    if (!errorText.empty()) {
        if (!SetupMode(state_) && OfferOrphanedEntryRemoval(argument)) return;
        ShowFatalScreen(errorText);
        return;
    }

    ReadTitles();
    state_.repair = options_.repair;
    const InstalledComparison installed = LookForInstalledProduct(state_);
    if (!AcceptsInstalledVersion(installed)) return;
    // "(App)" stays as it is here: the setup folder is not known yet. An
    // upgrade or a repair starts on the folder of the installed product.
    folderBox.SetText(StartingSetupFolder(state_, options_.setupFolder, installed.DefaultFolder()));
    const bool enabled = state_.script.header.settingsChangeable;
    if (SetupMode(state_)) EnableShortcutBoxes(enabled);
    // /NOICONS clears the four shortcut boxes.
    if (SetupMode(state_) && options_.noIcons)
        for (CheckBox* box : {&desktopBox, &startMenuBox, &startUpBox, &sendToBox}) box->SetChecked(false);
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

// An older version than the installed one is installed only when the
// person says so (or /ALLOWDOWNGRADE did): it would mix the files of two
// versions and put the older version into the Add/Remove list. No ends the
// run before anything was changed. False when the run ended here.
bool MainWindow::AcceptsInstalledVersion(const InstalledComparison& installed)
{
    if (installed.order != VersionOrder::Older || options_.allowDowngrade) return true;
    const int answer = ShowMessageBox("このプログラムの新しいバージョン（" + installed.installed->version +
                                          "）が，\rすでにセットアップされています．\r\r" + "古いバージョン（" +
                                          state_.script.product.version + "）をセットアップしますか？\r" +
                                          "「いいえ」を選択すると，何も変更せずに終了します．",
                                      "セットアップ", MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2);
    if (answer == IDYES) {
        state_.log.Line("Question: install the older version anyway -> yes");
        return true;
    }
    state_.log.Line("Question: install the older version anyway -> no; nothing was changed");
    outcome_ = RunOutcome{RunEnd::DowngradeRefused, false};
    signals_.mayEndWithoutAsking = true;
    background_.SetEnabled(true);
    SetModalResult(1);
    return false;
}

// The person learns why files of an earlier setup may have gone, or why
// they may still be there.
void MainWindow::TellOfEarlierJournal()
{
    if (state_.undidInterruptedRun)
        ShowMessageBox("前回のセットアップが途中で終了していたため，そのセットアップで行った変更を元に戻しました．",
                       "セットアップ", MB_OK | MB_ICONINFORMATION);
    if (!state_.journalKeptAside.empty())
        ShowMessageBox("前回のセットアップの変更の記録が正しくないため，\r変更を元に戻しませんでした．\r"
                       "記録は次のファイルに残してあります．\r\r" + state_.journalKeptAside,
                       "セットアップ", MB_OK | MB_ICONEXCLAMATION);
}

// The record is gone but the Add/Remove list still names it: the person may
// remove that entry, which nothing else ever could. True when the run ended
// here (the entries removed, or not); false when the person declined, and
// the fatal screen tells why nothing else can be done.
bool MainWindow::OfferOrphanedEntryRemoval(const std::string& record)
{
    const std::vector<std::string> entries = OrphanedEntriesOf(record, state_.scope);
    if (entries.empty()) return false;
    const int answer = ShowMessageBox(record + "\r\r" + "アンセットアップ情報ファイルが見つかりません．\r" +
                                          "プログラムのフォルダが削除されたか，移動されています．\r\r" +
                                          "「アプリケーションの追加と削除」から\r" + "このプログラムの登録を削除しますか？",
                                      "アンセットアップ", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return false;
    const bool allRemoved = RemoveOrphanedEntries(entries, state_.scope, state_.log);
    if (allRemoved)
        ShowMessageBox("「アプリケーションの追加と削除」から登録を削除しました．", "完了", MB_OK | MB_ICONINFORMATION);
    else
        ShowMessageBox("「アプリケーションの追加と削除」から登録を削除できませんでした．", "致命的エラー", MB_OK | MB_ICONHAND);
    outcome_ = RunOutcome{allRemoved ? RunEnd::Completed : RunEnd::Failed, false};
    signals_.mayEndWithoutAsking = true;
    background_.SetEnabled(true);
    SetModalResult(1);
    return true;
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
    ReadRunHeader(state_);
    // The title labels of the background keep their width from now on.
    for (Label* title : {&background_.bannerLabel1, &background_.bannerLabel2})
        title->SetWidth(background_.Width() - background_.Scale(24));
}

// A shortcut box becomes usable when it governs some entry of [ShortCut];
// the others stay checked and disabled.
void MainWindow::EnableShortcutBoxes(bool enabled)
{
    const ShortcutBoxes inUse = ShortcutBoxesInUse(state_.script.profile);
    desktopBox.SetEnabled(enabled && inUse.desktop);
    startMenuBox.SetEnabled(enabled && inUse.startMenu);
    startUpBox.SetEnabled(enabled && inUse.startUp);
    sendToBox.SetEnabled(enabled && inUse.sendTo);
}

void MainWindow::ShowMessageText()
{
    if (!SetupMode(state_)) {
        state_.topMessageText = "アンセットアップ(アンインストール)を行います．\r\r"
                                "開始するには，「アンセットアップ開始(S)」を選択してください．\r";
    } else {
        std::string text;
        for (const std::string& line : state_.script.header.topMessages) text += line + "\r";
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
    const ScriptHeader& header = state_.script.header;
    std::string readme = ReadmeName(header);
    if (!readme.empty()) readme = state_.sourceFolder + readme;
    quitButton.SetEnabled(true);
    if (FileExists(readme)) {
        ShowScreen(MainScreen::Readme);
        actionButton.SetEnabled(true);
        readmeBox.SetScrollBars(ReadmeScrollBars(header.readmeScrollBars));
        readmeBox.SetText(LoadTextFile(readme));
        readmeFrame.SetText(header.readmeTitle);
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
    shortcutFrame.SetHeight(optionGroup.Height() - Scale(24));

    const UninstallOffer offer = ReadUninstallOffer(state_);
    deleteAllForm_ = offer.deleteAllForm;
    if (deleteAllForm_) {
        desktopBox.SetText("アンセットアップ(アンインストール)フォルダ以下の全ファイル・フォルダ");
        desktopBox.SetWidth(shortcutFrame.Width() - Scale(16));
        desktopBox.SetChecked(true);
        desktopBox.SetEnabled(true);
        for (CheckBox* box : {&startMenuBox, &startUpBox, &sendToBox}) {
            box->SetChecked(false);
            box->SetVisible(false);
        }
    } else {
        const struct {
            CheckBox& box;
            const char* caption;
            bool enabled;
        } flags[] = {
            {desktopBox, "*.INIファイル", true},
            {startMenuBox, "*.GIDファイル", true},
            {startUpBox, "", false},
            {sendToBox, "", false},
        };
        for (size_t n = 0; n < std::size(flags); ++n) {
            flags[n].box.SetText(flags[n].caption);
            flags[n].box.SetChecked(offer.flags[n]);
            flags[n].box.SetEnabled(flags[n].enabled);
        }
    }
    uninstallInfoLabel.SetTop(desktopBox.Top() + desktopBox.Height() + Scale(2));
    uninstallInfoLabel.SetText("　アンセットアップ(アンインストール)フォルダの中で，"
                           "コピーされたファイル以外に追加削除するファイルをチェック(選択)してください．");
    uninstallInfoLabel.SetVisible(true);
    ShowReadme(false);
}
