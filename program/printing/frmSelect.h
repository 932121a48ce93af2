// "Print Selection": which tables and which sections the report prints.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "printing/report_engine.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class frmPrinting;

class frmSelect : public QDialog {
    Q_OBJECT
public:
    // `progress` is the report's progress window, which Cancel unloads.
    explicit frmSelect(frmPrinting* progress, QWidget* parent = nullptr);

    // "!OK!" accepted, "!ABORT!" abandoned.
    std::string sResult;

    // Fills the table list from the main listing and, when a print setting
    // is in force, starts from its stored choices.
    void Form_Load(const std::vector<std::string>& mainEntries);
    void LoadTableList(const std::vector<std::string>& mainEntries);

    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdSelect_Click();
    void chkAllTables_Click();
    void chkFields_Click();
    void chkIndexes_Click();

    // What the report prints: the check boxes and the tables of the list
    // (every one with "All Tables", else the selected ones), in list order.
    printing::ReportSelection selection() const;

    QCheckBox* chkAllTables = nullptr;
    QCheckBox* chkIndexes = nullptr;
    QCheckBox* chkFields = nullptr;
    QCheckBox* chkPagePer = nullptr;
    QCheckBox* chkPrintAttr = nullptr;
    QCheckBox* chkQueries = nullptr;
    QCheckBox* chkRelations = nullptr;
    QListWidget* lstTables = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdSelect = nullptr;
    QPushButton* cmdCancel = nullptr;

public slots:
    // The close box abandons the report like "&Cancel"; otherwise a dialog
    // closed without an answer would print.
    void reject() override;

private:
    frmPrinting* progress_;
    // Set while cmdSelect_Click changes "All Tables" itself.
    bool switching_ = false;
};
