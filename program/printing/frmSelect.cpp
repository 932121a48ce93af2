#include "printing/frmSelect.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

#include "STXGLOB.h"
#include "printing/frmPrinting.h"
#include "listing/structure_listing.h"
#include "printing/print_request.h"

namespace {

constexpr char kSelectTables[] = "&Select Tables";
constexpr char kAllTables[] = "&All Tables";

void setChecked(QCheckBox* box, bool checked) { box->setCheckState(checked ? Qt::Checked : Qt::Unchecked); }

}  // namespace

frmSelect::frmSelect(frmPrinting* progress, QWidget* parent) : QDialog(parent), progress_(progress) {
    setObjectName("frmSelect");
    setWindowTitle("Print Selection");
    setModal(true);
    setAutoFillBackground(true);
    // The indicators are drawn here rather than by the desktop theme, whose
    // light tick on a white box vanishes on the dark blue: a hollow box with
    // a white frame, filled yellow when checked.
    setStyleSheet(
        "QDialog#frmSelect { background-color: rgb(0, 0, 192); }"
        "QCheckBox { color: white; spacing: 6px; }"
        "QCheckBox::indicator { width: 11px; height: 11px; border: 2px solid white; background: rgb(0, 0, 96); }"
        "QCheckBox::indicator:checked { background: rgb(255, 255, 0); }"
        "QCheckBox:disabled { color: rgb(176, 176, 224); }"
        "QCheckBox::indicator:disabled { border-color: rgb(176, 176, 224); }");

    auto make = [this](const char* name, const char* caption) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(name);
        return box;
    };
    cmdOK = new QPushButton("&Ok", this);
    cmdOK->setObjectName("cmdOK");
    cmdSelect = new QPushButton(kSelectTables, this);
    cmdSelect->setObjectName("cmdSelect");
    chkAllTables = make("chkAllTables", "All Tables");
    chkIndexes = make("chkIndexes", "Indexes");
    chkFields = make("chkFields", "Fields");
    chkPagePer = make("chkPagePer", "Page per item");
    cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    lstTables = new QListWidget(this);
    lstTables->setObjectName("lstTables");
    lstTables->setSelectionMode(QAbstractItemView::MultiSelection);
    // While "All Tables" is in force the list is off: its names stay dark
    // enough to read, and its kept selection is not shown, since every
    // table prints.
    lstTables->setStyleSheet(
        "QListWidget { background-color: rgb(192, 192, 192); color: black; }"
        "QListWidget:disabled { color: rgb(48, 48, 48); }"
        "QListWidget::item:selected:disabled { background: transparent; color: rgb(48, 48, 48); }");
    chkPrintAttr = make("chkPrintAttr", "Print field attribute detail");
    chkQueries = make("chkQueries", "Queries");
    chkRelations = make("chkRelations", "Relations");

    auto* grid = new QGridLayout(this);
    grid->addWidget(lstTables, 0, 0, 7, 1);
    grid->addWidget(chkAllTables, 0, 1);
    grid->addWidget(chkIndexes, 1, 1);
    grid->addWidget(chkFields, 2, 1);
    grid->addWidget(chkPagePer, 3, 1);
    grid->addWidget(chkPrintAttr, 4, 1);
    grid->addWidget(chkQueries, 5, 1);
    grid->addWidget(chkRelations, 6, 1);
    grid->addWidget(cmdOK, 7, 0);
    grid->addWidget(cmdSelect, 7, 1);
    grid->addWidget(cmdCancel, 8, 1);
    setTabOrder(cmdOK, cmdSelect);
    setTabOrder(cmdSelect, chkAllTables);
    setTabOrder(chkAllTables, chkIndexes);
    setTabOrder(chkIndexes, chkFields);
    setTabOrder(chkFields, chkPagePer);
    setTabOrder(chkPagePer, cmdCancel);
    setTabOrder(cmdCancel, lstTables);
    setTabOrder(lstTables, chkPrintAttr);
    setTabOrder(chkPrintAttr, chkQueries);
    setTabOrder(chkQueries, chkRelations);

    chkAllTables->setChecked(true);
    chkIndexes->setChecked(true);
    chkFields->setChecked(true);
    lstTables->setEnabled(false);

    // The rules follow every change of a box, whether clicked or set from
    // a stored setting.
    connect(chkAllTables, &QCheckBox::stateChanged, this, &frmSelect::chkAllTables_Click);
    connect(chkFields, &QCheckBox::stateChanged, this, &frmSelect::chkFields_Click);
    connect(chkIndexes, &QCheckBox::stateChanged, this, &frmSelect::chkIndexes_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmSelect::cmdOK_Click);
    connect(cmdSelect, &QPushButton::clicked, this, &frmSelect::cmdSelect_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSelect::cmdCancel_Click);
}

