#include "viewer/frmHelp2.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QGroupBox* frame(const char* caption, QWidget* body) {
    auto* box = new QGroupBox(caption);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(body);
    return box;
}

QLabel* paragraph(const char* text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

}  // namespace

frmHelp2::frmHelp2(QWidget* parent) : QDialog(parent) {
    setObjectName("frmHelp2");
    setWindowTitle("Extended print help");
    auto* layout = new QVBoxLayout(this);
    auto* title = new QLabel("Strux32 Extended Print Help.");
    QFont big = title->font();
    big.setBold(true);
    big.setPointSize(big.pointSize() + 2);
    title->setFont(big);
    layout->addWidget(title);

    // A picture of the print mode dialog: its choices do nothing here.
    auto* picture = new QGroupBox;
    picture->setObjectName("fraPicture");
    auto* pictureLayout = new QVBoxLayout(picture);
    for (const char* choice : {"Print database structure to the printer", "Create an empty copy of the database",
                               "Create Visual Basic structure code"}) {
        auto* option = new QRadioButton(choice);
        pictureLayout->addWidget(option);
    }
    auto* accept = new QPushButton("&Accept");
    accept->setObjectName("cmdAccept");
    accept->setAutoDefault(false);
    pictureLayout->addWidget(accept, 0, Qt::AlignRight);
    layout->addWidget(picture);

    layout->addWidget(frame("'Print database structure to the printer'",
                            paragraph("Prints all or selected table structures to the default windows "
                                      "printer. See standard help for details.")));
    layout->addWidget(frame("'Create an empty copy of the database'",
                            paragraph("Creates a copy of the database with tables, fields and indexes but "
                                      "no data.You must supply the name of the new database.")));
    auto* code = new QWidget;
    auto* codeLayout = new QVBoxLayout(code);
    codeLayout->setContentsMargins(0, 0, 0, 0);
    for (const char* style : {"Using stand alone .BAS file (Sub Main style)",
                              "Using .BAS for incorporation into a VB Project and creation of CreateVBForm.frm file.",
                              "Using .BAS for incorporation into a VB Project. NO CREATION OF CreateVBForm.frm FILE."})
        codeLayout->addWidget(new QRadioButton(style));
    codeLayout->addWidget(paragraph(
        " Writes a .BAS file containing the code to create the database as above. This is a VB5 module "
        "withe the name of the existing database and the extension .bas. It is located in the same "
        "directory as the original. As shown above you may also elect to create a 'standard' creation "
        "form."));
    layout->addWidget(frame("'Create Visual Basic structure code'", code));
    // Wide enough for the longest code style choice on one line.
    setFixedWidth(680);
}
