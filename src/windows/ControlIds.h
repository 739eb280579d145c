// The window class names and control identifiers of the program's windows.
// Test drivers, screen readers and other outside tools find a window by its
// class name and a control by this number: both stay as they are, whatever
// the code calls the windows.
#pragma once

namespace WindowClassNames {
inline constexpr char MainWindow[] = "TfrmMain";
inline constexpr char Backdrop[] = "TfrmBack";
inline constexpr char ProgressWindow[] = "TfrmStatus";
inline constexpr char SharedFileDialog[] = "TfrmCustomDlg";
inline constexpr char ScopeDialog[] = "OrvaneScopeDlg";
}  // namespace WindowClassNames

namespace BackdropIds {
enum : int { programTitleLabel1 = 101, programTitleLabel2, bannerLabel1, bannerLabel2 };
}

namespace MainIds {
enum : int {
    readmeFrame = 201,
    readmeBox,
    messageGroup,
    messageLabel,
    folderGroup,
    folderBox,
    browseButton,
    optionGroup,
    overwriteBox,
    shortcutFrame,
    uninstallInfoLabel,
    desktopBox,
    startMenuBox,
    startUpBox,
    sendToBox,
    actionButton,
    quitButton
};
}

namespace ProgressIds {
enum : int { messageGroup = 301, messageLabel, progressFrame, progressBar, progressLabel, abortButton };
}

namespace SharedFileDialogIds {
enum : int { messageLabel = 401, yesButton, noButton, deleteAllButton, keepAllButton };
}

namespace ScopeDialogIds {
enum : int { messageLabel = 501, allUsersButton, currentUserButton, cancelButton };
}
