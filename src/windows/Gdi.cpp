#include "windows/Gdi.h"

#include "text/Unicode.h"

FontHandle MakeFont(const std::string& face, int pixelHeight, bool italic, BYTE charset)
{
    LOGFONTW font{};
    // A negative height asks for the character height, as font sizes in
    // pixels are meant.
    font.lfHeight = -pixelHeight;
    font.lfWeight = FW_NORMAL;
    font.lfItalic = italic ? TRUE : FALSE;
    font.lfCharSet = charset;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    // The face is asked for by its own (Japanese) name, whatever the
    // system's code page.
    lstrcpynW(font.lfFaceName, WideFromShiftJis(face).c_str(), LF_FACESIZE);
    return FontHandle(CreateFontIndirectW(&font));
}

WindowTextDC::WindowTextDC(HWND window) : window_(window), dc_(GetDC(window))
{
    const auto font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (dc_ != nullptr && font != nullptr) previousFont_ = SelectObject(dc_, font);
}

WindowTextDC::~WindowTextDC()
{
    if (dc_ == nullptr) return;
    if (previousFont_ != nullptr) SelectObject(dc_, previousFont_);
    ReleaseDC(window_, dc_);
}
