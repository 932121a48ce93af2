#include "viewer/frmHelp.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "viewer/frmAbout.h"
#include "viewer/frmHelp2.h"
#include "viewer/pictures.h"

namespace {

QLabel* heading(const char* text) {
    auto* label = new QLabel(text);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

QLabel* paragraph(const char* text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

}  // namespace

frmHelp::frmHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmHelp");
    setWindowTitle("Strux Help");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading("Getting Started:"));
    layout->addWidget(
        paragraph("Click on the 'Open Database' button, then select the database you want to view."));
    layout->addWidget(heading("Tables, Indexes and Fields."));
    layout->addWidget(paragraph(
        "Click on a table list in the tables box to see the indexes and fields that are in the table. "
        "Double click on an Index or Field to see how it is constructed."));
    layout->addWidget(heading("Printing the Database Structure."));
    layout->addWidget(paragraph("Click on the Print button and the window below will appear."));

    auto* picture = new QHBoxLayout;
    auto* image = new QLabel;
    image->setObjectName("Image1");
    image->setPixmap(viewer::printSelectionPicture());
    picture->addWidget(image);
    picture->addWidget(paragraph(
        "As first presented the database will be printed in it's entirety, with as much as can be "
        "fitted per page. If you de-select 'All Tables' you may then select which tables you want by "
        "holding down Ctrl and clicking on the table list. You can also select either 'Indexes' or "
        "'Fields' or both. Selecting 'Page per Item' puts each index collection and field collection "
        "on a separate page. Selecting 'Print attribute details' prints the attribute functions."),
                      1);
    layout->addLayout(picture);
    layout->addWidget(paragraph("Corvane Software, PO Box 320, Strux Valley - support@corvane.example"));

    auto* buttons = new QHBoxLayout;
    cmdAbout = new QPushButton("&About");
    cmdAbout->setObjectName("cmdAbout");
    cmdExtPrt = new QPushButton("Extended print help");
    cmdExtPrt->setObjectName("cmdExtPrt");
    cmdClose = new QPushButton("&Close");
    cmdClose->setObjectName("cmdClose");
    buttons->addWidget(cmdAbout);
    buttons->addWidget(cmdExtPrt);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    layout->addLayout(buttons);
    setFixedWidth(560);

    connect(cmdAbout, &QPushButton::clicked, this, &frmHelp::cmdAbout_Click);
    connect(cmdExtPrt, &QPushButton::clicked, this, &frmHelp::cmdExtPrt_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmHelp::cmdClose_Click);
}

void frmHelp::cmdAbout_Click() {
    frmAbout about(this);
    about.Form_Load();
    about.exec();
}

void frmHelp::cmdExtPrt_Click() {
    frmHelp2 help(this);
    help.exec();
}

void frmHelp::cmdClose_Click() { hide(); }

void frmHelp::hideEvent(QHideEvent* event) {
    placement_ = saveGeometry();
    QWidget::hideEvent(event);
}

void frmHelp::showEvent(QShowEvent* event) {
    if (!placement_.isEmpty()) restoreGeometry(placement_);
    QWidget::showEvent(event);
}
