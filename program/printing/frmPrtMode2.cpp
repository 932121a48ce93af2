#include "printing/frmPrtMode2.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmPrtMode2::frmPrtMode2(QWidget* parent) : QDialog(parent) {
    setObjectName("frmPrtMode2");
    setWindowTitle("VB5 Code Style");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* group = new QButtonGroup(this);
    const char* captions[] = {
        "Using stand alone .BAS file (Sub Main style)",
        "Using .BAS for incorporation into a VB Project and creation of CreateVBForm.frm file.",
        "Using .BAS for incorporation into a VB Project. NO CREATION OF CreateVBForm.frm FILE.",
    };
    for (int i = 0; i < 3; ++i) {
        auto* option = new QRadioButton(captions[i], this);
        option->setObjectName(QString("optStyle%1").arg(i));
        group->addButton(option, i);
        layout->addWidget(option);
        optStyle_[static_cast<std::size_t>(i)] = option;
    }
    optStyle_[1]->setChecked(true);
    cmdOK = new QPushButton("&Accept", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
    connect(cmdOK, &QPushButton::clicked, this, &frmPrtMode2::cmdOK_Click);
    sResult.clear();
}

void frmPrtMode2::cmdOK_Click() {
    sResult = "!OK!";
    done(QDialog::Accepted);
}

int frmPrtMode2::selectedStyle() const {
    for (int i = 0; i < 3; ++i)
        if (optStyle_[static_cast<std::size_t>(i)]->isChecked()) return i;
    return -1;
}
