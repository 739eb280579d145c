#include "app/StatusTexts.h"

#include "script/PathParts.h"

std::string StatusText(const StatusStep& step)
{
    switch (step.status) {
    case Status::InstallStarting: return "セットアップを開始します．．．";
    case Status::ReadingInformation: return "セットアップの情報を作成しています．．．";
    case Status::Measuring: return "セットアップに必要な容量を調べています．．．";
    case Status::CheckingFreeSpace: return "ディスクの空き容量をチェックしています．．．";
    case Status::CheckingSetupFolder: return "セットアップフォルダをチェックしています．．．";
    case Status::CreatingFolder: return "フォルダを作成しています．．．\rCreating -> " + step.path;
    case Status::SkippingMissingSource:
        return "ファイルが存在しないためコピーをスキップしています．．．\rSkipping -> " + step.path;
    case Status::Copying: return "ファイルをコピーしています．．．\rCopying -> " + step.path;
    case Status::CreatingShortcut:
        return "ショートカットを作成しています．．．\rCreateTarget -> " + step.path + "\rCreating -> " +
               WithoutLeadingBackslash(step.link);
    case Status::WritingRegistry: return "レジストリを設定しています．．．";
    case Status::WritingIniFiles: return "Iniファイルを設定しています．．．";
    case Status::Associating: return "関連付けを設定しています．．．";
    case Status::UpdatingRecord: return "アンセットアップ情報を更新しています．しばらくお待ちください．．．";
    case Status::RecordingFolders: return "アンセットアップ情報(削除フォルダ)を更新しています．しばらくお待ちください．．．";
    case Status::RecordingFiles: return "アンセットアップ情報(削除ファイル)を更新しています．しばらくお待ちください．．．";
    case Status::RecordingShortcuts:
        return "アンセットアップ情報(削除ショートカット)を更新しています．しばらくお待ちください．．．";
    case Status::RecordingRegistryKeys:
        return "アンセットアップ情報(削除レジストリ)を更新しています．しばらくお待ちください．．．";
    case Status::RecordingExtraFiles:
        return "アンセットアップ情報(追加削除ファイル)を更新しています．しばらくお待ちください．．．";
    case Status::RecordingAssociations:
        return "アンセットアップ情報(復元関連付け)を更新しています．しばらくお待ちください．．．";
    case Status::InstallPartlyFailed: return "セットアップで一部の処理が失敗しました．";
    case Status::InstallCompleted: return "セットアップが完了しました．";
    case Status::Uninstalling: return "アンセットアップ(アンインストール)を行っています．．．";
    case Status::UninstallPartlyFailed: return "一部の処理に失敗しました．";
    case Status::UninstallCompleted: return "アンセットアップを完了しました．";
    case Status::UndoingInstall: return "セットアップで行った変更を元に戻しています．．．";
    }
    return {};
}

std::string ProgressCountText(int shownPercent, const CopyProgress& progress)
{
    return std::to_string(shownPercent) + "%(" + std::to_string(progress.copied) + "/" +
           std::to_string(progress.entries) + ")";
}
