#include "app/WindowsCallback.h"

#include "app/StatusTexts.h"
#include "engine/RunState.h"
#include "services/Clock.h"
#include "windows/ErrorGuard.h"
#include "windows/MessageBox.h"
#include "windows/MessagePump.h"
#include "windows/UserDialogs.h"

namespace {

constexpr UINT Question = MB_YESNO | MB_ICONQUESTION;
constexpr const char* DeletionCaption = "ファイル削除の確認";

std::string ShortSpaceQuestion(bool freeSpaceKnown, int64_t neededBytes)
{
    if (freeSpaceKnown) {
        return "ディスクの空き容量が不足しているため，エラーになる可能性があります．\r"
               "このままセットアップを続行しますか？";
    }
    return "ディスクの空き容量取得関数が失敗しました．\rセットアップに必要なディスク容量は " + std::to_string(neededBytes) +
           " Byteです．" + "\r" + "空き容量があるようであれば，セットアップを続行してください．" + "\r\r" +
           "セットアップを続行しますか？";
}

// Why the folder is refused, and what the person may do, in two short lines.
std::string SetupFolderRefusalText(const SetupFolderRefusal& refusal)
{
    const std::string cannot = "このフォルダにはセットアップできません．\r";
    switch (refusal.reason) {
    case FolderRefusal::NotAbsolute: break;
    case FolderRefusal::TokenLeft: return cannot + "置き換えられないキーワード（括弧）が含まれています．";
    case FolderRefusal::BadCharacter: return cannot + "フォルダ名に使えない文字が含まれています．";
    case FolderRefusal::TooLong: return cannot + "フォルダ名が長すぎます．";
    case FolderRefusal::Unrepresentable: return cannot + "シフトJISで表せない文字が含まれています．";
    case FolderRefusal::SystemPlace: return cannot + "システムまたはユーザーのフォルダです．\r別のフォルダを指定してください．";
    case FolderRefusal::OtherProduct:
        return cannot + "次のプログラムがセットアップされています．\r　" + refusal.otherProduct + "\r" +
               "別のフォルダを指定してください．";
    }
    return cannot + "ドライブ名（C:\\など）から始まるフォルダを指定してください．";
}

std::string RegistrationFailureText(RegistrationFailure failure)
{
    switch (failure) {
    case RegistrationFailure::NotLoaded: return "の読み込みに失敗しました．";
    case RegistrationFailure::NoRegisterEntry: return "のDllRegisterServerエントリが見つかりません．";
    case RegistrationFailure::RegisterFailed: break;
    }
    return "のDllRegisterServer関数が失敗しました．";
}

std::string CautionQuestion(const std::string& path)
{
    return path + "\r\r" + "このファイルを削除してもよろしいですか？" + "\r\r" + "<<　注意　>>" + "\r" +
           "DLL/OCXなどは他のプログラムでも使用される可能性があります．" + "\r" +
           "確実に使用されないことがわかっている場合のみ削除してください．";
}

std::string UncountedComponentQuestion(const std::string& path)
{
    return path + "\r\r" + "このDLL/OCXファイルは，共有登録されていませんが，" + "\r" +
           "今後，他のプログラムで使われる可能性があります．" + "\r" + "このファイルを削除してもよろしいですか？";
}

std::string SharedFileQuestion(const std::string& path)
{
    return path + "\r\r" + "この共有ファイルは，現在，他のどのプログラムからも使われていません．" + "\r" +
           "しかし，今後，他のプログラムで使われる可能性があります．" + "\r" + "このファイルを削除してもよろしいですか？";
}

}  // namespace

unsigned long ProgressWindowPause(RunKind kind)
{
    return kind == RunKind::Install ? 500 : 0;
}

// The first words of an install stay on the screen a moment.
unsigned long StatusPause(const StatusStep& step)
{
    return step.status == Status::InstallStarting ? 1000 : 0;
}

