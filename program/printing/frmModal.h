// How the printing dialogs are shown modally. The program runs each one in
// its own event loop; tests install a runner that answers the dialog by
// driving its controls, so that no test waits on a real modal window.
#pragma once

#include <functional>

class QDialog;

namespace printing {

using ModalRunner = std::function<void(QDialog& dialog)>;

// Shows `dialog` modally and returns once it is hidden again.
void ShowModal(QDialog& dialog);

// Installs `runner` for every later ShowModal; an empty runner restores the
// dialog's own event loop.
void setModalRunner(ModalRunner runner);

}  // namespace printing
