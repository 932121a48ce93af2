// A scripted stand-in for message boxes, input boxes, the file dialog and the
// clipboard. Tests install it with vb::setUi(&scripted); it answers from
// queues and records everything that was shown.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "vb/interaction.h"

namespace vb {

class ScriptedUi : public UiServices {
public:
    struct Shown {
        std::string kind;  // "msgbox", "inputbox", "filedialog" or "savedialog"
        std::string prompt;
        int style = 0;
        std::string title;
    };

    // Answers, used in order; when a queue is empty a message box answers
    // with its first button, an input box and a file dialog as cancelled.
    std::deque<int> msgBoxAnswers;
    std::deque<std::optional<std::string>> inputBoxAnswers;
    std::deque<std::optional<std::string>> fileDialogAnswers;

    std::vector<Shown> shown;
    std::vector<FileDialogRequest> fileDialogs;
    std::string clipboard;

    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override;
    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    // Answers from the same queue as the Open dialog, shown as "savedialog".
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    void setClipboardText(const std::string& text) override { clipboard = text; }
    std::string clipboardText() override { return clipboard; }
    void clearClipboard() override { clipboard.clear(); }

    // The message boxes shown so far, in order.
    std::vector<Shown> messageBoxes() const;
};

// Installs a ScriptedUi for the lifetime of a test scope.
class ScopedScriptedUi {
public:
    ScopedScriptedUi() { setUi(&ui_); }
    ~ScopedScriptedUi() { setUi(nullptr); }
    ScriptedUi* operator->() { return &ui_; }
    ScriptedUi& operator*() { return ui_; }

private:
    ScriptedUi ui_;
};

}  // namespace vb
