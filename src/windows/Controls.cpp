#include "windows/Controls.h"

#include "text/Unicode.h"
#include "windows/Form.h"

#include <commctrl.h>

namespace {

Form& FormOf(Window& parent)
{
    if (auto* form = dynamic_cast<Form*>(&parent)) return *form;
    return static_cast<Control&>(parent).OwnerForm();
}

// A group box gives its children's messages to the form: a group box of the
// system's button class would otherwise swallow them.
LRESULT CALLBACK GroupBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
        return SendMessageW(GetAncestor(window, GA_ROOT), message, wParam, lParam);
    case WM_ERASEBKGND: {
        // The whole box is painted, so that a group box covers what lies
        // beneath it (the progress frame over the lower part of a message).
        RECT client{};
        GetClientRect(window, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, &GroupBoxProc, 0);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

DWORD LabelStyle(LabelLayout layout)
{
    switch (layout) {
    case LabelLayout::NoWrap:
        return SS_LEFTNOWORDWRAP;
    case LabelLayout::CenteredBothWays:
        return SS_CENTER | SS_CENTERIMAGE;
    case LabelLayout::WordWrap:
        break;
    }
    return SS_LEFT;
}

}  // namespace

Control::Control(Window& parent, int id, const char* className, DWORD style, DWORD exStyle, const Bounds& bounds,
                 const std::string& text)
    // Controls start visible; the windows hide those that start hidden.
    : form_(FormOf(parent)), parent_(parent.Handle()), id_(id), className_(className),
      style_(style | WS_CHILD | WS_VISIBLE), exStyle_(exStyle)
{
    Create(form_.CurrentDpi().Scale(bounds), text);
    form_.Register(*this);
}

Control::~Control()
{
    form_.Unregister(*this);
}

void Control::Create(const Bounds& bounds, const std::string& text)
{
    // A window of the wide functions takes and gives its text as UTF-16,
    // whatever the system's code page.
    handle_.Reset(CreateWindowExW(exStyle_ | WS_EX_NOPARENTNOTIFY, WideFromShiftJis(className_).c_str(),
                                  WideFromShiftJis(text).c_str(), style_, bounds.left, bounds.top, bounds.width,
                                  bounds.height, parent_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
                                  GetModuleHandleW(nullptr), nullptr));
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(ownFont_ ? ownFont_.Get() : form_.Font()), FALSE);
    if (accessibleText_.name || accessibleText_.value) ProvideAccessibleText(Handle(), accessibleText_);
}

void Control::SetAccessibleText(AccessibleText text)
{
    accessibleText_ = std::move(text);
    ProvideAccessibleText(Handle(), accessibleText_);
}

void Control::Recreate(DWORD style)
{
    const Bounds bounds = GetBounds();
    const std::string text = Text();
    // The window state lives in the style bits: keep visibility and the
    // enabled state of the old window.
    const DWORD state = Style() & (WS_VISIBLE | WS_DISABLED);
    HWND above = GetWindow(Handle(), GW_HWNDPREV);
    style_ = (style & ~(WS_VISIBLE | WS_DISABLED)) | state;
    handle_.Reset();
    Create(bounds, text);
    // Keep the place in the tab order.
    SetWindowPos(Handle(), above != nullptr ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

DWORD Control::Style() const
{
    return static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE));
}

void Control::UseFont(const FontDesign& design)
{
    // The font the control used until now is deleted only once it is no
    // longer selected.
    FontHandle previous = std::move(ownFont_);
    ownFontDesign_ = design;
    ownFont_ = form_.MakeScaledFont(design);
    SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(ownFont_.Get()), TRUE);
}

void Control::AdaptToDpi(Dpi previous, Dpi current)
{
    SetBounds(current.Rescale(GetBounds(), previous));
    if (ownFont_) {
        UseFont(ownFontDesign_);
    } else {
        SendMessageW(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(form_.Font()), TRUE);
    }
}

void Control::Focus()
{
    SetFocus(Handle());
}

GroupBox::GroupBox(Window& parent, int id, const Bounds& bounds, const std::string& caption)
    : Control(parent, id, "BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, bounds,
              caption)
{
    SetWindowSubclass(Handle(), &GroupBoxProc, 0, 0);
}

Label::Label(Window& parent, int id, const Bounds& bounds, const std::string& caption, LabelLayout layout,
             bool transparent)
    // Texts are shown as they are: "&" is no mnemonic. A transparent label
    // is painted after the siblings beneath it, so stacked labels (a title
    // and its shadow) paint from the bottom up; an opaque one never paints
    // over a sibling above it.
    : Control(parent, id, "STATIC", LabelStyle(layout) | SS_NOPREFIX | (transparent ? 0 : WS_CLIPSIBLINGS),
              transparent ? WS_EX_TRANSPARENT : 0, bounds, caption),
      transparent_(transparent)
{
}

void Label::SetTextColor(COLORREF color)
{
    hasColor_ = true;
    color_ = color;
    TextChanged();
}

