// The help window: getting started, browsing, printing; opens the about box
// and the extended print help. Closing only hides it.
#pragma once

#include <QByteArray>
#include <QWidget>

class QPushButton;

class frmHelp : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);

    void cmdAbout_Click();
    void cmdExtPrt_Click();
    void cmdClose_Click();

protected:
    // Shown again, the window comes back where the user left it, rather
    // than where the desktop would place a new window.
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QByteArray placement_;
    QPushButton* cmdAbout = nullptr;
    QPushButton* cmdExtPrt = nullptr;
    QPushButton* cmdClose = nullptr;
};
