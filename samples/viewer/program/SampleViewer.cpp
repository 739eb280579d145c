// SAMPLEVW.EXE, the application of the sample distribution: a window-less
// program that shows what it was started with and where it lives, so that a
// person who opens it from a shortcut or an associated file sees that the
// install put everything in place.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string text = "Orvane サンプルビューア\r\r";
    text += self;
    if (commandLine != nullptr && *commandLine != '\0') {
        text += "\r\r開いたもの: ";
        text += commandLine;
    }
    MessageBoxA(nullptr, text.c_str(), "サンプルビューア", MB_OK | MB_ICONINFORMATION);
    return 0;
}
