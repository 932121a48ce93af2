#include "printing/frmPrinting.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "STXGLOB.h"
#include "vb/screen.h"

namespace {

// Room for the names of most tables; longer ones are shortened in the middle.
constexpr int kDetailWidth = 320;

}  // namespace

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
    // One size for the whole run: a long name is shortened to fit rather
    // than widening the window under the user's pointer.
    lblPrintDetail->setMinimumWidth(kDetailWidth);
    lblPrintDetail->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblPrintDetail->setText("Working! Please wait.");
    lblPage->setText("Page 1");
    setFixedSize(sizeHint());
    lblPrintDetail->clear();
    lblPage->clear();
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

void frmPrinting::showDetail(const std::string& text) {
    const QString full = QString::fromStdString(text);
    const QString shown = lblPrintDetail->fontMetrics().elidedText(full, Qt::ElideMiddle, lblPrintDetail->width());
    lblPrintDetail->setText(shown);
    lblPrintDetail->setToolTip(shown == full ? QString() : full);
}

void frmPrinting::showPage(const std::string& text) { lblPage->setText(QString::fromStdString(text)); }

void frmPrinting::DoEvents() { vb::DoEvents(); }

bool frmPrinting::cancelRequested() const { return bCancelPrint != 0; }
