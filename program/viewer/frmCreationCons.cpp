#include "viewer/frmCreationCons.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "STXGLOB.h"
#include "jet/error.h"
#include "viewer/creation_cons.h"

namespace {

// Reads one property; a failing read counts as not available.
template <class T, class F>
std::optional<T> readOrSkip(F read) {
    try {
        return read();
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

}  // namespace

frmCreationCons::frmCreationCons(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCreationCons");
    setWindowTitle("Database Creation Considerations");
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(
        "The programmes that create an empty database, or a .bas module for creating a database, "
        "take the following attributes and properties into consideration:");
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* grid = new QGridLayout;
    const struct {
        const char* heading;
        const char* first;
        const char* second;
    } rows[] = {
        {"Databases:", "CollatingOrder, Transactions, Updatable", nullptr},
        {"Tables:", "Updatable", nullptr},
        {"Fields:", "All field types are recognised", "Required, AllowZeroLength, Attributes, CollatingOrder"},
        {"Indexes:", "Primary, Unique, Required, Attributes (Ascending/Descending Sort)", "Foreign, IgnoreNulls"},
        {"Queries:", "Fields, Connect, DateCreated, LastUpdated, MaxRecords, Name",
         "ReturnsRecords, SQL, Type, Updatable."},
        {"Relations:", "Fields, Attributes, ForeignTable, Name, PartialReplica, Table", nullptr},
    };
    int line = 0;
    for (const auto& row : rows) {
        auto* heading = new QLabel(row.heading);
        QFont bold = heading->font();
        bold.setBold(true);
        heading->setFont(bold);
        grid->addWidget(heading, line, 0, Qt::AlignTop);
        grid->addWidget(new QLabel(row.first), line++, 1);
        if (row.second) grid->addWidget(new QLabel(row.second), line++, 1);
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);

    lblDBProps = new QLabel;
    lblDBProps->setObjectName("lblDBProps");
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    lblDBProps->setFont(fixed);
    lblDBProps->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblDBProps->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDBProps->setMinimumHeight(130);
    layout->addWidget(lblDBProps);

    cmdOK = new QPushButton("&OK");
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    layout->addWidget(cmdOK, 0, Qt::AlignRight);
    connect(cmdOK, &QPushButton::clicked, this, &frmCreationCons::cmdOK_Click);
}

void frmCreationCons::Form_Load() {
    viewer::DatabaseProperties properties;
    if (dbCurrent) {
        properties.collatingOrder = readOrSkip<int>([] { return dbCurrent->CollatingOrder(); });
        properties.transactions = readOrSkip<bool>([] { return dbCurrent->Transactions(); });
        properties.updatable = readOrSkip<bool>([] { return dbCurrent->Updatable(); });
    }
    sMessage = viewer::databasePropertiesText(properties);
    // The label breaks lines at LF alone.
    lblDBProps->setText(QString::fromStdString(sMessage).replace("\r\n", "\n"));
}

void frmCreationCons::cmdOK_Click() { accept(); }
