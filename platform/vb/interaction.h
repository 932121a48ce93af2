// VB's interaction services that the program and the
// libraries call: message boxes, the input box, the file Open dialog and the
// clipboard. They go through one replaceable object so that tests install a
// scripted stand-in (scripted_ui.h) and no test shows a real modal box.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vb {

// MsgBox style numbers.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};

// MsgBox results: the button pressed.
enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

// What the program asks of the file Open dialog.
struct FileDialogRequest {
    std::string title;
    std::string filter;      // Qt form, e.g. "Databases (*.mdb);;All files (*)"
    std::string initialDir;
    std::string fileName;    // preselected name
    // Files the dialog does not list (full paths): files of the program's
    // own that are no choice for the user.
    std::vector<std::string> hiddenFiles;
};

class UiServices {
public:
    virtual ~UiServices() = default;
    // Shows a message box; returns the vbOK..vbNo code of the button pressed.
    virtual int msgBox(const std::string& prompt, int style, const std::string& title) = 0;
    // Shows an input box; nullopt when cancelled.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                const std::string& defaultText) = 0;
    // The file Open dialog; nullopt when cancelled.
    virtual std::optional<std::string> openFileDialog(const FileDialogRequest& request) = 0;
    // The file Save dialog; nullopt when cancelled. It does not ask before
    // an existing file is chosen: the caller asks, in its own words.
    virtual std::optional<std::string> saveFileDialog(const FileDialogRequest& request) = 0;
    virtual void setClipboardText(const std::string& text) = 0;
    virtual std::string clipboardText() = 0;
    virtual void clearClipboard() = 0;
};

// The services in force. Until one is installed, a default that uses Qt's
// dialogs and clipboard (the program installs nothing and gets these).
UiServices& ui();
// Installs `services` (not owned), or restores the default with nullptr.
void setUi(UiServices* services);

// VB's MsgBox: an empty title gives App.Title ("Strux32").
int MsgBox(const std::string& prompt, int style = vbOKOnly, const std::string& title = {});
// VB's InputBox: "" when cancelled, as in VB.
std::string InputBox(const std::string& prompt, const std::string& title = {},
                     const std::string& defaultText = {});

}  // namespace vb
