#include "windows/TfrmBack.h"

#include "windows/MessageBox.h"
#include "windows/ApplicationWindow.h"
#include "windows/ControlIds.h"
#include "windows/VersionInfo.h"

namespace {

constexpr COLORREF Teal = RGB(0, 128, 128);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF White = RGB(255, 255, 255);

void StyleLabel(Label& label, FontHandle font, COLORREF color)
{
    label.UseFont(std::move(font));
    label.SetTextColor(color);
    label.FitToText();
}

}  // namespace

TfrmBack::TfrmBack(HWND owner)
    : Form("TfrmBack", "Orvane", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 536, 348, owner),
      lblPrgTitle1(*this, BackIds::lblPrgTitle1, {8, 48, 0, 0}, "BackTitle", LabelLayout::NoWrap, true),
      lblPrgTitle2(*this, BackIds::lblPrgTitle2, {8, 56, 0, 0}, "BackTitle", LabelLayout::NoWrap, true),
      lblBackTitle1(*this, BackIds::lblBackTitle1, {16, 16, 0, 0}, "  ", LabelLayout::NoWrap, true),
      lblBackTitle2(*this, BackIds::lblBackTitle2, {39, 16, 0, 0}, "  ", LabelLayout::NoWrap, true)
{
    SetColor(Teal);
    StyleLabel(lblBackTitle2, MakeFont("ＭＳ Ｐゴシック", 32, true), Blue);
    StyleLabel(lblBackTitle1, MakeFont("ＭＳ Ｐゴシック", 32, true), White);
    StyleLabel(lblPrgTitle2, MakeFont("Times New Roman", 16, true, DEFAULT_CHARSET), Blue);
    StyleLabel(lblPrgTitle1, MakeFont("Times New Roman", 16, true, DEFAULT_CHARSET), White);
    lblPrgTitle2.SetVisible(false);
    lblPrgTitle1.SetVisible(false);
    SetEnabled(false);
    FormCreate();
    On(WM_SIZE, [this](WPARAM, LPARAM) {
        FormResize();
        return LRESULT{0};
    });
    SetEndsApplication();
}

TfrmBack::~TfrmBack()
{
    DestroyTree();
}

std::string TfrmBack::BannerText()
{
    return "Orvane Standard\rSetup and Uninstall";
}

void TfrmBack::ShowMaximized()
{
    ShowWindow(Handle(), SW_SHOWMAXIMIZED);
}

// The application's own window takes the program's icon, for its task-bar
// button.
void TfrmBack::FormCreate()
{
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1));
    if (ApplicationWindow() != nullptr && icon != nullptr)
        SetClassLongPtrA(ApplicationWindow(), GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
}

// Everything happens on the first resize, the one of opening maximized:
// later resizes find the banner visible and change nothing.
void TfrmBack::FormResize()
{
    if (lblPrgTitle1.Visible()) return;
    VersionNumbers numbers;
    ReadVersionNumbers(ExecutablePath(), numbers);
    SetText("Orvane Standard Version" + VersionText(numbers));
    lblBackTitle2.SetLeft(lblBackTitle1.Left() + 2);
    lblBackTitle2.SetTop(lblBackTitle1.Top() + 2);
    PlaceBanner();
    lblPrgTitle1.SetVisible(true);
    lblPrgTitle2.SetVisible(true);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (runWindow_ != nullptr) runWindow_->ShowModal();
    Close();
}

void TfrmBack::PlaceBanner()
{
    lblPrgTitle1.SetText(BannerText());
    lblPrgTitle2.SetText(BannerText());
    lblPrgTitle1.FitToText();
    lblPrgTitle2.FitToText();
    Bounds banner = lblPrgTitle1.GetBounds();
    banner.width += 8;
    banner.left = Width() - banner.width - 24;
    banner.top = Height() - banner.height - 48;
    lblPrgTitle1.SetBounds(banner);
    lblPrgTitle2.SetLeft(banner.left + 2);
    lblPrgTitle2.SetTop(banner.top + 2);
}
