#include "printing/frmModal.h"

#include <QDialog>

namespace printing {

namespace {
ModalRunner& runner() {
    static ModalRunner installed;
    return installed;
}
}  // namespace

void ShowModal(QDialog& dialog) {
    if (runner()) {
        runner()(dialog);
        return;
    }
    dialog.exec();
}

void setModalRunner(ModalRunner runner_) { runner() = std::move(runner_); }

}  // namespace printing
