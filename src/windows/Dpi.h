// The display scale of a window. Every coordinate, size and font height of
// the windows is designed in pixels at 96 DPI; a window on a monitor of
// another DPI gets them multiplied by dpi/96, rounded up, so that a text
// never needs more room than its control has got. At 96 DPI nothing
// changes.
#pragma once

#include "windows/Window.h"

#include <windows.h>

class Dpi {
public:
    static constexpr int Designed = 96;

    constexpr Dpi() = default;
    explicit constexpr Dpi(int dpi) : dpi_(dpi > 0 ? dpi : Designed) {}

    int Value() const { return dpi_; }
    bool operator==(const Dpi& other) const { return dpi_ == other.dpi_; }

    // A designed length in pixels at this DPI.
    int Scale(int designed) const;
    // Designed bounds: the edges are scaled, so that neighbours that touch
    // at 96 DPI still touch and none overlaps.
    Bounds Scale(const Bounds& designed) const;
    // Pixels at `from` in pixels at this DPI (a window moved to another
    // monitor).
    int Rescale(int pixels, Dpi from) const;
    Bounds Rescale(const Bounds& pixels, Dpi from) const;

    // The DPI of the monitor the window is on, where the system says it
    // per window (Windows 10 1607 and later, Wine); else the system's.
    static Dpi OfWindow(HWND window);
    static Dpi OfSystem();

private:
    int dpi_ = Designed;
};

// The system metric `index` (SM_CXICON...) at `dpi`.
int SystemMetricForDpi(int index, Dpi dpi);

// The outer size of a window of the given styles with a client area of
// `clientWidth` x `clientHeight` pixels, with the frame of `dpi`.
SIZE FrameSizeForDpi(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, Dpi dpi);
