#include "SystemText.h"

#include "script/ShiftJis.h"

#ifdef _WIN32
#include <windows.h>
#include <io.h>
#else
#include <iconv.h>
#endif

#include <vector>

namespace {

#ifdef _WIN32

constexpr UINT kShiftJis = 932;

std::optional<std::wstring> Widen(const std::string& text, UINT codePage)
{
    if (text.empty()) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (needed <= 0) return std::nullopt;
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), needed);
    return wide;
}

std::optional<std::string> Narrow(const std::wstring& wide, UINT codePage)
{
    if (wide.empty()) return std::string();
    const int length = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    BOOL* lostFlag = codePage == CP_UTF8 ? nullptr : &lost;
    const int needed = WideCharToMultiByte(codePage, 0, wide.data(), length, nullptr, 0, nullptr, lostFlag);
    if (needed <= 0 || lost) return std::nullopt;
    std::string text(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), length, text.data(), needed, nullptr, nullptr);
    return text;
}

std::optional<std::string> Convert(const std::string& text, UINT from, UINT to)
{
    const auto wide = Widen(text, from);
    if (!wide) return std::nullopt;
    return Narrow(*wide, to);
}

std::optional<std::string> FromCp932ToUtf8(const std::string& text)
{
    return Convert(text, kShiftJis, CP_UTF8);
}

#else

std::optional<std::string> Convert(const std::string& text, const char* from, const char* to)
{
    iconv_t converter = iconv_open(to, from);
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string input = text;
    std::vector<char> output(text.size() * 4 + 16);
    char* in = input.data();
    size_t inLeft = input.size();
    char* out = output.data();
    size_t outLeft = output.size();
    const size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (result == static_cast<size_t>(-1) || inLeft != 0) return std::nullopt;
    return std::string(output.data(), output.size() - outLeft);
}

std::optional<std::string> FromCp932ToUtf8(const std::string& text)
{
    return Convert(text, "CP932", "UTF-8");
}

#endif

}  // namespace

std::optional<std::string> Cp932FromSystemName(const std::filesystem::path& name)
{
#ifdef _WIN32
    return Narrow(name.wstring(), kShiftJis);
#else
    return Convert(name.string(), "UTF-8", "CP932");
#endif
}

std::optional<std::filesystem::path> SystemNameFromCp932(const std::string& name)
{
#ifdef _WIN32
    const auto wide = Widen(name, kShiftJis);
#else
    const auto wide = FromCp932ToUtf8(name);
#endif
    if (!wide) return std::nullopt;
    return std::filesystem::path(*wide);
}

std::filesystem::path PathFromArgument(const std::string& argument)
{
#ifdef _WIN32
    const auto wide = Widen(argument, CP_ACP);
    return wide ? std::filesystem::path(*wide) : std::filesystem::path();
#else
    return std::filesystem::path(argument);
#endif
}

std::optional<std::string> Utf8FromArgument(const std::string& argument)
{
#ifdef _WIN32
    return Convert(argument, CP_ACP, CP_UTF8);
#else
    return argument;
#endif
}

std::string DisplayPath(const std::filesystem::path& path)
{
    if (const auto whole = Cp932FromSystemName(path.native())) return *whole;
    // Part by part, so that one unusual character does not hide the rest.
    std::string shown;
    for (const auto& part : path) {
        if (!shown.empty() && shown.back() != '/' && shown.back() != '\\') shown += static_cast<char>(std::filesystem::path::preferred_separator);
        const auto converted = Cp932FromSystemName(part);
        shown += converted ? *converted : std::string("?");
    }
    return shown;
}

std::optional<std::string> Cp932FromUtf8(const std::string& text)
{
#ifdef _WIN32
    return Convert(text, CP_UTF8, kShiftJis);
#else
    return Convert(text, "UTF-8", "CP932");
#endif
}

std::string Utf8FromCp932(const std::string& text)
{
    if (const auto whole = FromCp932ToUtf8(text)) return *whole;
    std::string readable;
    for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
        const std::string character = text.substr(i, CharLengthAt(text, i));
        const auto converted = FromCp932ToUtf8(character);
        if (converted) {
            readable += *converted;
            continue;
        }
        for (const unsigned char byte : character) {
            static const char digits[] = "0123456789ABCDEF";
            readable += "\\x";
            readable += digits[byte >> 4];
            readable += digits[byte & 15];
        }
    }
    return readable;
}

void WriteLine(std::FILE* stream, const std::string& text)
{
#ifdef _WIN32
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        std::wstring wide = Widen(text, kShiftJis).value_or(Widen(text, CP_ACP).value_or(L"?"));
        wide += L"\r\n";
        DWORD written = 0;
        WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
        return;
    }
    std::fputs(text.c_str(), stream);
#else
    std::fputs(Utf8FromCp932(text).c_str(), stream);
#endif
    std::fputc('\n', stream);
}
