// The controls the program's windows are made of. Each is a real child
// window of the system's standard class (static, button, edit,
// msctls_progress32), so that screen readers and test drivers can read its
// text and state.
#pragma once

#include "windows/AccessibleText.h"
#include "windows/Dpi.h"
#include "windows/Gdi.h"
#include "windows/Window.h"

#include <functional>
#include <string>

class Form;

class Control : public Window {
public:
    // Creates the control as a child of `parent` (a form or a group box) with
    // the form's font; `id` is unique within the form. The bounds are the
    // designed ones (96 DPI), placed at the form's DPI.
    Control(Window& parent, int id, const char* className, DWORD style, DWORD exStyle, const Bounds& bounds,
            const std::string& text);
    ~Control() override;

    int Id() const { return id_; }
    Form& OwnerForm() const { return form_; }

    // A font of the control's own instead of the form's.
    void UseFont(const FontDesign& design);
    void Focus();

    // A notification code of WM_COMMAND from this control.
    virtual void Notify(WORD) {}
    // Colours for WM_CTLCOLOR...; nullptr leaves the system's.
    virtual HBRUSH Colors(HDC) { return nullptr; }
    // Enter pressed while the control has the focus.
    virtual void DefaultKey() {}

    // What a screen reader says of the control instead of the standard
    // name and value; kept when the window is made anew.
    void SetAccessibleText(AccessibleText text);

    // The form is laid out for another DPI: the place, size and font follow.
    void AdaptToDpi(Dpi previous, Dpi current);

    // The form has destroyed the window with its own.
    void ForgetHandle() { handle_.Detach(); }

protected:
    // Makes the window anew with another style, keeping text, place, state
    // and font (some styles can only be chosen at creation).
    void Recreate(DWORD style);
    DWORD Style() const;

private:
    void Create(const Bounds& bounds, const std::string& text);

    Form& form_;
    HWND parent_;
    int id_;
    const char* className_;
    DWORD style_;
    DWORD exStyle_;
    AccessibleText accessibleText_;
    FontDesign ownFontDesign_;
    FontHandle ownFont_;
};

// A group box. Its children's notifications (commands, colour requests) go
// to the group box, which passes them on to the form.
class GroupBox : public Control {
public:
    GroupBox(Window& parent, int id, const Bounds& bounds, const std::string& caption);
};

enum class LabelLayout {
    WordWrap,         // lines wrapped at the right edge
    NoWrap,           // lines break only at carriage returns
    CenteredBothWays  // one line, centred horizontally and vertically
};

class Label : public Control {
public:
    Label(Window& parent, int id, const Bounds& bounds, const std::string& caption,
          LabelLayout layout = LabelLayout::WordWrap, bool transparent = false);
    void SetTextColor(COLORREF color);
    COLORREF TextColor() const { return color_; }
    // Sizes the label to its text, as automatic sizing does.
    void FitToText();
    HBRUSH Colors(HDC dc) override;

protected:
    void TextChanged() override;

private:
    bool transparent_;
    bool hasColor_ = false;
    COLORREF color_ = 0;
};

class Button : public Control {
public:
    Button(Window& parent, int id, const Bounds& bounds, const std::string& caption);
    void OnClick(std::function<void()> handler) { onClick_ = std::move(handler); }
    // Presses the button as a person would: nothing happens while disabled.
    void Click();
    void Notify(WORD code) override;
    void DefaultKey() override { Click(); }

private:
    std::function<void()> onClick_;
};

class CheckBox : public Control {
public:
    CheckBox(Window& parent, int id, const Bounds& bounds, const std::string& caption);
    bool Checked() const;
    void SetChecked(bool checked);
};

class Edit : public Control {
public:
    // A one-line text box.
    Edit(Window& parent, int id, const Bounds& bounds, const std::string& text);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    void OnChange(std::function<void()> handler) { onChange_ = std::move(handler); }
    void Notify(WORD code) override;
    // Enabled text boxes keep the window colour, read-only ones too.
    HBRUSH Colors(HDC dc) override;

protected:
    Edit(Window& parent, int id, const Bounds& bounds, const std::string& text, DWORD style);

private:
    std::function<void()> onChange_;
};

enum class ScrollBars { Vertical, Horizontal, Both };

// A multi-line, read-only text box with scroll bars.
class Memo : public Edit {
public:
    Memo(Window& parent, int id, const Bounds& bounds);
    // Lines wrap at the right edge unless there is a horizontal scroll bar.
    void SetScrollBars(ScrollBars bars);
};

class ProgressBar : public Control {
public:
    ProgressBar(Window& parent, int id, const Bounds& bounds);
    void SetRange(int low, int high);
    void SetStep(int step);
    void SetPosition(int position);
    int Position() const;
};
