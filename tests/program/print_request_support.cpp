#include "print_request_support.h"

#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

#include "jet/error.h"
#include "jet/types.h"
#include "printing/frmModal.h"

namespace printtest {

DialogScript::DialogScript() {
    printing::setModalRunner([this](QDialog& dialog) {
        shown.push_back(dialog.windowTitle().toStdString());
        dialog.show();
        if (answers.empty()) {
            ADD_FAILURE() << "no answer for " << shown.back();
            closeBox(dialog);
            return;
        }
        auto answer = std::move(answers.front());
        answers.pop_front();
        answer(dialog);
        EXPECT_FALSE(dialog.isVisible()) << shown.back() << " still open";
    });
}

DialogScript::~DialogScript() { printing::setModalRunner({}); }

void click(QDialog& dialog, const char* name) {
    auto* button = dialog.findChild<QPushButton*>(name);
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

std::function<void(QDialog&)> choose(const char* option, const char* button) {
    return [option, button](QDialog& dialog) {
        auto* radio = dialog.findChild<QRadioButton*>(option);
        ASSERT_NE(radio, nullptr) << option;
        radio->click();
        click(dialog, button);
    };
}

void closeBox(QDialog& dialog) { dialog.close(); }

}  // namespace printtest
