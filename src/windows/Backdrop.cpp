#include "windows/Backdrop.h"

#include "windows/ApplicationWindow.h"
#include "windows/ControlIds.h"
#include "windows/MessageBox.h"
#include "windows/VersionInfo.h"

namespace {

constexpr COLORREF Teal = RGB(0, 128, 128);
constexpr COLORREF Blue = RGB(0, 0, 255);
constexpr COLORREF White = RGB(255, 255, 255);

void StyleLabel(Label& label, const FontDesign& font)
{
    label.UseFont(font);
    label.FitToText();
}

bool HighContrastOn()
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

Backdrop::Backdrop(HWND owner)
    : Form(WindowClassNames::Backdrop, "Orvane", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 536, 348, owner),
      programTitleLabel1(*this, BackdropIds::programTitleLabel1, {8, 48, 0, 0}, "BackTitle", LabelLayout::NoWrap, true),
      programTitleLabel2(*this, BackdropIds::programTitleLabel2, {8, 56, 0, 0}, "BackTitle", LabelLayout::NoWrap, true),
      bannerLabel1(*this, BackdropIds::bannerLabel1, {16, 16, 0, 0}, "  ", LabelLayout::NoWrap, true),
      bannerLabel2(*this, BackdropIds::bannerLabel2, {39, 16, 0, 0}, "  ", LabelLayout::NoWrap, true)
{
    StyleLabel(bannerLabel2, FontDesign{"ＭＳ Ｐゴシック", 32, true});
    StyleLabel(bannerLabel1, FontDesign{"ＭＳ Ｐゴシック", 32, true});
    StyleLabel(programTitleLabel2, FontDesign{"Times New Roman", 16, true, DEFAULT_CHARSET});
    StyleLabel(programTitleLabel1, FontDesign{"Times New Roman", 16, true, DEFAULT_CHARSET});
    ApplyColors(HighContrastOn());
    for (UINT message : {WM_SYSCOLORCHANGE, WM_SETTINGCHANGE}) {
        On(message, [this, message](WPARAM w, LPARAM l) {
            ApplyColors(HighContrastOn());
            return DefaultHandling(message, w, l);
        });
    }
    programTitleLabel2.SetVisible(false);
    programTitleLabel1.SetVisible(false);
    SetEnabled(false);
    OnCreate();
    On(WM_SIZE, [this](WPARAM, LPARAM) {
        FormResize();
        return LRESULT{0};
    });
    SetEndsApplication();
}

Backdrop::~Backdrop()
{
    DestroyTree();
}

void Backdrop::ApplyColors(bool highContrast)
{
    const COLORREF background = highContrast ? GetSysColor(COLOR_WINDOW) : Teal;
    const COLORREF letters = highContrast ? GetSysColor(COLOR_WINDOWTEXT) : White;
    const COLORREF shadows = highContrast ? background : Blue;
    SetColor(background);
    for (Label* label : {&bannerLabel1, &programTitleLabel1}) label->SetTextColor(letters);
    for (Label* label : {&bannerLabel2, &programTitleLabel2}) label->SetTextColor(shadows);
}

std::string Backdrop::BannerText()
{
    return "Orvane Standard\rSetup and Uninstall";
}

void Backdrop::ShowMaximized()
{
    ShowWindow(Handle(), SW_SHOWMAXIMIZED);
}

// The application's own window takes the program's icon, for its task-bar
// button.
void Backdrop::OnCreate()
{
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
    if (ApplicationWindow() != nullptr && icon != nullptr)
        SetClassLongPtrW(ApplicationWindow(), GCLP_HICON, reinterpret_cast<LONG_PTR>(icon));
}

// Everything happens on the first resize, the one of opening maximized:
// later resizes find the banner visible and change nothing.
void Backdrop::FormResize()
{
    if (programTitleLabel1.Visible()) return;
    VersionNumbers numbers;
    ReadVersionNumbers(ExecutableWidePath(), numbers);
    SetText("Orvane Standard Version" + VersionText(numbers));
    bannerLabel2.SetLeft(bannerLabel1.Left() + Scale(2));
    bannerLabel2.SetTop(bannerLabel1.Top() + Scale(2));
    PlaceBanner();
    programTitleLabel1.SetVisible(true);
    programTitleLabel2.SetVisible(true);
    RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    if (runWindow_ != nullptr) runWindow_->ShowModal();
    Close();
}

// The banner is measured again in its new font, at the new corner.
void Backdrop::OnDpiChanged()
{
    if (programTitleLabel1.Visible()) PlaceBanner();
}

void Backdrop::PlaceBanner()
{
    programTitleLabel1.SetText(BannerText());
    programTitleLabel2.SetText(BannerText());
    programTitleLabel1.FitToText();
    programTitleLabel2.FitToText();
    Bounds banner = programTitleLabel1.GetBounds();
    banner.width += Scale(8);
    banner.left = Width() - banner.width - Scale(24);
    banner.top = Height() - banner.height - Scale(48);
    programTitleLabel1.SetBounds(banner);
    programTitleLabel2.SetLeft(banner.left + Scale(2));
    programTitleLabel2.SetTop(banner.top + Scale(2));
}
