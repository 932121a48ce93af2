#include "frmPass.h"

#include <algorithm>

#include "clsSubs1.h"
#include "text_fix.h"

namespace subs {

frmPass::frmPass(QWidget* parent) : QDialog(parent), Timer1(new QTimer(this)) {
    ui_.setupUi(this);
    setFixedSize(size());
    // Each typed character shows as "*", whatever the style's own mark.
    ui_.txtPWord->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTickInterval);
    connect(Timer1, &QTimer::timeout, this, &frmPass::Timer1_Timer);
    connect(ui_.cmdOK, &QPushButton::clicked, this, &frmPass::cmdOK_Click);
}

void frmPass::showEvent(QShowEvent* event) {
    if (!loaded_) Form_Load();
    QDialog::showEvent(event);
}

void frmPass::Form_Load() {
    loaded_ = true;
    createClsSubs1()->cvCentreForm(this);
    bool isNumber = false;
    const int limit = tag_.trimmed().toInt(&isNumber);
    tickLimit_ = isNumber ? static_cast<int16_t>(std::clamp(limit, -32768, 32767)) : 0;
    if (tickLimit_ > 0) Timer1->start();
}

void frmPass::cmdOK_Click() {
    if (trimBlanks(ui_.txtName->text().toStdString()).empty()) {
        ui_.txtName->setFocus();
        return;
    }
    tag_ = QStringLiteral("!OK!");
    Timer1->stop();
    accept();
}

void frmPass::Timer1_Timer() {
    if (tickCounter_ == tickLimit_) {
        ui_.txtPWord->clear();
        tag_ = QStringLiteral("!TIMEOUT!");
        Timer1->stop();
        QDialog::reject();
        return;
    }
    ++tickCounter_;
}

void frmPass::reject() {
    tag_.clear();
    Timer1->stop();
    QDialog::reject();
}

}  // namespace subs
