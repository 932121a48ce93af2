#include "vb/scripted_ui.h"

namespace vb {

namespace {

// The first button of a style's button group, the answer of an unscripted box.
int firstButton(int style) {
    switch (style & 7) {
        case vbOKCancel: return vbOK;
        case vbAbortRetryIgnore: return vbAbort;
        case vbYesNoCancel:
        case vbYesNo: return vbYes;
        case vbRetryCancel: return vbRetry;
        default: return vbOK;
    }
}

}  // namespace

int ScriptedUi::msgBox(const std::string& prompt, int style, const std::string& title) {
    shown.push_back({"msgbox", prompt, style, title});
    if (msgBoxAnswers.empty()) return firstButton(style);
    int answer = msgBoxAnswers.front();
    msgBoxAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedUi::inputBox(const std::string& prompt, const std::string& title,
                                                const std::string&) {
    shown.push_back({"inputbox", prompt, 0, title});
    if (inputBoxAnswers.empty()) return std::nullopt;
    auto answer = inputBoxAnswers.front();
    inputBoxAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedUi::openFileDialog(const FileDialogRequest& request) {
    shown.push_back({"filedialog", request.title, 0, request.title});
    fileDialogs.push_back(request);
    if (fileDialogAnswers.empty()) return std::nullopt;
    auto answer = fileDialogAnswers.front();
    fileDialogAnswers.pop_front();
    return answer;
}

std::optional<std::string> ScriptedUi::saveFileDialog(const FileDialogRequest& request) {
    auto answer = openFileDialog(request);
    shown.back().kind = "savedialog";
    return answer;
}

std::vector<ScriptedUi::Shown> ScriptedUi::messageBoxes() const {
    std::vector<Shown> boxes;
    for (const auto& s : shown)
        if (s.kind == "msgbox") boxes.push_back(s);
    return boxes;
}

}  // namespace vb
