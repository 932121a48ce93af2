// What the print request tests share: a scripted way of answering the
// printing dialogs.
#pragma once

#include <QDialog>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frmStrux.h"
#include "program_fixture.h"
#include "vb/scripted_ui.h"

namespace printtest {

// Answers the printing dialogs in the order they come; a dialog that comes
// with no answer left fails the test and is closed by its close box.
class DialogScript {
public:
    DialogScript();
    ~DialogScript();
    std::deque<std::function<void(QDialog&)>> answers;
    std::vector<std::string> shown;  // the dialogs' captions, in order
};

// Clicks the dialog's button `name`.
void click(QDialog& dialog, const char* name);
// Selects option `name` of the dialog, then clicks `button`.
std::function<void(QDialog&)> choose(const char* option, const char* button);
// The close box of the dialog.
void closeBox(QDialog& dialog);

}  // namespace printtest
