// The main window on an engine the test chooses, with the program's folder,
// the registry and the instance lock of the test's own, and scripted message
// boxes and file dialogs.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "STXGLOB.h"
#include "frmStrux.h"
#include "program_fixture.h"
#include "support/message_box.h"
#include "vb/app.h"
#include "vb/scripted_ui.h"

namespace programtest {

using Lines = std::vector<std::string>;

inline Lines items(QListWidget* list) {
    Lines lines;
    for (int i = 0; i < list->count(); ++i) lines.push_back(list->item(i)->text().toStdString());
    return lines;
}

class MainWindowFixture : public ::testing::Test {
protected:
    // Points the program at `engine` and makes the window (not yet loaded).
    void prepare(viewer::Engine& engine) {
        resetGlobals();
        vb::App().setInstanceLockName(lockName());
        vb::App().setPathOverride(programFolder.path());
        ::setenv("STRUX32_REGISTRY_PREFIX", registryFolder.path().c_str(), 1);
        dbeEngine = &engine;
        window = std::make_unique<frmStrux>();
    }
    void TearDown() override {
        window.reset();
        resetGlobals();
        dbeEngine = nullptr;
        vb::App().setPathOverride("");
        ::unsetenv("STRUX32_REGISTRY_PREFIX");
    }
    static std::string lockName() { return "strux32-program-test-" + std::to_string(::getpid()); }

    template <class W>
    W* control(const char* name) {
        auto* widget = window->findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QListWidget* list(const char* name) { return control<QListWidget>(name); }
    testsupport::Boxes boxes() { return testsupport::boxes(*ui.operator->()); }
    std::string hint() { return control<QLabel>("lblMiniHelp")->text().toStdString(); }

    // Form_Load and the deferred start-up, as the program runs them.
    void startUp() {
        window->Form_Load();
        window->picFirst_GotFocus();
    }
    void open(const std::string& path) {
        ui->fileDialogAnswers.push_back(path);
        window->cmdOpen_Click();
    }
    void select(const char* listName, const std::string& text) {
        auto* l = list(listName);
        auto found = l->findItems(QString::fromStdString(text), Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << text;
        l->setCurrentItem(found.front());
    }

    TempFolder programFolder;
    TempFolder registryFolder;
    vb::ScopedScriptedUi ui;
    std::unique_ptr<frmStrux> window;
};

}  // namespace programtest
