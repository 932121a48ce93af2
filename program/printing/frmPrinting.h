// "Print Details": the progress window of a running report, with the Cancel
// button that stops it between items.
#pragma once

#include <QWidget>
#include <functional>
#include <string>

#include "printing/report_engine.h"

class QLabel;
class QPushButton;

class frmPrinting : public QWidget, public printing::ReportMonitor {
    Q_OBJECT
public:
    // Loading the window shows it.
    explicit frmPrinting(QWidget* parent = nullptr);
    ~frmPrinting() override;

    void cmdCancelPrint_Click();
    // Hides the window for good; later reports load a new one.
    void Unload();
    bool unloaded() const { return unloaded_; }

    // ReportMonitor: the labels, event processing and bCancelPrint.
    void showDetail(const std::string& text) override;
    void showPage(const std::string& text) override;
    void DoEvents() override;
    bool cancelRequested() const override;

    QLabel* lblPrintDetail = nullptr;
    QLabel* lblPage = nullptr;
    QPushButton* cmdCancelPrint = nullptr;

    // Called with every window as it is loaded; tests use it to reach the
    // Cancel button of a report they start.
    static std::function<void(frmPrinting&)>& onLoad();

private:
    bool unloaded_ = false;
};
