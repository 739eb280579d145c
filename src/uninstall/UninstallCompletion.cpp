#include "uninstall/UninstallCompletion.h"

#include "text/MessageBox.h"

#include <windows.h>

void OfferFailureReport(const FailureReport& failures, RunWindows& windows)
{
    if (failures.Empty()) return;
    windows.SetStatus("一部の処理に失敗しました．");
    const int answer =
        ShowMessageBox("アンセットアップ(アンインストール)の過程で，一部の処理が失敗しました．\r詳細を表示しますか？",
                       "警告", MB_YESNO | MB_ICONEXCLAMATION);
    if (answer == IDYES) windows.ShowFailureDetails(failures.Text(), "削除処理失敗　詳細表示", true);
}

void CompleteUninstall(RunWindows& windows)
{
    const std::string done = "アンセットアップを完了しました．";
    windows.SetStatus(done);
    ShowMessageBox(done, "完了", MB_OK | MB_ICONINFORMATION);
    windows.EndRun();
}
