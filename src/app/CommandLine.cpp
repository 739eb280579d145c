#include "app/CommandLine.h"

#include "text/Unicode.h"

#include <vector>

RunOptions ParseCommandLine(const std::wstring& commandLine)
{
    // Each character converted on its own; one without a Shift-JIS form
    // becomes DEL, which is neither a blank nor a quote nor any byte of a
    // two-byte character, so that the arguments split as they would have.
    constexpr char Unconvertible = '\x7F';
    std::string line;
    for (size_t at = 0; at < commandLine.size();) {
        const bool pair = commandLine[at] >= 0xD800 && commandLine[at] <= 0xDBFF && at + 1 < commandLine.size() &&
                          commandLine[at + 1] >= 0xDC00 && commandLine[at + 1] <= 0xDFFF;
        const size_t units = pair ? 2 : 1;
        const std::optional<std::string> character = ShiftJisFromWide(commandLine.substr(at, units));
        line += character ? *character : std::string(1, Unconvertible);
        at += units;
    }
    RunOptions options = ParseCommandLine(line);
    if (!options.fault.empty()) return options;
    std::vector<std::string> arguments = CommandLineArguments(line);
    // The program's own name may hold any character.
    if (!arguments.empty()) arguments.erase(arguments.begin());
    for (std::string& argument : arguments) {
        if (argument.find(Unconvertible) == std::string::npos) continue;
        for (char& byte : argument)
            if (byte == Unconvertible) byte = '?';
        options.fault = argument + " (a character without a Shift-JIS form)";
        break;
    }
    return options;
}

std::string UsageText()
{
    return "SETUP.EXE [スイッチ]\r\n"
           "UNOVSET.EXE \"アンセットアップ情報ファイル\" [スイッチ]\r\n"
           "\r\n"
           "/SILENT：進行状況だけを表示し，何も質問しません．\r\n"
           "/VERYSILENT：ウィンドウを表示しません．\r\n"
           "/SUPPRESSMSGBOXES：質問に既定の答えを使います．\r\n"
           "　（指定しない無人実行は，質問が必要になると失敗します．）\r\n"
           "/S：/VERYSILENT /SUPPRESSMSGBOXES と同じです．\r\n"
           "/DIR=\"フォルダ\"：セットアップフォルダ（(Prg)なども可）．\r\n"
           "/NOICONS：ショートカットを作成しません．\r\n"
           "/NORESTART：再起動しません．\r\n"
           "/ALLOWDOWNGRADE：新しいバージョンがあっても古いバージョンをセットアップします．\r\n"
           "/REPAIR：すべてのファイルと設定をもう一度セットアップします（修復）．\r\n"
           "/ALLUSERS：すべてのユーザー用にセットアップします（管理者権限）．\r\n"
           "/CURRENTUSER：現在のユーザー用にだけセットアップします．\r\n"
           "/LOG[=\"ファイル\"]：ログ（UTF-8）を書きます．\r\n"
           "　（ファイル名がなければ一時フォルダに作ります．）\r\n"
           "/? /HELP：この説明．\r\n"
           "\r\n"
           "終了コード：\r\n"
           "0 完了　1602 取り消し　1603 失敗　1618 実行中\r\n"
           "1638 新しいバージョンがセットアップ済み\r\n"
           "112 空き容量不足　87 コマンドラインの誤り\r\n"
           "3010 再起動が必要　1641 再起動を開始\r\n";
}
