#include "services/Shortcut.h"

#include "services/Journal.h"

#include "services/FileOps.h"
#include "services/SetupError.h"
#include "services/Win32Com.h"
#include "text/PathParts.h"
#include "text/StrOp.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>

namespace {

std::wstring ToUtf16(const std::string& text)
{
    if (text.empty()) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

// The system's own text for a COM error, as one line.
std::string ComErrorText(HRESULT result)
{
    char buffer[512] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                  static_cast<DWORD>(result), 0, buffer, sizeof buffer, nullptr);
    while (length > 0 && static_cast<unsigned char>(buffer[length - 1]) <= ' ') --length;
    if (length > 0) return std::string(buffer, length);
    char code[32] = {};
    std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(result));
    return std::string("OLE エラー ") + code;
}

std::string ShortcutFilePath(const std::string& name)
{
    return Contains(name, ".lnk") ? name : name + ".lnk";
}

std::string EffectiveWorkingFolder(const std::string& target, const std::string& workingFolder)
{
    const bool usable = !workingFolder.empty() && FolderExists(workingFolder);
    return WithTrailingBackslash(usable ? workingFolder : FolderPart(target));
}

template <typename Interface>
ComPtr<Interface> QueryInterfaceOf(IUnknown* object, REFIID id)
{
    ComPtr<Interface> result;
    object->QueryInterface(id, reinterpret_cast<void**>(result.Receive()));
    return result;
}

}  // namespace

std::string CreateShortcut(const std::string& target, const std::string& name, const std::string& workingFolder,
                           const std::string& arguments)
{
    std::string linkPath = ShortcutFilePath(name);
    const std::string folder = EffectiveWorkingFolder(target, workingFolder);
    const std::string linkFolder = FolderPart(linkPath);
    if (!FolderExists(linkFolder)) CreateFolderPath(linkFolder);

    // A ready-made shortcut is copied as it is.
    if (Contains(target, ".LNK")) {
        CopyFileTo(target, linkPath);
        return linkPath;
    }

    ComPtr<IUnknown> object;
    const HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                             IID_IUnknown, reinterpret_cast<void**>(object.Receive()));
    if (FAILED(created) || !object)
        throw SetupError(SetupError::Action::CreatingShellLink, {}, static_cast<unsigned long>(created),
                         ComErrorText(created));
    const ComPtr<IShellLinkA> link = QueryInterfaceOf<IShellLinkA>(object.Get(), IID_IShellLinkA);
    const ComPtr<IPersistFile> file = QueryInterfaceOf<IPersistFile>(object.Get(), IID_IPersistFile);
    if (!link || !file) return {};

    // The outcomes of these calls show in whether the file exists below.
    link.Get()->SetPath(target.c_str());
    link.Get()->SetWorkingDirectory(folder.c_str());
    if (!arguments.empty()) link.Get()->SetArguments(arguments.c_str());
    JournalFileBeforeWriting(linkPath);
    file.Get()->Save(ToUtf16(linkPath).c_str(), FALSE);

    // Where the shell wrote a program-information file instead.
    if (!FileExists(linkPath)) linkPath = ChangeExtension(linkPath, "pif");
    return linkPath;
}
