// The full-screen backdrop of a run: a maximized, disabled teal window with
// the setup's title in large italic letters and its shadow at the top left
// and the product banner at the bottom right. It is the application's main
// window: its first resize shows the main window modally, and when that run
// is over it closes, which ends the program. Its enabled state is a signal:
// enabled means the run may end without the close question.
#pragma once

#include "windows/Controls.h"
#include "windows/Form.h"

class Backdrop : public Form {
public:
    explicit Backdrop(HWND owner);
    ~Backdrop() override;

    // The window that the first resize shows modally.
    void SetRunWindow(Form& runWindow) { runWindow_ = &runWindow; }
    // Opens the window maximized; the resize that follows starts the run.
    void ShowMaximized();

    // The designed colours (teal, white letters with blue shadows), or with
    // a high-contrast theme on, the theme's window colours: the shadows
    // then vanish into the background. Followed again whenever the system's
    // colours or settings change.
    void ApplyColors(bool highContrast);

    // The product banner: "Orvane Standard" and a line of our own.
    static std::string BannerText();

    // Created from the top of the stacking order down: the title above its
    // shadow, the banner above its shadow.
    Label programTitleLabel1;
    Label programTitleLabel2;
    Label bannerLabel1;
    Label bannerLabel2;

protected:
    void OnDpiChanged() override;

private:
    void OnCreate();
    void FormResize();
    void PlaceBanner();

    Form* runWindow_ = nullptr;
};
