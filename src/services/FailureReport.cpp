#include "services/FailureReport.h"

#include "script/PathParts.h"
#include "script/ShiftJis.h"
#include "services/SystemErrorText.h"

namespace {

// A path longer than any the system can use (a damaged record or script)
// is shown by its start: one line of tens of kilobytes would make the
// details unreadable and the text box slow.
std::string ShownPath(const std::string& path)
{
    constexpr size_t shownBytes = 80;
    if (path.size() <= LongestPath) return path;
    size_t end = 0;
    while (end < shownBytes) end += IsLeadByte(static_cast<unsigned char>(path[end])) ? 2 : 1;
    return path.substr(0, end) + "．．．";
}

std::string SetupFolderNotRemoved(const char* cause)
{
    return std::string(cause) + "セットアップフォルダを削除できませんでした．エクスプローラなどから，直接削除してください．";
}

bool EndsWithoutEmptyLine(FailureReason reason)
{
    return reason == FailureReason::SetupFolderFilesRemain || reason == FailureReason::SetupFolderDeleteAllFailed;
}

}  // namespace

void FailureReport::Add(FailureEntry entry)
{
    entries_.push_back(std::move(entry));
}

void FailureReport::AddSystemError(FailureTag tag, std::string path, unsigned long code)
{
    Add({tag, std::move(path), SystemError{code}});
}

void FailureReport::AddReason(FailureTag tag, std::string path, FailureReason reason, std::string parameter)
{
    Add({tag, std::move(path), StatedReason{reason, std::move(parameter)}});
}

std::string FailureReport::Text() const
{
    std::string text;
    for (const FailureEntry& entry : entries_) text += EntryText(entry);
    return text;
}

std::string TagText(FailureTag tag)
{
    switch (tag) {
    case FailureTag::File: break;
    case FailureTag::Folder: return "<Folder> ";
    case FailureTag::ShortCut: return "<ShortCut> ";
    case FailureTag::Registry: return "<Registry> ";
    case FailureTag::SetupFile: return "<SetupFile> ";
    case FailureTag::SetupFolder: return "<SetupFolder> ";
    case FailureTag::Log: return "<Log> ";
    }
    return "<File> ";
}

std::string ReasonText(const StatedReason& stated)
{
    using Reason = FailureReason;
    const std::string& parameter = stated.parameter;
    switch (stated.reason) {
    case Reason::SkippedUnrepresentable:
        return "フォルダ名にシフトJISで表せない文字が含まれているため，処理をスキップしました．";
    case Reason::SkippedNotAbsolute: return "絶対パスではないため，処理をスキップしました．";
    case Reason::SkippedTokenLeft: return "置き換えられないキーワード（括弧）が含まれているため，処理をスキップしました．";
    case Reason::SkippedBadCharacter: return "ファイル名に使えない文字が含まれているため，処理をスキップしました．";
    case Reason::SkippedTooLong: return "パスが長すぎるため，処理をスキップしました．";
    case Reason::SourceMissing: return "コピー元のファイルが見つかりません．";
    case Reason::CompressedSourceBroken: return "圧縮ファイルが壊れているため，展開できませんでした．";
    case Reason::KeyNotCreated: return "ｷｰ " + parameter + " の作成に失敗しました";
    case Reason::ValueNotWritten: return "'" + parameter + "' の設定に失敗しました";
    case Reason::RecordNotWrittenUndone:
        return "アンセットアップ情報を書き込めなかったため，セットアップで行った変更を元に戻しました．";
    case Reason::RecordNotWrittenKept:
        return "アンセットアップ情報を書き込めなかったため，このセットアップは自動でアンセットアップ(アンインストール)できません．"
               "\r\nコピーしたファイルは " + parameter + " に残っています．";
    case Reason::NotAbsolute: return "絶対パスではないため，削除しませんでした．";
    case Reason::PatternOutsideSetupFolder:
        return "セットアップフォルダの外のワイルドカード指定のため，削除しませんでした．";
    case Reason::FolderOfSystemOrUser: return "システムまたはユーザーのフォルダのため，削除しませんでした．";
    case Reason::NotAShortcut: return "ショートカットファイルではないため，削除しませんでした．";
    case Reason::PatternBehindLink:
        return "リンク（ジャンクションやシンボリックリンク）の先のワイルドカード指定のため，削除しませんでした．";
    case Reason::FolderIsLink:
        return "リンク（ジャンクションやシンボリックリンク）のため，リンク先のフォルダは削除しませんでした．";
    case Reason::SetupFolderFilesRemain: return SetupFolderNotRemoved("フォルダにファイルが残っているため，");
    case Reason::SetupFolderDeleteAllFailed:
        return SetupFolderNotRemoved("全ファイル・フォルダの削除を試みましたが，エラーが発生したため，");
    }
    return {};
}

std::string EntryText(const FailureEntry& entry)
{
    const std::string heading = TagText(entry.tag) + ShownPath(entry.path) + "\r\n";
    if (const SystemError* error = std::get_if<SystemError>(&entry.why))
        return heading + SystemErrorText(error->code) + "\r\n";
    const StatedReason& stated = std::get<StatedReason>(entry.why);
    return heading + ReasonText(stated) + "\r\n" + (EndsWithoutEmptyLine(stated.reason) ? "" : "\r\n");
}

std::string EntryLine(const FailureEntry& entry)
{
    const std::string subject = TagText(entry.tag) + entry.path;
    if (const SystemError* error = std::get_if<SystemError>(&entry.why)) return WithSystemError(subject, error->code);
    return subject + ": " + ReasonText(std::get<StatedReason>(entry.why));
}
