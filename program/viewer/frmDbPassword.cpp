#include "viewer/frmDbPassword.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "jet/error.h"
#include "vb/app.h"
#include "vb/interaction.h"

frmDbPassword::frmDbPassword(QWidget* parent) : QDialog(parent) {
    setObjectName("frmDbPassword");
    setWindowTitle("Password Required");
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    lblPassword = new QLabel("Enter database password:");
    lblPassword->setObjectName("lblPassword");
    txtPassword = new QLineEdit;
    txtPassword->setObjectName("txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    lblPassword->setBuddy(txtPassword);
    layout->addWidget(lblPassword);
    layout->addWidget(txtPassword);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdOK = new QPushButton("OK");
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton("Cancel");
    cmdCancel->setObjectName("cmdCancel");
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    connect(cmdOK, &QPushButton::clicked, this, &frmDbPassword::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDbPassword::cmdCancel_Click);
}

void frmDbPassword::cmdOK_Click() {
    sResult = "!OK!";
    accept();
}

void frmDbPassword::cmdCancel_Click() {
    sResult = "!ABORT!";
    reject();
}

std::string frmDbPassword::password() const { return txtPassword->text().toStdString(); }

std::optional<std::string> frmDbPassword::Ask(QWidget* parent) {
    frmDbPassword dialog(parent);
    dialog.exec();
    if (dialog.sResult != "!OK!") return std::nullopt;
    return dialog.password();
}

namespace viewer {

std::shared_ptr<DatabaseHandle> openAskingPassword(
    const std::function<std::shared_ptr<DatabaseHandle>(const std::string& connect)>& open,
    const std::function<std::optional<std::string>()>& ask) {
    try {
        return open({});
    } catch (const jet::Error& e) {
        if (e.number() != jet::kErrPassword) throw;
    }
    for (;;) {
        const std::optional<std::string> password = ask();
        if (!password) return nullptr;
        try {
            return open(";PWD=" + *password);
        } catch (const jet::Error& e) {
            if (e.number() != jet::kErrPassword) throw;
        }
        vb::MsgBox("Not a valid password.", vb::vbExclamation, vb::App().Title());
    }
}

}  // namespace viewer
