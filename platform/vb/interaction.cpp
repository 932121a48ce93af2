#include "vb/interaction.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

namespace vb {

namespace {

const char* const kAppTitle = "Strux32";

QString qs(const std::string& s) { return QString::fromStdString(s); }

// One spelling for a file however its path was put together.
QString samePath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

// Leaves the request's hidden files out of the dialog's lists.
class HiddenFilesFilter : public QSortFilterProxyModel {
public:
    explicit HiddenFilesFilter(const std::vector<std::string>& hidden) {
        for (const auto& file : hidden) hidden_.insert(samePath(qs(file)));
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override {
        auto* files = qobject_cast<QFileSystemModel*>(sourceModel());
        if (!files || hidden_.isEmpty()) return true;
        return !hidden_.contains(samePath(files->filePath(files->index(row, 0, parent))));
    }

private:
    QSet<QString> hidden_;
};

// Qt's own file dialog (a platform dialog could not hide files), in the
// detail view with room for long names and the date column.
std::optional<std::string> runFileDialog(const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(QApplication::activeWindow(), qs(request.title), qs(request.initialDir), qs(request.filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setViewMode(QFileDialog::Detail);
    if (!request.hiddenFiles.empty()) dialog.setProxyModel(new HiddenFilesFilter(request.hiddenFiles));
    if (!request.fileName.empty()) dialog.selectFile(qs(request.fileName));
    dialog.resize(dialog.sizeHint().expandedTo(QSize(780, 480)));
    if (auto* view = dialog.findChild<QTreeView*>("treeView")) view->header()->resizeSection(0, 340);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

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
        return runFileDialog(request, QFileDialog::AcceptOpen);
    }
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override {
        return runFileDialog(request, QFileDialog::AcceptSave);
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
