#include "vb/interaction.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vb {

namespace {

const char* const kAppTitle = "Strux32";

QString qs(const std::string& s) { return QString::fromStdString(s); }

// Message boxes, input box, file dialog and clipboard of the Qt desktop.
class QtUi : public UiServices {
public:
    int msgBox(const std::string& prompt, int style, const std::string& title) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(qs(title));
        box.setText(qs(prompt));
        switch (style & 0x70) {
            case vbCritical: box.setIcon(QMessageBox::Critical); break;
            case vbQuestion: box.setIcon(QMessageBox::Question); break;
            case vbExclamation: box.setIcon(QMessageBox::Warning); break;
            case vbInformation: box.setIcon(QMessageBox::Information); break;
            default: box.setIcon(QMessageBox::NoIcon); break;
        }
        // Buttons in VB's order, each mapped back to its VB result code.
        struct Button { const char* text; QMessageBox::ButtonRole role; int code; };
        std::vector<Button> buttons;
        switch (style & 7) {
            case vbOKCancel: buttons = {{"OK", QMessageBox::AcceptRole, vbOK}, {"Cancel", QMessageBox::RejectRole, vbCancel}}; break;
            case vbAbortRetryIgnore: buttons = {{"&Abort", QMessageBox::RejectRole, vbAbort}, {"&Retry", QMessageBox::AcceptRole, vbRetry}, {"&Ignore", QMessageBox::AcceptRole, vbIgnore}}; break;
            case vbYesNoCancel: buttons = {{"&Yes", QMessageBox::YesRole, vbYes}, {"&No", QMessageBox::NoRole, vbNo}, {"Cancel", QMessageBox::RejectRole, vbCancel}}; break;
            case vbYesNo: buttons = {{"&Yes", QMessageBox::YesRole, vbYes}, {"&No", QMessageBox::NoRole, vbNo}}; break;
            case vbRetryCancel: buttons = {{"&Retry", QMessageBox::AcceptRole, vbRetry}, {"Cancel", QMessageBox::RejectRole, vbCancel}}; break;
            default: buttons = {{"OK", QMessageBox::AcceptRole, vbOK}}; break;
        }
        std::vector<QPushButton*> widgets;
        for (const auto& b : buttons) widgets.push_back(box.addButton(b.text, b.role));
        std::size_t defaultIndex = (style & vbDefaultButton3) ? 2 : (style & vbDefaultButton2) ? 1 : 0;
        if (defaultIndex < widgets.size()) box.setDefaultButton(widgets[defaultIndex]);
        box.exec();
        for (std::size_t i = 0; i < widgets.size(); ++i)
            if (box.clickedButton() == widgets[i]) return buttons[i].code;
        // Closed by the close box or Escape: VB answers Cancel where there is
        // one, otherwise the only button.
        for (const auto& b : buttons)
            if (b.code == vbCancel) return vbCancel;
        return buttons.size() == 1 ? buttons[0].code : vbCancel;
    }

    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText) override {
        bool ok = false;
        QString text = QInputDialog::getText(QApplication::activeWindow(), qs(title), qs(prompt),
                                             QLineEdit::Normal, qs(defaultText), &ok);
        if (!ok) return std::nullopt;
        return text.toStdString();
    }

    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override {
        QString start = qs(request.initialDir);
        if (!request.fileName.empty()) start = start.isEmpty() ? qs(request.fileName) : start + "/" + qs(request.fileName);
        QString file = QFileDialog::getOpenFileName(QApplication::activeWindow(), qs(request.title), start,
                                                    qs(request.filter));
        if (file.isEmpty()) return std::nullopt;
        return file.toStdString();
    }

    void setClipboardText(const std::string& text) override {
        QApplication::clipboard()->setText(qs(text));
    }
    std::string clipboardText() override { return QApplication::clipboard()->text().toStdString(); }
    void clearClipboard() override { QApplication::clipboard()->clear(); }
};

UiServices* g_installed = nullptr;

}  // namespace

UiServices& ui() {
    static QtUi desktop;
    return g_installed ? *g_installed : desktop;
}

void setUi(UiServices* services) { g_installed = services; }

int MsgBox(const std::string& prompt, int style, const std::string& title) {
    return ui().msgBox(prompt, style, title.empty() ? kAppTitle : title);
}

std::string InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    auto answer = ui().inputBox(prompt, title.empty() ? kAppTitle : title, defaultText);
    return answer ? *answer : std::string();
}

}  // namespace vb
