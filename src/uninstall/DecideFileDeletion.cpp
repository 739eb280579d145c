#include "uninstall/DecideFileDeletion.h"

#include "services/Deletion.h"
#include "services/SharedComponents.h"
#include "text/MessageBox.h"
#include "text/StrOp.h"

#include <windows.h>

namespace {

constexpr int SwitchFieldLength = 5;  // the comma and four characters
constexpr char DeletionCaption[] = "ファイル削除の確認";
constexpr uint16_t QuestionFlags = MB_YESNO | MB_ICONQUESTION;

// Answer words of the four-button dialog, as it leaves them in the answer
// memory; "Delete" and "Save" hold for the rest of the run.
constexpr char AnswerYes[] = "Yes";
constexpr char AnswerDelete[] = "Delete";
constexpr char AnswerSave[] = "Save";

std::string CautionQuestion(const std::string& path)
{
    return path + "\r\r" + "このファイルを削除してもよろしいですか？" + "\r\r" + "<<　注意　>>" + "\r" +
           "DLL/OCXなどは他のプログラムでも使用される可能性があります．" + "\r" +
           "確実に使用されないことがわかっている場合のみ削除してください．";
}

std::string UnsharedComponentQuestion(const std::string& path)
{
    return path + "\r\r" + "このDLL/OCXファイルは，共有登録されていませんが，" + "\r" +
           "今後，他のプログラムで使われる可能性があります．" + "\r" + "このファイルを削除してもよろしいですか？";
}

std::string SharedFileQuestion(const std::string& path)
{
    return path + "\r\r" + "この共有ファイルは，現在，他のどのプログラムからも使われていません．" + "\r" +
           "しかし，今後，他のプログラムで使われる可能性があります．" + "\r" + "このファイルを削除してもよろしいですか？";
}

unsigned long DeleteWhenYes(int answer, const std::string& path)
{
    return answer == IDYES ? DeleteFiles(path) : 0;
}

bool InComponentFolder(const std::string& path, const ComponentFolders& folders)
{
    return Contains(path, folders.windowsFolder) || Contains(path, folders.systemFolder);
}

// A file that no program counts: the record's switches decide, and a DLL or
// OCX in the system's own folders is asked about.
unsigned long DecideUncountedFile(const RecordedFile& file, const ComponentFolders& folders)
{
    if (Contains(file.switches, "/C"))
        return DeleteWhenYes(ShowMessageBox(CautionQuestion(file.path), DeletionCaption, QuestionFlags), file.path);
    if (Contains(file.switches, "/L")) return 0;
    if (Contains(file.switches, "/F")) return DeleteFiles(file.path);
    if (IsRegistrable(file.path) && InComponentFolder(file.path, folders))
        return DeleteWhenYes(ShowMessageBox(UnsharedComponentQuestion(file.path), DeletionCaption, QuestionFlags),
                             file.path);
    return DeleteFiles(file.path);
}

// The shared-file dialog, unless an earlier "すべて削除" or "すべて保存"
// answered for every file; true when the file may go.
bool SharedFileMayGo(const std::string& path, RunWindows& windows)
{
    std::string answer = windows.ShareAnswer();
    if (answer != AnswerDelete && answer != AnswerSave) {
        windows.SetShareAnswer("");
        windows.AskConfirmation(SharedFileQuestion(path));
        answer = windows.ShareAnswer();
    }
    return answer == AnswerDelete || answer == AnswerYes;
}

// A counted file: only one the record marks shared ("/S") is uncounted, and
// only when no other program counts it any more is its deletion offered.
unsigned long DecideCountedFile(const RecordedFile& file, RunWindows& windows)
{
    if (!Contains(file.switches, "/S")) return 0;
    if (AdjustSharedCount(file.path, false) != 0) return 0;
    return SharedFileMayGo(file.path, windows) ? DeleteFiles(file.path) : 0;
}

}  // namespace

RecordedFile SplitRecordedFile(const std::string& value)
{
    const int comma = TokenPos(",", value);
    if (comma == 0) return {value, ""};
    return {LeftStr(value, comma - 1), MidStr(value, comma).substr(0, SwitchFieldLength)};
}

unsigned long DecideFileDeletion(const RecordedFile& file, const ComponentFolders& folders, RunWindows& windows)
{
    if (GetSharedCount(file.path) == 0) return DecideUncountedFile(file, folders);
    return DecideCountedFile(file, windows);
}
