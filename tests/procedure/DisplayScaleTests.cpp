// The windows at another display scale: designed coordinates scaled with
// nothing cut off, and a window that moves to a monitor of another DPI laid
// out anew, back to its exact 96-DPI layout when it returns.
#include <doctest/doctest.h>

#include "RunFixture.h"
#include "windows/Dpi.h"

#include <windows.h>

namespace {

bool SameBounds(const Bounds& a, const Bounds& b)
{
    return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

int FontHeight(HWND control)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
}

// What Windows sends when the window has moved to a monitor of `dpi`.
void MoveToMonitorOf(Form& form, int dpi, const RECT& suggested)
{
    SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

}  // namespace

TEST_CASE("designed lengths scale up at 150 % and 200 %, their edges rounded outwards, unchanged at 96 DPI")
{
    const Bounds button{64, 280, 161, 25};
    CHECK(SameBounds(Dpi(96).Scale(button), button));
    // 225 * 1.5 = 337.5 and 305 * 1.5 = 457.5: the right and bottom edges go
    // out to the next pixel, so the button is never smaller than designed.
    CHECK(SameBounds(Dpi(144).Scale(button), {96, 420, 242, 38}));
    CHECK(SameBounds(Dpi(192).Scale(button), {128, 560, 322, 50}));
    CHECK(Dpi(144).Scale(13) == 20);
    CHECK(Dpi(120).Scale(-3) == -4);
    // Neighbours that touch at 96 DPI touch at any scale.
    const Bounds left{8, 16, 105, 17};
    const Bounds right{113, 16, 105, 17};
    const Bounds a = Dpi(144).Scale(left);
    CHECK(a.left + a.width == Dpi(144).Scale(right).left);
    // A window that goes to 150 % and back is where it was.
    const Bounds there = Dpi(144).Rescale(Bounds{8, 16, 457, 89}, Dpi(96));
    CHECK(SameBounds(Dpi(96).Rescale(there, Dpi(144)), {8, 16, 457, 89}));
}

TEST_CASE("a window moved to a monitor of 150 % is laid out for it, and exactly as before when it comes back")
{
    RunFixture fixture;
    fixture.WriteScript("[Title]\r\nSetup=X\r\n");
    fixture.Start();
    MainWindow& main = fixture.main;
    REQUIRE(main.CurrentDpi().Value() == 96);
    const Bounds message = main.messageLabel.GetBounds();
    const Bounds folder = main.folderBox.GetBounds();
    const Bounds action = main.actionButton.GetBounds();
    const int folderFont = FontHeight(main.folderBox.Handle());
    const int labelFont = FontHeight(main.messageLabel.Handle());
    CHECK(folderFont == 16);

    MoveToMonitorOf(main, 144, {100, 50, 900, 600});
    CHECK(main.CurrentDpi().Value() == 144);
    // The place the system suggested.
    const Bounds window = main.GetBounds();
    CHECK(SameBounds(window, {100, 50, 800, 550}));
    CHECK(SameBounds(main.actionButton.GetBounds(), Dpi(144).Scale(Bounds{64, 280, 161, 25})));
    CHECK(SameBounds(main.messageLabel.GetBounds(), Dpi(144).Rescale(message, Dpi(96))));
    // The fonts are made anew: larger, but never so large that their lines
    // need more room than the scaled label has.
    CHECK(FontHeight(main.folderBox.Handle()) > folderFont);
    CHECK(FontHeight(main.folderBox.Handle()) <= 24);
    CHECK(FontHeight(main.messageLabel.Handle()) > labelFont);
    CHECK(FontHeight(main.messageLabel.Handle()) <= 18);

    MoveToMonitorOf(main, 96, {0, 0, 505, 352});
    CHECK(SameBounds(main.messageLabel.GetBounds(), message));
    CHECK(SameBounds(main.folderBox.GetBounds(), folder));
    CHECK(SameBounds(main.actionButton.GetBounds(), action));
    CHECK(FontHeight(main.folderBox.Handle()) == folderFont);
    CHECK(FontHeight(main.messageLabel.Handle()) == labelFont);
}
