// The database properties dialog: what the generators take into account,
// and three properties of the open database.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace viewer {
class DatabaseHandle;
}

class frmCreationCons : public QDialog {
    Q_OBJECT
public:
    explicit frmCreationCons(QWidget* parent = nullptr);

    // Fills lblDBProps from dbCurrent; a property that cannot be read is
    // left out, and with no database only the heading shows.
    void Form_Load();
    void cmdOK_Click();

private:
    QLabel* lblDBProps = nullptr;
    QPushButton* cmdOK = nullptr;
};
