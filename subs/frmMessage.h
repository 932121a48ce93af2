// frmMessage: the modeless status window of cvShowMessage. A grey window
// with a sunken picture box (picLabelArea) holding one label (lblMessage).
#pragma once

#include <QWidget>

#include "cvsubs1_api.h"
#include "ui_frmMessage.h"

namespace subs {

class CVSUBS1_API frmMessage : public QWidget {
    Q_OBJECT
public:
    explicit frmMessage(QWidget* parent = nullptr);

    // The label's text; the label's height follows the text (it wraps) and
    // it is centred again in the picture box.
    void setMessage(const QString& text);
    QString message() const { return ui_.lblMessage->text(); }

    // The one status window of the program, created on first use and kept
    // until the program ends; nullptr from existingWindow() before that.
    static frmMessage& window();
    static frmMessage* existingWindow();

protected:
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Form_Activate: the label centred vertically in the picture box.
    void centreLabel();

    Ui::frmMessage ui_;
};

}  // namespace subs
