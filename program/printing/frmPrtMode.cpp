#include "printing/frmPrtMode.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "STXGLOB.h"
#include "printing/frmModal.h"
#include "printing/frmPrtMode2.h"
#include "printing/print_request.h"

frmPrtMode::frmPrtMode(QWidget* parent) : QDialog(parent) {
    setObjectName("frmPrtMode");
    setWindowTitle("Printing Mode");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* group = new QButtonGroup(this);
    const char* captions[] = {
        "Print database structure to the printer",
        "Create an empty copy of the database",
        "Create Visual Basic structure code",
    };
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(captions[i], this);
        option->setObjectName(QString("optPrintMode%1").arg(i));
        group->addButton(option, i);
        layout->addWidget(option);
        optPrintMode_[static_cast<std::size_t>(i)] = option;
    }
    optPrintMode_[0]->setChecked(true);
    cmdAccept = new QPushButton("&Accept", this);
    cmdAccept->setObjectName("cmdAccept");
    cmdAccept->setDefault(true);
    layout->addWidget(cmdAccept, 0, Qt::AlignRight);
    connect(cmdAccept, &QPushButton::clicked, this, &frmPrtMode::cmdAccept_Click);
    bModeCancelled = 0;
}

frmPrtMode::~frmPrtMode() = default;

frmPrtMode2& frmPrtMode::loadStyleDialog() {
    if (!style_) style_ = std::make_unique<frmPrtMode2>(this);
    return *style_;
}

void frmPrtMode::preselect(int printMode, int structMode) {
    if (printMode >= 0 && printMode <= 2) optPrintMode_[static_cast<std::size_t>(printMode)]->setChecked(true);
    if (printMode == 2 && structMode >= 0 && structMode <= 2) loadStyleDialog().optStyle(structMode)->setChecked(true);
}

std::string frmPrtMode::firstSelectedMode() const {
    for (int i = 0; i < 3; ++i)
        if (optPrintMode_[static_cast<std::size_t>(i)]->isChecked()) return printing::modeForOption(i);
    return {};
}

void frmPrtMode::Show() {
    accepted_ = false;
    printing::ShowModal(*this);
    if (accepted_) Form_Deactivate();
}

void frmPrtMode::cmdAccept_Click() {
    sResult = firstSelectedMode();
    accepted_ = true;
    done(QDialog::Accepted);
}

void frmPrtMode::Form_Deactivate() {
    accepted_ = false;
    sResult = firstSelectedMode();
    if (!optPrintMode_[2]->isChecked()) return;
    frmPrtMode2& style = loadStyleDialog();
    printing::ShowModal(style);
    if (style.sResult != "!OK!") {
        bModeCancelled = -1;
        return;
    }
    const int chosen = style.selectedStyle();
    if (chosen == 1 || chosen == 2) {
        const auto mode = printing::modeForStyle(chosen);
        sResult = mode.mode;
        bNoFormFile = mode.noFormFile ? -1 : 0;
    }
    style_.reset();
    bModeCancelled = 0;
}

void frmPrtMode::reject() {
    // The close box (and Escape) unloads the dialog without an answer; an
    // answer that an earlier "&Accept" left must not survive it.
    sResult.clear();
    accepted_ = false;
    bModeCancelled = -1;
    QDialog::reject();
}
