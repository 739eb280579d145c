#include "windows/Gdi.h"

FontHandle MakeFont(const std::string& face, int pixelHeight, bool italic, BYTE charset)
{
    LOGFONTA font{};
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
    lstrcpynA(font.lfFaceName, face.c_str(), LF_FACESIZE);
    return FontHandle(CreateFontIndirectA(&font));
}

WindowTextDC::WindowTextDC(HWND window) : window_(window), dc_(GetDC(window))
{
    const auto font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (dc_ != nullptr && font != nullptr) previousFont_ = SelectObject(dc_, font);
}

WindowTextDC::~WindowTextDC()
{
    if (dc_ == nullptr) return;
    if (previousFont_ != nullptr) SelectObject(dc_, previousFont_);
    ReleaseDC(window_, dc_);
}
