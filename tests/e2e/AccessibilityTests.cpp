// What a screen reader hears of SETUP.EXE, read from outside through the
// accessibility interfaces as a screen reader reads it: every control
// named, the boxes by their frames' captions, the readme's text readable,
// and the progress window's status and count as they change.
#include <doctest/doctest.h>

#include "SampleDistribution.h"
#include "ScreenExpectations.h"
#include "services/Win32Com.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "windows/ControlIds.h"

#include <windows.h>
#include <oleacc.h>

#include <string>

namespace {

struct Heard {
    bool found = false;
    std::string name;
    std::string value;
};

std::string ShiftJis(BSTR text)
{
    if (text == nullptr) return {};
    const int length = static_cast<int>(SysStringLen(text));
    const int size = WideCharToMultiByte(932, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(932, 0, text, length, bytes.data(), size, nullptr, nullptr);
    SysFreeString(text);
    return bytes;
}

// The name and value of a control's accessible object.
Heard Hear(HWND control)
{
    Heard heard;
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void**>(&object))) ||
        object == nullptr)
        return heard;
    heard.found = true;
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR text = nullptr;
    if (object->get_accName(self, &text) == S_OK) heard.name = ShiftJis(text);
    text = nullptr;
    if (object->get_accValue(self, &text) == S_OK) heard.value = ShiftJis(text);
    object->Release();
    return heard;
}

}  // namespace

TEST_CASE("a screen reader hears every control named, the readme's text, and the progress as it goes")
{
    REQUIRE_MESSAGE(PathExists(SampleDisk(1) + "SETUP.EXE"), "the sample is laid out by tools/layout-sample.sh");
    const ComApartment com;
    SampleRemoved removed;
    const SampleInstallation& sample = removed.sample;
    ScratchFolder drive("a11ydrive");
    ScratchFolder temp("a11ytmp");
    REQUIRE(CopyDisk(SampleDisk(1), drive.Path()).empty());
    SetupProcess setup(drive / "SETUP.EXE", "", temp.Path());
    REQUIRE(setup.Started());

    HWND main = ExpectMainScreen(setup, "セットアップ続行(&C)");
    const Heard readme = Hear(ControlOf(main, MainIds::readmeBox));
    REQUIRE(readme.found);
    CHECK(readme.name == "お読みください");
    CHECK(readme.value == TextOf(ControlOf(main, MainIds::readmeBox)));
    CHECK_FALSE(readme.value.empty());
    const Heard action = Hear(ControlOf(main, MainIds::actionButton));
    CHECK(action.name.rfind("セットアップ続行", 0) == 0);
    Press(ControlOf(main, MainIds::actionButton));

    main = ExpectMainScreen(setup, "セットアップ開始(&S)");
    const Heard folder = Hear(ControlOf(main, MainIds::folderBox));
    CHECK(folder.name == "セットアップフォルダ");
    CHECK(folder.value == sample.app);
    for (int box : {MainIds::overwriteBox, MainIds::desktopBox, MainIds::startMenuBox, MainIds::startUpBox,
                    MainIds::sendToBox, MainIds::browseButton, MainIds::quitButton}) {
        HWND control = ControlOf(main, box);
        INFO("control " << box);
        CHECK(Hear(control).name.rfind(TextOf(control).substr(0, 4), 0) == 0);
    }
    CHECK(Hear(ControlOf(main, MainIds::messageLabel)).name == TextOf(ControlOf(main, MainIds::messageLabel)));
    Press(ControlOf(main, MainIds::actionButton));
    CHECK(AnswerAndWait(ExpectBox(setup, sample.FolderQuestion()), IDYES));

    // The disk change comes in the middle of the copy: the progress window
    // shows the status and the count, which the bar says as its value.
    HWND disk = ExpectBox(setup, sample.DiskChange());
    HWND progress = FindWindowOf(setup.Id(), WindowClassNames::ProgressWindow);
    REQUIRE(progress != nullptr);
    HWND bar = ControlOf(progress, ProgressIds::progressBar);
    const Heard counted = Hear(bar);
    CHECK(counted.name == "進行状況");
    CHECK(counted.value == TextOf(ControlOf(progress, ProgressIds::progressLabel)));
    CHECK(counted.value.find('%') != std::string::npos);
    HWND status = ControlOf(progress, ProgressIds::messageLabel);
    CHECK(Hear(status).name == TextOf(status));
    CHECK_FALSE(TextOf(status).empty());
    CHECK(CopyDisk(SampleDisk(2), drive.Path(), {"SETUP.EXE"}).empty());
    CHECK(AnswerAndWait(disk, IDOK));

    // Later in the copy the count has moved on, and so has what is heard.
    HWND association = ExpectBox(setup, sample.AssociationQuestion());
    const Heard later = Hear(bar);
    CHECK(later.value == TextOf(ControlOf(progress, ProgressIds::progressLabel)));
    CHECK(later.value != counted.value);
    CHECK(AnswerAndWait(association, IDYES));
    HWND offer = WaitForAnyBox(setup.Id(), 60000);
    REQUIRE(offer != nullptr);
    CHECK(AnswerAndWait(offer, IDNO));
    CHECK(AnswerAndWait(ExpectBox(setup, sample.RestartWarning()), IDOK));
    REQUIRE(setup.WaitForExit());
}
