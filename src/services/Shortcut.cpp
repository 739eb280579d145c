#include "services/Shortcut.h"

#include "script/PathParts.h"
#include "script/TextCase.h"
#include "services/FileOps.h"
#include "services/SetupError.h"
#include "services/SystemErrorText.h"
#include "services/Win32Com.h"
#include "text/Unicode.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdio>

namespace {

// The system's own text for a COM error, as one line.
std::string ComErrorText(HRESULT result)
{
    std::string text = SystemMessage(static_cast<unsigned long>(result));
    // No byte up to " " is the second byte of a Shift-JIS character.
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.pop_back();
    if (!text.empty()) return text;
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
                           const std::string& arguments, ChangeJournal& journal)
{
    std::string linkPath = ShortcutFilePath(name);
    const std::string folder = EffectiveWorkingFolder(target, workingFolder);
    const std::string linkFolder = FolderPart(linkPath);
    if (!FolderExists(linkFolder)) CreateFolderPath(linkFolder, journal);

    // A ready-made shortcut is copied as it is.
    if (Contains(target, ".LNK")) {
        CopyFileTo(target, linkPath, journal);
        return linkPath;
    }

    ComApartment::Need();
    ComPtr<IUnknown> object;
    const HRESULT created = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                             IID_IUnknown, reinterpret_cast<void**>(object.Receive()));
    if (FAILED(created) || !object)
        throw SetupError(SetupError::Action::CreatingShellLink, {}, static_cast<unsigned long>(created),
                         ComErrorText(created));
    const ComPtr<IShellLinkW> link = QueryInterfaceOf<IShellLinkW>(object.Get(), IID_IShellLinkW);
    const ComPtr<IPersistFile> file = QueryInterfaceOf<IPersistFile>(object.Get(), IID_IPersistFile);
    if (!link || !file) return {};

    // The outcomes of these calls show in whether the file exists below.
    link.Get()->SetPath(WideFromShiftJis(target).c_str());
    link.Get()->SetWorkingDirectory(WideFromShiftJis(folder).c_str());
    if (!arguments.empty()) link.Get()->SetArguments(WideFromShiftJis(arguments).c_str());
    JournalFileBeforeWriting(journal, linkPath);
    file.Get()->Save(WideFromShiftJis(linkPath).c_str(), FALSE);

    // Where the shell wrote a program-information file instead.
    if (!FileExists(linkPath)) linkPath = ChangeExtension(linkPath, "pif");
    return linkPath;
}
