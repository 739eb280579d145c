// Owned drawing objects of the windows: fonts, brushes and a window's device
// context, each released exactly once.
#pragma once

#include "services/UniqueResource.h"

#include <windows.h>

#include <string>

template <typename Object>
struct GdiObjectTraits {
    using Type = Object;
    static Type Empty() { return nullptr; }
    static void Release(Type object) { DeleteObject(object); }
};
using FontHandle = UniqueResource<GdiObjectTraits<HFONT>>;
using BrushHandle = UniqueResource<GdiObjectTraits<HBRUSH>>;

struct IconTraits {
    using Type = HICON;
    static Type Empty() { return nullptr; }
    static void Release(Type icon) { DestroyIcon(icon); }
};
using IconHandle = UniqueResource<IconTraits>;

// A font `pixelHeight` pixels high (the character height, without the
// internal leading). Japanese faces take the Shift-JIS character set.
FontHandle MakeFont(const std::string& face, int pixelHeight, bool italic = false, BYTE charset = SHIFTJIS_CHARSET);

// A font as designed: its face and its character height in pixels at 96
// DPI. A window makes it at its own DPI, and anew when that changes.
struct FontDesign {
    std::string face;
    int height = 0;
    bool italic = false;
    BYTE charset = SHIFTJIS_CHARSET;
};

// The device context of a window's client area with the window's own font
// selected, for measuring text; the font is deselected and the context given
// back when it ends.
class WindowTextDC {
public:
    explicit WindowTextDC(HWND window);
    ~WindowTextDC();
    WindowTextDC(const WindowTextDC&) = delete;
    WindowTextDC& operator=(const WindowTextDC&) = delete;

    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
    HGDIOBJ previousFont_ = nullptr;
};
