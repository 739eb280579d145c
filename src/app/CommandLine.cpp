#include "app/CommandLine.h"

#include "text/DeviceNames.h"
#include "text/PathParts.h"
#include "text/StrOp.h"
#include "text/Unicode.h"

#include <cctype>
#include <vector>

namespace {

// No Shift-JIS trail byte is a blank, a control character or a double
// quote, so the bytes can be looked at one by one.
bool IsSeparator(char byte)
{
    return static_cast<unsigned char>(byte) <= ' ';
}

// Reads the argument that starts at or after `at`; `at` ends behind it.
// `found` tells an empty quoted argument ("") from the end of the line.
std::string NextArgument(const std::string& line, size_t& at, bool& found)
{
    while (at < line.size() && IsSeparator(line[at])) ++at;
    found = at < line.size();
    std::string argument;
    bool quoted = false;
    for (; at < line.size(); ++at) {
        const char byte = line[at];
        if (byte == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && IsSeparator(byte)) break;
        argument += byte;
    }
    return argument;
}

std::vector<std::string> Arguments(const std::string& line)
{
    std::vector<std::string> arguments;
    size_t at = 0;
    bool found = false;
    NextArgument(line, at, found);  // the program's own name
    for (;;) {
        std::string argument = NextArgument(line, at, found);
        if (!found) return arguments;
        arguments.push_back(std::move(argument));
    }
}

// Applies one switch ("/NAME" or "/NAME=value"); false when it is none of
// ours or lacks or carries a value against its kind.
bool ApplySwitch(RunOptions& options, const std::string& argument)
{
    const size_t equals = argument.find('=');
    const std::string name = AsciiUpper(argument.substr(1, equals == std::string::npos ? std::string::npos : equals - 1));
    const bool hasValue = equals != std::string::npos;
    const std::string value = hasValue ? argument.substr(equals + 1) : std::string();
    if (name == "DIR") {
        if (value.empty()) return false;
        options.setupFolder = value;
        return true;
    }
    if (name == "LOG") {
        if (hasValue && value.empty()) return false;
        options.log = true;
        options.logFile = value;
        if (!LogFileFault(value).empty()) options.logFault = LogFileFault(value);
        return options.logFault.empty();
    }
    if (hasValue) return false;
    if (name == "SILENT") {
        if (options.presence == Presence::Interactive) options.presence = Presence::Silent;
    } else if (name == "VERYSILENT") {
        options.presence = Presence::VerySilent;
    } else if (name == "S") {
        options.presence = Presence::VerySilent;
        options.suppressMessageBoxes = true;
    } else if (name == "SUPPRESSMSGBOXES") {
        options.suppressMessageBoxes = true;
    } else if (name == "NOICONS") {
        options.noIcons = true;
    } else if (name == "NORESTART") {
        options.noRestart = true;
    } else if (name == "?" || name == "HELP") {
        options.help = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::string LogFileFault(const std::string& path)
{
    if (path.rfind("\\\\.\\", 0) == 0 || path.rfind("\\\\?\\", 0) == 0) return "a device path, not a file";
    // No trail byte is a colon or a slash: the bytes can be looked at one by
    // one. A colon names a drive only right after its letter.
    for (size_t at = 0; at < path.size(); ++at) {
        const bool driveColon = at == 1 && std::isalpha(static_cast<unsigned char>(path[0]));
        if (path[at] == ':' && !driveColon) return "an alternate stream, not a file";
    }
    std::string name = FileNamePart(path);
    if (const size_t slash = name.rfind('/'); slash != std::string::npos) name.erase(0, slash + 1);
    if (IsDeviceName(name)) return "a device, not a file";
    return {};
}

RunOptions ParseCommandLine(const std::string& commandLine)
{
    RunOptions options;
    bool recordSeen = false;
    for (const std::string& argument : Arguments(commandLine)) {
        if (!argument.empty() && argument[0] == '/') {
            if (!ApplySwitch(options, argument) && options.fault.empty())
                options.fault = options.logFault.empty() ? argument : argument + " (" + options.logFault + ")";
        } else if (!recordSeen) {
            // Only the first plain argument ever meant anything; later ones
            // are passed over as they always were.
            options.record = argument;
            recordSeen = true;
        }
    }
    return options;
}

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
    for (std::string argument : Arguments(line)) {
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
           "/LOG[=\"ファイル\"]：ログ（UTF-8）を書きます．\r\n"
           "　（ファイル名がなければ一時フォルダに作ります．）\r\n"
           "/? /HELP：この説明．\r\n"
           "\r\n"
           "終了コード：\r\n"
           "0 完了　1602 取り消し　1603 失敗　1618 実行中\r\n"
           "112 空き容量不足　87 コマンドラインの誤り\r\n"
           "3010 再起動が必要　1641 再起動を開始\r\n";
}
