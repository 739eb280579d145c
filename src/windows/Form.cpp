#include "windows/Form.h"

#include "text/Unicode.h"
#include "windows/Controls.h"
#include "windows/ErrorGuard.h"
#include "windows/MessagePump.h"
#include "windows/ProgramModality.h"

#include <set>
#include <unordered_map>
#include <vector>

namespace {

// Every form's own font.
const FontDesign FormFont{"ＭＳ Ｐゴシック", 12};

// The program's forms by their windows. The window procedure and the
// message pump look a form up for every message: kept in the process, not
// as a window property, whose every read is a request to Wine's server
// (several on each repaint of the progress window).
class FormTable {
public:
    void Add(HWND window, Form* form)
    {
        AcquireSRWLockExclusive(&lock_);
        forms_[window] = form;
        ReleaseSRWLockExclusive(&lock_);
    }
    void Remove(HWND window)
    {
        AcquireSRWLockExclusive(&lock_);
        forms_.erase(window);
        ReleaseSRWLockExclusive(&lock_);
    }
    Form* Find(HWND window)
    {
        AcquireSRWLockShared(&lock_);
        const auto found = forms_.find(window);
        Form* form = found != forms_.end() ? found->second : nullptr;
        ReleaseSRWLockShared(&lock_);
        return form;
    }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::unordered_map<HWND, Form*> forms_;
};

FormTable& Forms()
{
    static FormTable forms;
    return forms;
}

void RegisterFormClass(const char* className, WNDPROC procedure)
{
    static std::set<std::string> registered;
    if (registered.count(className) != 0) return;
    // A class of the wide functions: its windows are Unicode windows, so
    // captions and every text message travel as UTF-16.
    const std::wstring name = WideFromShiftJis(className);
    WNDCLASSW windowClass{};
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    // The program's icon (resource 1) in every title bar.
    windowClass.hIcon = LoadIconW(windowClass.hInstance, MAKEINTRESOURCEW(1));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name.c_str();
    RegisterClassW(&windowClass);
    registered.insert(className);
}


}  // namespace

Form::Form(const char* className, const std::string& caption, DWORD style, DWORD exStyle, int clientWidth,
           int clientHeight, HWND owner)
    : dpi_(Dpi::OfSystem())
{
    RegisterFormClass(className, &Form::WindowProc);
    const SIZE frame = FrameSizeForDpi(Scale(clientWidth), Scale(clientHeight), style, exStyle, dpi_);
    // WS_EX_CONTROLPARENT lets the dialog keys reach into the group boxes.
    handle_.Reset(CreateWindowExW(exStyle | WS_EX_CONTROLPARENT, WideFromShiftJis(className).c_str(),
                                  WideFromShiftJis(caption).c_str(), style & ~WS_VISIBLE, CW_USEDEFAULT,
                                  CW_USEDEFAULT, frame.cx, frame.cy, owner, nullptr, GetModuleHandleW(nullptr), this));
    // A window made on a monitor of another DPI than the system's is laid
    // out for its own from the start.
    if (const Dpi own = Dpi::OfWindow(Handle()); !(own == dpi_)) {
        dpi_ = own;
        const SIZE ownFrame = FrameSizeForDpi(Scale(clientWidth), Scale(clientHeight), style, exStyle, dpi_);
        SetWindowPos(Handle(), nullptr, 0, 0, ownFrame.cx, ownFrame.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    font_ = MakeScaledFont(FormFont);
    LoadIcons();
    On(WM_COMMAND, [this](WPARAM w, LPARAM l) { return FormCommand(w, l); });
    for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLOREDIT, WM_CTLCOLORBTN})
        On(message, [this, message](WPARAM w, LPARAM l) { return FormControlColor(message, w, l); });
    On(WM_ACTIVATE, [this](WPARAM w, LPARAM l) { return FormActivation(w, l); });
    On(WM_SYSCOMMAND, [this](WPARAM w, LPARAM l) { return FormSysCommand(w, l); });
    On(WM_CLOSE, [this](WPARAM, LPARAM) { return FormCloseMessage(); });
    On(WM_DPICHANGED, [this](WPARAM w, LPARAM l) { return FormDpiChanged(w, l); });
    On(DM_GETDEFID, [this](WPARAM, LPARAM) { return FormDefaultButtonQuery(); });
}

Form::~Form()
{
    DestroyTree();
}

void Form::DestroyTree()
{
    if (!handle_) return;
    Forms().Remove(Handle());
    handlers_.clear();
    for (auto& [id, control] : controls_) control->ForgetHandle();
    controls_.clear();
    handle_.Reset();
}

Form* Form::FromHandle(HWND window)
{
    if (window == nullptr) return nullptr;
    return Forms().Find(window);
}

