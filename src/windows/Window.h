// The common ground of forms and controls: one owned window handle with its
// text, enabled and visible state and its place.
#pragma once

#include "services/UniqueResource.h"

#include <windows.h>

#include <string>

struct WindowHandleTraits {
    using Type = HWND;
    static Type Empty() { return nullptr; }
    static void Release(Type window) { DestroyWindow(window); }
};
using WindowHandle = UniqueResource<WindowHandleTraits>;

// Registers, once per process, a window class with the default procedure
// and nothing else (for windows that are never seen); returns its name.
const wchar_t* PlainWindowClass(const wchar_t* name);

// Position and size in pixels: a control's relative to its parent's client
// area, a form's on the screen (outer size, frame included).
struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class Window {
public:
    Window() = default;
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return handle_.Get(); }

    std::string Text() const;
    void SetText(const std::string& text);

    // The window's own states, as set on it (not those of its parents).
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);

    Bounds GetBounds() const;
    void SetBounds(const Bounds& bounds);
    int Left() const { return GetBounds().left; }
    int Top() const { return GetBounds().top; }
    int Width() const { return GetBounds().width; }
    int Height() const { return GetBounds().height; }
    void SetLeft(int left);
    void SetTop(int top);
    void SetWidth(int width);
    void SetHeight(int height);

protected:
    // Called after the text changed; labels with a transparent background
    // repaint what lies beneath them.
    virtual void TextChanged() {}

    WindowHandle handle_;
};
