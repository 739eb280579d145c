#include "services/ProgramLauncher.h"

#include "services/Win32Com.h"
#include "text/Unicode.h"

#include <windows.h>
#include <shellapi.h>

namespace {

class ShellLauncher final : public ProgramLauncher {
public:
    long long Open(const std::string& file, const std::string& parameters) override
    {
        const std::wstring wideFile = WideFromShiftJis(file);
        const std::wstring wideParameters = WideFromShiftJis(parameters);
        ComApartment::Need();
        const HINSTANCE result = ShellExecuteW(GetDesktopWindow(), L"open", wideFile.c_str(),
                                               parameters.empty() ? nullptr : wideParameters.c_str(), nullptr,
                                               SW_SHOWNORMAL);
        return reinterpret_cast<INT_PTR>(result);
    }
};

ProgramLauncher* installed = nullptr;

}  // namespace

long long OpenWithShell(const std::string& file, const std::string& parameters)
{
    static ShellLauncher shell;
    return (installed != nullptr ? *installed : static_cast<ProgramLauncher&>(shell)).Open(file, parameters);
}

void InstallProgramLauncher(ProgramLauncher* launcher)
{
    installed = launcher;
}