void frmSelect::Form_Load(const std::vector<std::string>& mainEntries) {
    SetPointer(11);
    LoadTableList(mainEntries);
    if (bUsePrintInit != 0 && rsPrintInit) {
        const printing::PrintInitRecord stored = printing::readPrintInit(*rsPrintInit);
        setChecked(chkAllTables, stored.tables);
        setChecked(chkIndexes, stored.indexes);
        setChecked(chkFields, stored.fields);
        setChecked(chkQueries, stored.queries);
        setChecked(chkRelations, stored.relations);
        setChecked(chkPagePer, stored.page);
        setChecked(chkPrintAttr, stored.details);
    }
    SetPointer(0);
}

void frmSelect::LoadTableList(const std::vector<std::string>& mainEntries) {
    lstTables->clear();
    for (const auto& entry : mainEntries)
        if (listing::entryKind(entry) == listing::EntryKind::Table)
            lstTables->addItem(QString::fromStdString(listing::entryName(entry)));
    if (lstTables->count() > 0) {
        lstTables->setCurrentRow(0);
        lstTables->item(0)->setSelected(true);
    }
}

void frmSelect::cmdSelect_Click() {
    switching_ = true;
    if (cmdSelect->text() != kSelectTables) {
        chkAllTables->setChecked(true);
        chkAllTables->setEnabled(true);
        cmdSelect->setText(kSelectTables);
        lstTables->setEnabled(false);
    } else {
        chkAllTables->setChecked(false);
        chkAllTables->setEnabled(false);
        cmdSelect->setText(kAllTables);
        lstTables->setEnabled(true);
    }
    switching_ = false;
}

void frmSelect::chkAllTables_Click() {
    if (chkAllTables->checkState() == Qt::Unchecked && !switching_) cmdSelect_Click();
}

void frmSelect::chkFields_Click() {
    if (chkFields->checkState() == Qt::Unchecked && chkIndexes->checkState() == Qt::Unchecked) chkFields->setChecked(true);
}

void frmSelect::chkIndexes_Click() {
    if (chkIndexes->checkState() == Qt::Unchecked && chkFields->checkState() == Qt::Unchecked)
        chkIndexes->setChecked(true);
}

void frmSelect::cmdOK_Click() {
    sResult = "!OK!";
    done(QDialog::Accepted);
}

void frmSelect::cmdCancel_Click() {
    sResult = "!ABORT!";
    if (progress_) progress_->Unload();
    done(QDialog::Rejected);
}

void frmSelect::reject() { cmdCancel_Click(); }

printing::ReportSelection frmSelect::selection() const {
    printing::ReportSelection chosen;
    chosen.allTables = chkAllTables->checkState() == Qt::Checked;
    chosen.details = chkPrintAttr->isChecked();
    chosen.indexes = chkIndexes->isChecked();
    chosen.fields = chkFields->isChecked();
    chosen.queries = chkQueries->isChecked();
    chosen.relations = chkRelations->isChecked();
    chosen.pagePerItem = chkPagePer->isChecked();
    for (int i = 0; i < lstTables->count(); ++i)
        if (chosen.allTables || lstTables->item(i)->isSelected())
            chosen.tables.push_back(lstTables->item(i)->text().toStdString());
    return chosen;
}