LRESULT CALLBACK Form::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        Forms().Add(window, static_cast<Form*>(creation->lpCreateParams));
    }
    Form* form = FromHandle(window);
    if (message == WM_NCDESTROY) Forms().Remove(window);
    // While the window is being created the form has no handle and no
    // handlers yet.
    if (form == nullptr || form->Handle() == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    return RunGuarded([&] { return form->HandleMessage(message, wParam, lParam); });
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto handler = handlers_.find(message);
    if (handler != handlers_.end()) return handler->second(wParam, lParam);
    return DefaultHandling(message, wParam, lParam);
}

LRESULT Form::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(Handle(), message, wParam, lParam);
}

void Form::On(UINT message, MessageHandler handler)
{
    handlers_[message] = std::move(handler);
}

void Form::Register(Control& control)
{
    controls_[control.Id()] = &control;
}

void Form::Unregister(Control& control)
{
    const auto found = controls_.find(control.Id());
    if (found != controls_.end() && found->second == &control) controls_.erase(found);
}

Control* Form::ControlById(int id) const
{
    const auto found = controls_.find(id);
    return found != controls_.end() ? found->second : nullptr;
}

// A control's notification, passed on to the control. The dialog keys'
// commands come without a control.
LRESULT Form::FormCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    HWND source = reinterpret_cast<HWND>(lParam);
    if (source == nullptr) {
        // Esc: the cancel button, as a person could press it.
        if (id == IDCANCEL) {
            if (cancelButton_ != nullptr && IsWindowVisible(cancelButton_->Handle())) cancelButton_->Click();
            return 0;
        }
        // Enter: the button the default-button query named (one inside a
        // group box comes without its window), or IDOK for the focus.
        HWND focus = GetFocus();
        Control* target = id == IDOK && focus != nullptr ? ControlById(GetDlgCtrlID(focus)) : ControlById(id);
        if (target != nullptr && (id != IDOK || target->Handle() == focus)) target->DefaultKey();
        return 0;
    }
    Control* control = ControlById(id);
    if (control != nullptr && control->Handle() == source) control->Notify(HIWORD(wParam));
    return 0;
}

void Form::SetDefaultButton(Button& button)
{
    defaultButton_ = &button;
    SendMessageW(button.Handle(), BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

// The dialog keys ask which button Enter presses: the focused push button,
// else the default one.
LRESULT Form::FormDefaultButtonQuery()
{
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(Handle(), focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) &
                                                         (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)) != 0)
        return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
    if (defaultButton_ != nullptr && IsWindowVisible(defaultButton_->Handle()))
        return MAKELRESULT(defaultButton_->Id(), DC_HASDEFID);
    return 0;
}

LRESULT Form::FormControlColor(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND source = reinterpret_cast<HWND>(lParam);
    Control* control = ControlById(GetDlgCtrlID(source));
    if (control != nullptr && control->Handle() == source) {
        if (HBRUSH brush = control->Colors(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
    }
    return DefaultHandling(message, wParam, lParam);
}

LRESULT Form::FormEraseBackground(WPARAM wParam)
{
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, background_.Get());
    return 1;
}

// Activation gives the focus back to the control that had it, as dialogs
// do, then runs the form's own activation handler.
LRESULT Form::FormActivation(WPARAM wParam, LPARAM)
{
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(Handle(), focus)) lastFocus_ = focus;
        return 0;
    }
    if (lastFocus_ != nullptr && IsChild(Handle(), lastFocus_) && IsWindowVisible(lastFocus_) &&
        IsWindowEnabled(lastFocus_)) {
        SetFocus(lastFocus_);
    } else if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) {
        SetFocus(first);
    } else {
        SetFocus(Handle());
    }
    OnFirstActivation();
    return 0;
}

LRESULT Form::FormSysCommand(WPARAM wParam, LPARAM lParam)
{
    if ((wParam & 0xFFF0) == SC_CLOSE && !CloseItemEnabled()) return 0;
    return DefaultHandling(WM_SYSCOMMAND, wParam, lParam);
}

LRESULT Form::FormCloseMessage()
{
    Close();
    return 0;
}

namespace {

// The line height and average character width of a font.
SIZE FontCell(const FontHandle& font)
{
    SIZE cell{0, 0};
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return cell;
    HGDIOBJ previous = SelectObject(screen, font.Get());
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(screen, &metrics)) cell = {metrics.tmAveCharWidth, metrics.tmHeight};
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return cell;
}

}  // namespace

