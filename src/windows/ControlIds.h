// The control identifiers of the program's windows. Test drivers and screen
// readers find a control by its window's class name and this number; the
// window classes are named after the forms ("TfrmMain"...).
#pragma once

namespace BackIds {
enum : int { lblPrgTitle1 = 101, lblPrgTitle2, lblBackTitle1, lblBackTitle2 };
}

namespace MainIds {
enum : int {
    fraReadme = 201,
    txtReadme,
    grpMessage,
    lblMessage,
    grpSetupFolder,
    txtFolder,
    btnRefer,
    grpOption,
    chkOverWrite,
    fraShortCut,
    lblUnSetupInfo,
    chkSCutDesktop,
    chkSCutStartMenu,
    chkSCutStartUp,
    chkSCutSendTo,
    btnEvent,
    btnEnd,
    lblFormShare
};
}

namespace StatusIds {
enum : int { grpMessage = 301, lblMessage, fraStatus, prgStatus, lblStatus, btnAbort };
}

namespace CustomDlgIds {
enum : int { lblMessage = 401, btnYes, btnNo, btnDelete, btnSave };
}
