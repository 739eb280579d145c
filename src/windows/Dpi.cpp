#include "windows/Dpi.h"

namespace {

// The per-monitor functions are looked up at run time: a Windows older than
// 10 1607 has none of them, and then everything is at the system DPI.
template <typename Function>
Function User32Function(const char* name)
{
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)));
}

int ScaleUp(int value, int numerator, int denominator)
{
    if (numerator == denominator) return value;
    const long long product = static_cast<long long>(value) * numerator;
    if (value < 0) return -static_cast<int>((-product + denominator - 1) / denominator);
    return static_cast<int>((product + denominator - 1) / denominator);
}

}  // namespace

int Dpi::Scale(int designed) const
{
    return ScaleUp(designed, dpi_, Designed);
}

Bounds Dpi::Scale(const Bounds& designed) const
{
    const int left = Scale(designed.left);
    const int top = Scale(designed.top);
    return {left, top, Scale(designed.left + designed.width) - left, Scale(designed.top + designed.height) - top};
}

int Dpi::Rescale(int pixels, Dpi from) const
{
    return MulDiv(pixels, dpi_, from.dpi_);
}

Bounds Dpi::Rescale(const Bounds& pixels, Dpi from) const
{
    const int left = Rescale(pixels.left, from);
    const int top = Rescale(pixels.top, from);
    return {left, top, Rescale(pixels.left + pixels.width, from) - left,
            Rescale(pixels.top + pixels.height, from) - top};
}

Dpi Dpi::OfWindow(HWND window)
{
    static const auto dpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (dpiForWindow != nullptr && window != nullptr) {
        if (const UINT dpi = dpiForWindow(window)) return Dpi(static_cast<int>(dpi));
    }
    return OfSystem();
}

Dpi Dpi::OfSystem()
{
    static const auto dpiForSystem = User32Function<UINT(WINAPI*)()>("GetDpiForSystem");
    if (dpiForSystem != nullptr) return Dpi(static_cast<int>(dpiForSystem()));
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return Dpi();
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return Dpi(dpi);
}

int SystemMetricForDpi(int index, Dpi dpi)
{
    static const auto metricForDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
    if (metricForDpi != nullptr) return metricForDpi(index, static_cast<UINT>(dpi.Value()));
    return GetSystemMetrics(index);
}

SIZE FrameSizeForDpi(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, Dpi dpi)
{
    static const auto adjustForDpi =
        User32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, clientWidth, clientHeight};
    if (adjustForDpi == nullptr || !adjustForDpi(&frame, style, FALSE, exStyle, static_cast<UINT>(dpi.Value())))
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}
