// frmPass: the modal user-name-and-password window of cvShowPass.
//
// Its tag carries the input and the outcome: set to the number of ten-second
// time-out ticks before the window is shown, it reads "!OK!" after an
// accepted entry, "!TIMEOUT!" after the time-out, and "" when the window was
// closed (close box or Escape) without either.
#pragma once

#include <QDialog>
#include <QTimer>

#include "cvsubs1_api.h"
#include "ui_frmPass.h"

namespace subs {

class CVSUBS1_API frmPass : public QDialog {
    Q_OBJECT
public:
    explicit frmPass(QWidget* parent = nullptr);

    QString tag() const { return tag_; }
    void setTag(const QString& tag) { tag_ = tag; }
    QString userName() const { return ui_.txtName->text(); }
    QString password() const { return ui_.txtPWord->text(); }

    // Milliseconds between time-out ticks.
    static constexpr int kTickInterval = 10000;

public slots:
    void cmdOK_Click();
    void Timer1_Timer();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    // Form_Load: runs when the window is first shown, once the tag is set.
    void Form_Load();

    Ui::frmPass ui_;
    QTimer* Timer1;
    QString tag_;
    int16_t tickCounter_ = 0;
    int16_t tickLimit_ = 0;
    bool loaded_ = false;
};

}  // namespace subs
