// A top-level window of the program: caption, enabled and visible state,
// the controls it owns, and a modal run that lasts until its modal result is
// set. Messages reach small handlers registered per message; the controls'
// notifications reach the controls themselves.
#pragma once

#include "windows/Dpi.h"
#include "windows/Gdi.h"
#include "windows/Window.h"

#include <functional>
#include <map>
#include <string>

class Button;
class Control;

class Form : public Window {
public:
    // A form of the window class `className` (registered on first use) with a
    // client area of the given size, owned by `owner` (the application
    // window), created hidden.
    Form(const char* className, const std::string& caption, DWORD style, DWORD exStyle, int clientWidth,
         int clientHeight, HWND owner);
    ~Form() override;

    // The form behind a window handle; nullptr for any other window.
    static Form* FromHandle(HWND window);

    HFONT Font() const { return font_.Get(); }
    // The DPI the form is laid out for, and a designed length at it.
    Dpi CurrentDpi() const { return dpi_; }
    int Scale(int designed) const { return dpi_.Scale(designed); }
    // A font as designed, made at the form's DPI.
    FontHandle MakeScaledFont(const FontDesign& design) const;
    void SetColor(COLORREF color);
    COLORREF Color() const { return color_; }
    int ClientWidth() const;
    void CenterOnScreen();

    void Show();
    void Hide();
    // Ends a modal run with the result 2 (cancel); otherwise asks the close
    // query and hides the form.
    void Close();

    // Shows the form and handles messages until its modal result is set and
    // the close query allows the end; the other visible windows of the
    // program stay disabled meanwhile. Returns the modal result.
    int ShowModal();
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int result) { modalResult_ = result; }
    // The end of a modal run once its result is set: the close query, then the
    // close handler. False (and the result back to 0) when the query refuses.
    bool TryEndModal();

    // Greys and disables the Close item of the system menu; the title-bar
    // Close button and Alt+F4 then do nothing.
    void DisableCloseItem();
    bool CloseItemEnabled() const;

    // The keyboard's buttons: Enter presses the default button unless the
    // focus is on another push button (which Enter then presses), Esc the
    // cancel button while it is shown and enabled. The default button is
    // drawn as such.
    void SetDefaultButton(Button& button);
    void SetCancelButton(Button& button) { cancelButton_ = &button; }

    void Register(Control& control);
    void Unregister(Control& control);

protected:
    using MessageHandler = std::function<LRESULT(WPARAM, LPARAM)>;
    // Handles `message` with `handler` from now on, instead of the default.
    void On(UINT message, MessageHandler handler);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

    virtual void OnFirstActivation() {}
    // After the controls have been laid out for a new DPI.
    virtual void OnDpiChanged() {}
    virtual bool CanClose() { return true; }
    virtual void OnClose() {}

    // Closing this form ends the application's message loop.
    void SetEndsApplication() { endsApplication_ = true; }
    // Destroys the window with its controls; derived forms call it first in
    // their destructors, so that no message reaches a half-destroyed form.
    void DestroyTree();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    Control* ControlById(int id) const;

    LRESULT FormCommand(WPARAM wParam, LPARAM lParam);
    LRESULT FormControlColor(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT FormEraseBackground(WPARAM wParam);
    LRESULT FormActivation(WPARAM wParam, LPARAM lParam);
    LRESULT FormSysCommand(WPARAM wParam, LPARAM lParam);
    LRESULT FormCloseMessage();
    LRESULT FormDpiChanged(WPARAM wParam, LPARAM lParam);
    LRESULT FormDefaultButtonQuery();
    void LoadIcons();

    std::map<UINT, MessageHandler> handlers_;
    std::map<int, Control*> controls_;
    Dpi dpi_;
    FontHandle font_;
    IconHandle bigIcon_;
    IconHandle smallIcon_;
    BrushHandle background_;
    COLORREF color_ = 0;
    HWND lastFocus_ = nullptr;
    Button* defaultButton_ = nullptr;
    Button* cancelButton_ = nullptr;
    int modalResult_ = 0;
    bool inModalRun_ = false;
    bool endsApplication_ = false;
};
