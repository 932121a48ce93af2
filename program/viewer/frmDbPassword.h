// The database password dialog: asked when the engine refuses a database the
// user chose with 3031, as Access asks. The password lives only in the
// dialog's text box and in the call that opens the database with it.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

namespace viewer {
class DatabaseHandle;
}

class frmDbPassword : public QDialog {
    Q_OBJECT
public:
    explicit frmDbPassword(QWidget* parent = nullptr);

    void cmdOK_Click();
    void cmdCancel_Click();

    // "!OK!" after OK, "!ABORT!" after Cancel or closing the window.
    std::string sResult = "!ABORT!";
    std::string password() const;

    // Shows the dialog modally; the password typed, or nullopt for Cancel.
    static std::optional<std::string> Ask(QWidget* parent);

private:
    QLabel* lblPassword = nullptr;
    QLineEdit* txtPassword = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};

namespace viewer {

// Opens `path` with `open(connect)`; when that fails with 3031, asks for the
// password with `ask` and tries ";PWD=" & password, saying "Not a valid
// password." and asking again while it is wrong. nullptr when the user
// cancels. Other engine errors are thrown.
std::shared_ptr<DatabaseHandle> openAskingPassword(
    const std::function<std::shared_ptr<DatabaseHandle>(const std::string& connect)>& open,
    const std::function<std::optional<std::string>()>& ask);

}  // namespace viewer
