#include "FailureBox.h"

#include "WideText.h"

#include <windows.h>

namespace {

// The texts are Shift-JIS literals (the build compiles with
// -fexec-charset=CP932, as SETUP.EXE's are) shown through MessageBoxW after
// an explicit code page 932 conversion: MessageBoxA would read them in the
// system's code page and show garbage on a system whose code page is not
// 932, which is exactly where a downloaded installer may be started.
const char* TextOf(StubFailure failure)
{
    switch (failure) {
    case StubFailure::Damaged:
        return "このセットアッププログラムは壊れています．\r\n"
               "ダウンロードが途中で切れた可能性があります．\r\n"
               "もう一度ダウンロードしてください．";
    case StubFailure::CannotUnpack:
        return "セットアップに必要なファイルを，一時フォルダに\r\n"
               "展開できませんでした．\r\n"
               "一時フォルダのドライブの空き容量を確認してください．";
    case StubFailure::CannotStart:
        return "セットアッププログラムを起動できませんでした．";
    }
    return "";
}

}  // namespace

void ShowFailure(StubFailure failure)
{
    const std::wstring text = WideFromCp932(TextOf(failure));
    const std::wstring caption = WideFromCp932("セットアップ");
    MessageBoxW(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}
