// The windows as the install and uninstall procedures see them: the narrow
// interface, implemented once over the real forms.
#pragma once

#include "app/TfrmMain.h"
#include "windows/RunWindows.h"
#include "windows/TfrmBack.h"
#include "windows/TfrmCustomDlg.h"
#include "windows/TfrmStatus.h"

class FormRunWindows final : public RunWindows {
public:
    FormRunWindows(TfrmBack& back, TfrmMain& main, TfrmStatus& status, TfrmCustomDlg& dialog);

    std::string FolderText() override;
    OptionSnapshot Options() override;
    bool DeleteAllForm() override;
    void DisableOptions() override;
    void ShowMain(bool visible) override;
    void PrepareCompletionLayout() override;
    bool AbortRequested() override;
    std::string ShareAnswer() override;
    void SetShareAnswer(const std::string& answer) override;
    void ShowFailureDetails(const std::string& report, const std::string& frameCaption,
                            bool verticalScrollBar) override;
    void EndRun() override;
    void EnableBackground() override;

    void ShowProgress(bool visible) override;
    void CloseProgress() override;
    void SetStatus(const std::string& text) override;
    void ShowProgressFrame(bool visible) override;
    int SetProgressPosition(int position) override;
    void SetProgressText(const std::string& text) override;
    void EnableAbort(bool enabled) override;

    void AskConfirmation(const std::string& message) override;

private:
    TfrmBack& back_;
    TfrmMain& main_;
    TfrmStatus& status_;
    TfrmCustomDlg& dialog_;
};
