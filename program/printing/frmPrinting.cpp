#include "printing/frmPrinting.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "STXGLOB.h"
#include "vb/screen.h"

frmPrinting::frmPrinting(QWidget* parent) : QWidget(parent, Qt::Dialog) {
    setObjectName("frmPrinting");
    setWindowTitle("Print Details");
    setBackgroundRole(QPalette::Base);
    setForegroundRole(QPalette::Text);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    auto* heading = new QLabel("Printing the details of:", this);
    heading->setObjectName("lblHeading");
    layout->addWidget(heading);
    lblPrintDetail = new QLabel(this);
    lblPrintDetail->setObjectName("lblPrintDetail");
    layout->addWidget(lblPrintDetail);
    lblPage = new QLabel(this);
    lblPage->setObjectName("lblPage");
    layout->addWidget(lblPage);
    cmdCancelPrint = new QPushButton("Cancel", this);
    cmdCancelPrint->setObjectName("cmdCancelPrint");
    layout->addWidget(cmdCancelPrint, 0, Qt::AlignRight);
    connect(cmdCancelPrint, &QPushButton::clicked, this, &frmPrinting::cmdCancelPrint_Click);
    show();
    if (onLoad()) onLoad()(*this);
}

frmPrinting::~frmPrinting() = default;

std::function<void(frmPrinting&)>& frmPrinting::onLoad() {
    static std::function<void(frmPrinting&)> hook;
    return hook;
}

void frmPrinting::cmdCancelPrint_Click() {
    bCancelPrint = -1;
    vb::DoEvents();
}

void frmPrinting::Unload() {
    unloaded_ = true;
    hide();
}

void frmPrinting::showDetail(const std::string& text) { lblPrintDetail->setText(QString::fromStdString(text)); }

void frmPrinting::showPage(const std::string& text) { lblPage->setText(QString::fromStdString(text)); }

void frmPrinting::DoEvents() { vb::DoEvents(); }

bool frmPrinting::cancelRequested() const { return bCancelPrint != 0; }