// A font's lines do not grow in proportion to its size: the face at the
// scaled height can need more room than the scaled control has. It is
// made one pixel smaller until its lines and characters are no larger
// than those of the designed font, scaled; so no text is cut off.
FontHandle Form::MakeScaledFont(const FontDesign& design) const
{
    FontHandle font = MakeFont(design.face, Scale(design.height), design.italic, design.charset);
    if (dpi_ == Dpi()) return font;
    const SIZE designed = FontCell(MakeFont(design.face, design.height, design.italic, design.charset));
    // Rounded down: seven lines of the font fit where seven designed lines did.
    const SIZE room{designed.cx * dpi_.Value() / Dpi::Designed, designed.cy * dpi_.Value() / Dpi::Designed};
    for (int height = Scale(design.height) - 1; height > design.height; --height) {
        const SIZE cell = FontCell(font);
        if (cell.cx <= room.cx && cell.cy <= room.cy) break;
        font = MakeFont(design.face, height, design.italic, design.charset);
    }
    return font;
}

// The program's icon (resource 1) in the title bar and the task switcher,
// at the sizes the form's DPI asks for.
void Form::LoadIcons()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    const auto load = [&](int widthMetric, int heightMetric) {
        return IconHandle(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                        SystemMetricForDpi(widthMetric, dpi_),
                                                        SystemMetricForDpi(heightMetric, dpi_), 0)));
    };
    IconHandle big = load(SM_CXICON, SM_CYICON);
    IconHandle small = load(SM_CXSMICON, SM_CYSMICON);
    if (!big || !small) return;
    SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.Get()));
    SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.Get()));
    // The icons shown until now are released only once replaced.
    bigIcon_ = std::move(big);
    smallIcon_ = std::move(small);
}

// The window has moved to a monitor of another DPI (or the DPI changed):
// the controls, fonts and icons are laid out anew for it, and the window
// takes the place the system suggests.
LRESULT Form::FormDpiChanged(WPARAM wParam, LPARAM lParam)
{
    const Dpi previous = dpi_;
    dpi_ = Dpi(HIWORD(wParam));
    // The old font stays alive until no control uses it any more.
    FontHandle previousFont = std::move(font_);
    font_ = MakeScaledFont(FormFont);
    for (auto& [id, control] : controls_) control->AdaptToDpi(previous, dpi_);
    LoadIcons();
    if (const auto* suggested = reinterpret_cast<const RECT*>(lParam)) {
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    OnDpiChanged();
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return 0;
}

void Form::SetColor(COLORREF color)
{
    color_ = color;
    background_ = BrushHandle(CreateSolidBrush(color));
    On(WM_ERASEBKGND, [this](WPARAM w, LPARAM) { return FormEraseBackground(w); });
    InvalidateRect(Handle(), nullptr, TRUE);
}

int Form::ClientWidth() const
{
    RECT client{};
    GetClientRect(Handle(), &client);
    return client.right;
}

void Form::CenterOnScreen()
{
    const Bounds bounds = GetBounds();
    SetWindowPos(Handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - bounds.width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - bounds.height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show()
{
    ShowWindow(Handle(), SW_SHOW);
}

void Form::Hide()
{
    ShowWindow(Handle(), SW_HIDE);
}

void Form::Close()
{
    if (inModalRun_) {
        modalResult_ = IDCANCEL;
        return;
    }
    if (!CanClose()) return;
    OnClose();
    Hide();
    if (endsApplication_) PostQuitMessage(0);
}

int Form::ShowModal()
{
    if (inModalRun_) return 0;
    modalResult_ = 0;
    ProgramModality others(ProgramModality::Scope::VisibleOthers, Handle());
    inModalRun_ = true;
    Show();
    SetForegroundWindow(Handle());
    for (;;) {
        if (modalResult_ != 0 && TryEndModal()) break;
        MSG message;
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The program is ending: the quit belongs to the outer loop.
            PostQuitMessage(got == 0 ? static_cast<int>(message.wParam) : 0);
            modalResult_ = IDCANCEL;
            break;
        }
        DispatchWindowMessage(message);
    }
    inModalRun_ = false;
    Hide();
    return modalResult_;
}

bool Form::TryEndModal()
{
    bool ended = false;
    RunGuarded([&] {
        if (CanClose()) {
            OnClose();
            ended = true;
        }
        return LRESULT{0};
    });
    if (!ended) modalResult_ = 0;
    return ended;
}

void Form::DisableCloseItem()
{
    EnableMenuItem(GetSystemMenu(Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED | MF_DISABLED);
}

bool Form::CloseItemEnabled() const
{
    if ((GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_SYSMENU) == 0) return false;
    HMENU menu = GetSystemMenu(Handle(), FALSE);
    if (menu == nullptr) return true;
    const UINT state = GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
    return state == static_cast<UINT>(-1) || (state & (MF_GRAYED | MF_DISABLED)) == 0;
}
