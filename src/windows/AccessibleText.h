// What a screen reader says of a control whose own window text names
// nothing: an edit box or a progress bar is named by the caption of its
// group, a progress bar's value is the count beside it. The control's
// standard accessible object answers everything else.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

struct AccessibleText {
    // Each empty function leaves the standard answer.
    std::function<std::wstring()> name;
    std::function<std::wstring()> value;
};

// From now on the accessible object of `control` answers with `text`, until
// the control is destroyed.
void ProvideAccessibleText(HWND control, AccessibleText text);

// Tells screen readers that the value of `control` has changed.
void AnnounceValueChange(HWND control);