WindowsCallback::WindowsCallback(Backdrop& back, MainWindow& main, ProgressWindow& status, SharedFileDialog& dialog,
                                 RunSignals& signals, const RunSettings& settings)
    : back_(back), main_(main), status_(status), dialog_(dialog), signals_(signals), settings_(settings)
{
}

InstallChoices WindowsCallback::TakeInstallChoices()
{
    const OptionSnapshot options = Options();
    return {FolderText(), options.overWrite, options.desktop, options.startMenu, options.startUp, options.sendTo};
}

// The option boxes, frozen: the first box is "*.INI" or, in the delete-all
// form (the other three hidden), everything; the second "*.GID"; the last
// two mean nothing to the uninstall.
UninstallChoices WindowsCallback::TakeUninstallChoices()
{
    DisableOptions();
    const OptionSnapshot options = Options();
    const bool deleteAllForm = DeleteAllForm();
    return {FolderText(), options.desktop && deleteAllForm, options.desktop && !deleteAllForm, options.startMenu};
}

void WindowsCallback::RunStarting(RunKind kind)
{
    ShowMain(false);
    if (const unsigned long pause = ProgressWindowPause(kind); pause > 0) Wait(pause);
    ShowProgress(true);
    PrepareCompletionLayout();
}

void WindowsCallback::ShowStatus(const StatusStep& step)
{
    SetStatus(StatusText(step));
    if (const unsigned long pause = StatusPause(step); pause > 0) Wait(pause);
}

void WindowsCallback::StepDone()
{
    Wait(static_cast<unsigned long>(settings_.setupSpeed));
}

void WindowsCallback::AllowAbort(bool allowed)
{
    EnableAbort(allowed);
}

void WindowsCallback::ShowCopyProgress(bool shown)
{
    ShowProgressFrame(shown);
}

void WindowsCallback::CopyProgressed(const CopyProgress& progress)
{
    SetCopyProgress(progress);
    ProcessMessages();
}

