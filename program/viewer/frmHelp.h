// The help window: getting started, browsing, printing; opens the about box
// and the extended print help. Closing only hides it.
#pragma once

#include <QWidget>

class QPushButton;

class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);

    void cmdAbout_Click();
    void cmdExtPrt_Click();
    void cmdClose_Click();

private:
    QPushButton* cmdAbout = nullptr;
    QPushButton* cmdExtPrt = nullptr;
    QPushButton* cmdClose = nullptr;
};