void Label::FitToText()
{
    const std::wstring text = WideFromShiftJis(Text());
    RECT rect{0, 0, 0, 0};
    {
        const WindowTextDC dc(Handle());
        DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
                  DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    }
    Bounds bounds = GetBounds();
    bounds.width = rect.right - rect.left;
    bounds.height = rect.bottom - rect.top;
    SetBounds(bounds);
    TextChanged();
}

HBRUSH Label::Colors(HDC dc)
{
    if (!transparent_ && !hasColor_) return nullptr;
    if (hasColor_) ::SetTextColor(dc, color_);
    if (!transparent_) return nullptr;
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

void Label::TextChanged()
{
    if (!transparent_) {
        InvalidateRect(Handle(), nullptr, TRUE);
        return;
    }
    // Nothing erases behind a transparent label: repaint what lies beneath.
    HWND parent = GetParent(Handle());
    RECT rect{};
    GetWindowRect(Handle(), &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    RedrawWindow(parent, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

Button::Button(Window& parent, int id, const Bounds& bounds, const std::string& caption)
    : Control(parent, id, "BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0, bounds, caption)
{
}

void Button::Click()
{
    if (Enabled()) SendMessageW(Handle(), BM_CLICK, 0, 0);
}

void Button::Notify(WORD code)
{
    if (code == BN_CLICKED && onClick_) onClick_();
}

CheckBox::CheckBox(Window& parent, int id, const Bounds& bounds, const std::string& caption)
    : Control(parent, id, "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0, bounds, caption)
{
}

bool CheckBox::Checked() const
{
    return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CheckBox::SetChecked(bool checked)
{
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

Edit::Edit(Window& parent, int id, const Bounds& bounds, const std::string& text)
    : Edit(parent, id, bounds, text, ES_AUTOHSCROLL)
{
}

Edit::Edit(Window& parent, int id, const Bounds& bounds, const std::string& text, DWORD style)
    : Control(parent, id, "EDIT", style | WS_TABSTOP, WS_EX_CLIENTEDGE, bounds, text)
{
    // No length limit on what the program puts in (a long failure report).
    SendMessageW(Handle(), EM_LIMITTEXT, 0, 0);
}

bool Edit::ReadOnly() const
{
    return (Style() & ES_READONLY) != 0;
}

void Edit::SetReadOnly(bool readOnly)
{
    SendMessageW(Handle(), EM_SETREADONLY, readOnly ? TRUE : FALSE, 0);
}

void Edit::Notify(WORD code)
{
    if (code == EN_CHANGE && onChange_) onChange_();
}

HBRUSH Edit::Colors(HDC dc)
{
    if (!Enabled()) return nullptr;
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    ::SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return GetSysColorBrush(COLOR_WINDOW);
}

namespace {

// A multi-line edit box keeps every key for itself, Tab, Enter and Esc
// among them. The memo is read-only: those keys go to the dialog keys, so
// that Tab leaves it and Enter and Esc press the window's buttons.
LRESULT CALLBACK MemoKeysProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_GETDLGCODE) {
        // Asked about one of these keys, the edit box would act on it
        // already (Esc closes its parent): it is not asked.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        if (key != nullptr && key->message == WM_KEYDOWN &&
            (key->wParam == VK_TAB || key->wParam == VK_RETURN || key->wParam == VK_ESCAPE))
            return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL;
        return DefSubclassProc(window, message, wParam, lParam) & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &MemoKeysProc, 0);
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

Memo::Memo(Window& parent, int id, const Bounds& bounds)
    : Edit(parent, id, bounds, "", ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL)
{
    SetWindowSubclass(Handle(), &MemoKeysProc, 0, 0);
}

void Memo::SetScrollBars(ScrollBars bars)
{
    DWORD style = Style() & ~(WS_VSCROLL | WS_HSCROLL | ES_AUTOHSCROLL);
    if (bars != ScrollBars::Horizontal) style |= WS_VSCROLL;
    if (bars != ScrollBars::Vertical) style |= WS_HSCROLL | ES_AUTOHSCROLL;
    if (style != Style()) {
        Recreate(style);
        SendMessageW(Handle(), EM_LIMITTEXT, 0, 0);
        SetWindowSubclass(Handle(), &MemoKeysProc, 0, 0);
    }
}

namespace {

// The progress bar's window class belongs to the common controls library,
// which registers it on request.
const char* ProgressClass()
{
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_PROGRESS_CLASS};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)registered;
    return "msctls_progress32";
}

}  // namespace

ProgressBar::ProgressBar(Window& parent, int id, const Bounds& bounds)
    : Control(parent, id, ProgressClass(), 0, 0, bounds, "")
{
}

void ProgressBar::SetRange(int low, int high)
{
    SendMessageW(Handle(), PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void ProgressBar::SetStep(int step)
{
    SendMessageW(Handle(), PBM_SETSTEP, static_cast<WPARAM>(step), 0);
}

void ProgressBar::SetPosition(int position)
{
    SendMessageW(Handle(), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

int ProgressBar::Position() const
{
    return static_cast<int>(SendMessageW(Handle(), PBM_GETPOS, 0, 0));
}