bool WindowsCallback::GoOnWithoutJournal(const std::string& journalPath)
{
    return ShowMessageBox(journalPath + "\r\r" + "変更の記録を作成できませんでした．\r" +
                              "このまま続けると，セットアップが途中で失敗したときに\r変更を元に戻せません．\r" +
                              "続行してもよろしいですか？",
                          "セットアップ", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

bool WindowsCallback::CreateSetupFolder(const std::string& folder)
{
    return ShowMessageBox(folder + "\r\r" + "このフォルダは存在しません．作成してもよろしいですか？", "フォルダ作成",
                          Question) == IDYES;
}

void WindowsCallback::SetupFolderNotCreated()
{
    ShowMessageBox("セットアップフォルダの作成に失敗しました．\r\rプログラム作者へご報告ください．", "致命的エラー",
                   MB_OK | MB_ICONHAND);
}

void WindowsCallback::SetupFolderRefused(const std::string& folder, const SetupFolderRefusal& refusal)
{
    ShowMessageBox(folder + "\r\r" + SetupFolderRefusalText(refusal), "フォルダ指定エラー", MB_OK | MB_ICONEXCLAMATION);
}

bool WindowsCallback::ContinueShortOfSpace(bool freeSpaceKnown, int64_t neededBytes)
{
    return ShowMessageBox(ShortSpaceQuestion(freeSpaceKnown, neededBytes), "空き容量不足", Question) != IDNO;
}

bool WindowsCallback::InsertDisk(int number, std::string&)
{
    return ShowMessageBox(std::to_string(number) + "枚目のディスクに交換してください．", "ディスク交換",
                          MB_OKCANCEL | MB_ICONINFORMATION) != IDCANCEL;
}

bool WindowsCallback::Overwrite(const std::string& path)
{
    return ShowMessageBox(path + "\r\r" + "このファイルは既に存在します．" + "\r" + "上書きしてもよろしいですか？",
                          "上書き確認", Question) != IDNO;
}

void WindowsCallback::ProgressByEntries()
{
    ShowMessageBox("ファイルサイズの取得に失敗したため，進行状況の表示方法を変更します．", "内部エラー",
                   MB_OK | MB_ICONEXCLAMATION);
}

bool WindowsCallback::Associate(const std::string& extension, const std::string& program)
{
    return ShowMessageBox("拡張子 *." + extension + " を\r" + program + "\rに関連付けします．よろしいですか？",
                          "関連付けの確認", Question) == IDYES;
}

void WindowsCallback::RegistrationFailed(const std::string& path, RegistrationFailure failure)
{
    ShowMessageBox(path + RegistrationFailureText(failure), "OCX/DLL登録エラー", MB_OK | MB_ICONEXCLAMATION);
}

void WindowsCallback::ProgramNotStarted()
{
    ShowMessageBox("終了後プログラムの起動に失敗しました．\riniファイルの記述ミスの可能性があります．\r"
                   "プログラム提供者へご報告ください．",
                   "警告", MB_OK | MB_ICONEXCLAMATION);
}

void WindowsCallback::SetupFolderUnknown()
{
    ShowMessageBox("アンセットアップ(アンインストール)フォルダが不明です．\r\nアンセットアップ(アンインストール)は続行できません．",
                   "致命的エラー", MB_OK | MB_ICONHAND);
}

bool WindowsCallback::DeleteWithCaution(const std::string& path)
{
    return ShowMessageBox(CautionQuestion(path), DeletionCaption, Question) == IDYES;
}

bool WindowsCallback::DeleteUncountedComponent(const std::string& path)
{
    return ShowMessageBox(UncountedComponentQuestion(path), DeletionCaption, Question) == IDYES;
}

// The dialog leaves its answer word in the hidden label: "Yes", "No",
// "Delete" (すべて削除) or "Save" (すべて保存).
// A dialog that ended without an answer keeps the file.
SharedFileAnswer WindowsCallback::AskSharedFile(const std::string& path)
{
    switch (AskConfirmation(SharedFileQuestion(path)).value_or(SharedFileButton::No)) {
    case SharedFileButton::Yes: return SharedFileAnswer::Delete;
    case SharedFileButton::No: return SharedFileAnswer::Keep;
    case SharedFileButton::DeleteAll: return SharedFileAnswer::DeleteAll;
    case SharedFileButton::KeepAll: return SharedFileAnswer::KeepAll;
    }
    return SharedFileAnswer::Keep;
}

bool WindowsCallback::OfferFailureReport(RunKind kind)
{
    const bool install = kind == RunKind::Install;
    ShowStatus({install ? Status::InstallPartlyFailed : Status::UninstallPartlyFailed});
    const std::string question = install ? "フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r詳細を表示しますか？"
                                         : "アンセットアップ(アンインストール)の過程で，一部の処理が失敗しました．\r詳細を表示しますか？";
    return ShowMessageBox(question, "警告", MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

// The install's details keep the scroll bars that the readme gave the box.
void WindowsCallback::ShowFailureReport(RunKind kind, const FailureReport& report)
{
    if (kind == RunKind::Install)
        ShowFailureDetails(report.Text(), "作成・コピー処理失敗　詳細表示", false);
    else
        ShowFailureDetails(report.Text(), "削除処理失敗　詳細表示", true);
}

void WindowsCallback::InstallCompleted(bool pointToAddRemove)
{
    ShowStatus({Status::InstallCompleted});
    std::string message = "セットアップが完了しました．";
    if (pointToAddRemove)
        message += "\r\rプログラムのアンセットアップ(アンインストール)は，\r「アプリケーションの追加と削除」から行ってください．";
    ShowMessageBox(message, "完了", MB_OK | MB_ICONINFORMATION);
}

void WindowsCallback::UninstallCompleted()
{
    ShowStatus({Status::UninstallCompleted});
    ShowMessageBox("アンセットアップを完了しました．", "完了", MB_OK | MB_ICONINFORMATION);
}

void WindowsCallback::ReportError(const std::string& message)
{
    ShowErrorMessage(message);
}

void WindowsCallback::Abandon(StopCause cause)
{
    ShowMessageBox("セットアップを続行できませんでした．", cause == StopCause::Fatal ? "致命的エラー" : "セットアップ中止",
                   MB_OK | MB_ICONHAND);
    EndRun();
}

void WindowsCallback::FinishRun()
{
    EnableBackground();
    CloseProgress();
    EndRun();
}

std::string WindowsCallback::FolderText()
{
    return main_.folderBox.Text();
}

OptionSnapshot WindowsCallback::Options()
{
    return {main_.overwriteBox.Checked(), main_.desktopBox.Checked(), main_.startMenuBox.Checked(),
            main_.startUpBox.Checked(), main_.sendToBox.Checked()};
}

bool WindowsCallback::DeleteAllForm()
{
    return main_.DeleteAllForm();
}

void WindowsCallback::DisableOptions()
{
    for (CheckBox* box : {&main_.desktopBox, &main_.startMenuBox, &main_.startUpBox, &main_.sendToBox})
        box->SetEnabled(false);
}

void WindowsCallback::ShowMain(bool visible)
{
    if (visible)
        main_.Show();
    else
        main_.Hide();
}

void WindowsCallback::PrepareCompletionLayout()
{
    main_.quitButton.SetVisible(false);
    main_.actionButton.SetLeft((main_.ClientWidth() - main_.actionButton.Width()) / 2);
}

// The abort handler of the progress window disables the main window.
bool WindowsCallback::AbortRequested()
{
    return signals_.abortRequested;
}

// The main window shows the report until the user presses actionButton, which
// disables it ("続行(&C)"); then the progress window comes back.
void WindowsCallback::ShowFailureDetails(const std::string& report, const std::string& frameCaption,
                                        bool verticalScrollBar)
{
    if (verticalScrollBar) main_.readmeBox.SetScrollBars(ScrollBars::Vertical);
    main_.readmeBox.SetText(report);
    main_.ShowFailureDetailsScreen();
    main_.readmeFrame.SetText(frameCaption);
    main_.ShowReadme(true);
    main_.Show();
    status_.Hide();
    // The person's press of actionButton is the event that ends the wait.
    PumpUntil([this] { return main_.FailureDetailsRead(); });
    main_.Hide();
    Wait(500);
    status_.Show();
}

void WindowsCallback::EndRun()
{
    EnableBackground();
    main_.SetModalResult(1);
}

// From here the main window closes without the quit question.
void WindowsCallback::EnableBackground()
{
    signals_.mayEndWithoutAsking = true;
    back_.SetEnabled(true);
}

void WindowsCallback::ShowProgress(bool visible)
{
    if (visible)
        status_.Show();
    else
        status_.Hide();
}

void WindowsCallback::CloseProgress()
{
    status_.Close();
}

void WindowsCallback::SetStatus(const std::string& text)
{
    SetStatusText(text);
    ProcessMessages();
}

// A text that is already there is not set again: setting it would repaint
// the label for nothing.
void WindowsCallback::SetStatusText(const std::string& text)
{
    if (status_.messageLabel.Text() != text) status_.messageLabel.SetText(text);
}

void WindowsCallback::SetCopyProgress(const CopyProgress& progress)
{
    const int shown = SetProgressPosition(progress.percent);
    SetProgressText(ProgressCountText(shown, progress));
}

void WindowsCallback::ShowProgressFrame(bool visible)
{
    status_.progressFrame.SetVisible(visible);
}

int WindowsCallback::SetProgressPosition(int position)
{
    status_.progressBar.SetPosition(position);
    return status_.progressBar.Position();
}

void WindowsCallback::SetProgressText(const std::string& text)
{
    if (status_.progressLabel.Text() == text) return;
    status_.ShowCount(text);
}

void WindowsCallback::EnableAbort(bool enabled)
{
    status_.abortButton.SetEnabled(enabled);
}

std::optional<SharedFileButton> WindowsCallback::AskConfirmation(const std::string& message)
{
    dialog_.SetQuestion(message);
    CurrentUserDialogs().RunConfirmDialog(dialog_);
    return dialog_.Answer();
}
