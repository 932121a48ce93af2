// The controls of the print defaults dialog, their captions and texts, and
// the wiring of their events to the handlers.
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QVBoxLayout>

#include "printing/tab_settings.h"
#include "STXGLOB.h"
#include "clsSubs1.h"
#include "jet/error.h"
#include "settings/frmPtrDefs.h"
#include "vb/app.h"
#include "vb/interaction.h"

namespace {

// A widget that keeps its room while hidden, so that showing it moves or
// resizes nothing around it.
void keepRoomWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

QLabel* note(const char* text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

template <class W>
W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

// A frame of three option buttons, one choice among them, named
// `prefix`0 to `prefix`2.
QGroupBox* optionFrame(const char* caption, const char* name, const char* prefix,
                       const std::array<const char*, 3>& captions, std::array<QRadioButton*, 3>& options,
                       QWidget* parent) {
    auto* frame = named(new QGroupBox(caption, parent), name);
    auto* layout = new QVBoxLayout(frame);
    auto* group = new QButtonGroup(frame);
    for (int i = 0; i < 3; ++i) {
        auto* option = named(new QRadioButton(captions[static_cast<std::size_t>(i)], frame),
                             QString("%1%2").arg(prefix).arg(i));
        group->addButton(option, i);
        layout->addWidget(option);
        options[static_cast<std::size_t>(i)] = option;
    }
    return frame;
}

// The captions of the twenty margin boxes' rows, by group.
constexpr const char* kIndexRows[] = {"Fields", "Sort Order", "Unique", "Primary"};
constexpr const char* kFieldRows[] = {"Type", "Size", "Required", "AllowZeroLen", "Attributes"};

}  // namespace

frmPtrDefs::frmPtrDefs(QWidget* parent) : QDialog(parent) {
    setObjectName("frmPtrDefs");
    setWindowTitle("Print Defaults");
    setModal(true);
    buildControls();
    connectHandlers();
    // Wide enough for the explanations beside the check boxes to wrap
    // onto the lines they need.
    setMinimumWidth(720);
}

frmPtrDefs::~frmPtrDefs() = default;

void frmPtrDefs::buildControls() {
    auto* layout = new QVBoxLayout(this);
    TabStrip1 = named(new QTabBar(this), "TabStrip1");
    for (const char* caption : {"Print Target / Style", "Printer Defaults", "Printer Tab Settings",
                                "Initial Printer Settings"})
        TabStrip1->addTab(caption);
    TabStrip1->setUsesScrollButtons(false);
    layout->addWidget(TabStrip1);

    // The four frames share one place; the tab strip shows one at a time.
    auto* frames = new QGridLayout;
    QWidget* (frmPtrDefs::*builders[])() = {&frmPtrDefs::buildTargetTab, &frmPtrDefs::buildChoiceTab,
                                            &frmPtrDefs::buildTabSettingTab, &frmPtrDefs::buildPrintSettingTab};
    for (int i = 0; i < 4; ++i) {
        auto* frame = named(new QFrame(this), QString("fraPrint%1").arg(i));
        frame->setFrameShape(QFrame::StyledPanel);
        auto* inner = new QVBoxLayout(frame);
        inner->addWidget((this->*builders[i])());
        frames->addWidget(frame, 0, 0);
        // The place is as large as the largest frame: switching tabs keeps
        // the dialog's size.
        keepRoomWhenHidden(frame);
        frame->setVisible(i == 0);
        fraPrint[static_cast<std::size_t>(i)] = frame;
    }
    layout->addLayout(frames);

    auto* bottom = new QHBoxLayout;
    Image1 = named(new QLabel(this), "Image1");
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(24, 24));
    Image1->setToolTip("There are unsaved changes");
    Image1->setVisible(false);
    lblSaveWarning = named(note("Click 'Cancel' to abandon any changes on this tab, otherwise all changes will be "
                                "applied upon exit.",
                                this),
                           "lblSaveWarning");
    lblSaveWarning->setVisible(false);
    cmdApplyStyle = named(new QPushButton("&Apply", this), "cmdApplyStyle");
    cmdCancelChanges = named(new QPushButton("&Cancel changes", this), "cmdCancelChanges");
    cmdOK = named(new QPushButton("&OK", this), "cmdOK");
    keepRoomWhenHidden(Image1);
    keepRoomWhenHidden(lblSaveWarning);
    bottom->addWidget(Image1);
    bottom->addWidget(lblSaveWarning, 1);
    bottom->addWidget(cmdApplyStyle);
    bottom->addWidget(cmdCancelChanges);
    bottom->addWidget(cmdOK);
    layout->addLayout(bottom);
}

QWidget* frmPtrDefs::buildTargetTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    fraPrintTarget = optionFrame("Print Target", "fraPrintTarget", "optPrintMode",
                                 {"Print database structure to the printer", "Create an empty copy of the database",
                                  "Create Visual Basic structure code"},
                                 optPrintMode, page);
    layout->addWidget(fraPrintTarget);
    layout->addWidget(note("The Printer target determines the type of output from Strux32, i.e. the complete "
                           "database structure printed to a printer, or a complete copy databse (excluding forms "
                           "and reports), or the code output to a file for inclusion in your VB5 project with or "
                           "without a form to utilise the code.",
                           page));

    fraVBCodeStyle = optionFrame(
        "VB Code Style", "fraVBCodeStyle", "optStyle",
        {"Using stand alone .BAS file (Sub Main style)",
         "Using .BAS for incorporation into a VB Project and creation of CreateVBForm.frm file.",
         "Using .BAS for incorporation into a VB Project. NO CREATION OF CreateVBForm.frm FILE."},
        optStyle, page);
    layout->addWidget(fraVBCodeStyle);
    layout->addWidget(note("As mentioned above there are various options when using Strux32 to generate Visual "
                           "Basic code. A stand alone .BAS file will generate a copy of the database simply by "
                           "compiling the code and running the .EXE file. The project style codes need very little "
                           "amendment to be directly incorporated into a project, or you may combine the module and "
                           "form to generate an instant project.",
                           page));

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel("Setting Name", page));
    txtSetting[1] = named(new QLineEdit(page), "txtSetting1");
    txtSetting[1]->setReadOnly(true);
    txtSetting[1]->setToolTip("To change the setting name goto printer defaults.");
    nameRow->addWidget(txtSetting[1], 1);
    layout->addLayout(nameRow);
    layout->addStretch();
    return page;
}

QWidget* frmPtrDefs::buildChoiceTab() {
    auto* page = new QWidget(this);
    auto* layout = new QGridLayout(page);
    layout->addWidget(new QLabel("Initial printer tab settings", page), 0, 0);
    cboTabSettings = named(new QComboBox(page), "cboTabSettings");
    layout->addWidget(cboTabSettings, 1, 0);
    cmdNewTabs = named(new QPushButton("&New", page), "cmdNewTabs");
    layout->addWidget(cmdNewTabs, 1, 1);
    layout->addWidget(note("To edit the tab settings click the third tab above. You must select a setting before "
                           "attempting to edit. Clicking the tab settings combo will negate any pending changes in "
                           "the existing tabs record.",
                           page),
                      2, 0, 1, 3);

    layout->addWidget(new QLabel("Initial print mode", page), 3, 0);
    cboPrintInit = named(new QComboBox(page), "cboPrintInit");
    layout->addWidget(cboPrintInit, 4, 0);
    cmdNewInit = named(new QPushButton("&New", page), "cmdNewInit");
    layout->addWidget(cmdNewInit, 4, 1);
    lblAuto = named(new QLabel(page), "lblAuto");
    layout->addWidget(lblAuto, 4, 2);
    layout->addWidget(note("To edit the initial print settings click the fourth tab above. You must select a "
                           "setting before attempting to edit. Clicking the initial print settings combo will negate "
                           "any pending changes in the existing initial print settings record.",
                           page),
                      5, 0, 1, 3);

    cmdStrDef = named(new QPushButton("Store Current as &Defaults", page), "cmdStrDef");
    cmdLoad = named(new QPushButton("&Load Current Settings", page), "cmdLoad");
    layout->addWidget(cmdStrDef, 6, 0);
    layout->addWidget(cmdLoad, 6, 1, 1, 2);
    layout->addWidget(note("To store the records above as default settings for start up, click 'Store Current as "
                           "Defaults'. To change the settings temporarily, i.e. for this session only, click on "
                           "'Load current settings'. Your normal defaults will be restored when you next use "
                           "Strux32. Read the help notes above with regard to editing tab and initial print "
                           "settings.",
                           page),
                      7, 0, 1, 3);
    layout->setRowStretch(8, 1);
    return page;
}

QWidget* frmPtrDefs::buildTabSettingTab() {
    auto* page = new QWidget(this);
    auto* layout = new QGridLayout(page);
    layout->addWidget(new QLabel("Printer Name", page), 0, 0);
    cboPrinterName = named(new QComboBox(page), "cboPrinterName");
    layout->addWidget(cboPrinterName, 0, 1);
    layout->addWidget(new QLabel("Printer Font", page), 1, 0);
    cboPrinterFonts = named(new QComboBox(page), "cboPrinterFonts");
    layout->addWidget(cboPrinterFonts, 1, 1);

    const printing::TabSetting base = printing::defaultTabSetting();
    auto addBox = [&](QWidget* frame, QGridLayout* grid, int index, int row, int column) {
        auto* box = named(new QLineEdit(frame), QString("txtMargin%1").arg(index));
        box->setMaximumWidth(60);
        auto* def = named(new QLabel(QString::number(base.tabs[static_cast<std::size_t>(index)]), frame),
                          QString("lblDef%1").arg(index));
        grid->addWidget(box, row, column);
        grid->addWidget(def, row, column + 1);
        txtMargin[static_cast<std::size_t>(index)] = box;
        lblDef[static_cast<std::size_t>(index)] = def;
    };

    auto* general = named(new QGroupBox("General", page), "fraGeneral");
    auto* generalGrid = new QGridLayout(general);
    generalGrid->addWidget(new QLabel("Left margin for text", general), 0, 0);
    addBox(general, generalGrid, 0, 0, 1);
    generalGrid->addWidget(new QLabel("Left margin for graphics lines", general), 1, 0);
    addBox(general, generalGrid, 1, 1, 1);
    generalGrid->addWidget(note("Remember to leave room for punch holes etc", general), 2, 0, 1, 3);
    layout->addWidget(general, 2, 0, 1, 2);

    // Each listing group: a HEADINGS and a FIELDS column of boxes, one row
    // per report column, headings boxes first.
    auto listing = [&](const char* caption, const char* name, const char* const* rows, int count, int first) {
        auto* frame = named(new QGroupBox(caption, page), name);
        auto* grid = new QGridLayout(frame);
        grid->addWidget(new QLabel("HEADINGS", frame), 0, 1);
        grid->addWidget(new QLabel("FIELDS", frame), 0, 3);
        for (int r = 0; r < count; ++r) {
            grid->addWidget(new QLabel(rows[r], frame), r + 1, 0);
            addBox(frame, grid, first + r, r + 1, 1);
            addBox(frame, grid, first + count + r, r + 1, 3);
        }
        return frame;
    };
    layout->addWidget(listing("Index listing tabs", "fraIndexTabs", kIndexRows, 4, 2), 3, 0, 1, 2);
    layout->addWidget(listing("Fields listing tabs", "fraFieldTabs", kFieldRows, 5, 10), 4, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    cmdNew = named(new QPushButton("&New", page), "cmdNew");
    cmdRestore = named(new QPushButton("&Restore Base Defaults", page), "cmdRestore");
    cmdDelete = named(new QPushButton("&Delete", page), "cmdDelete");
    buttons->addWidget(cmdNew);
    buttons->addWidget(cmdRestore);
    buttons->addWidget(cmdDelete);
    layout->addLayout(buttons, 5, 0, 1, 2);
    return page;
}

QWidget* frmPtrDefs::buildPrintSettingTab() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel("Setting Name", page));
    txtSetting[0] = named(new QLineEdit(page), "txtSetting0");
    txtSetting[0]->setReadOnly(true);
    nameRow->addWidget(txtSetting[0], 1);
    cmdNewSetting = named(new QPushButton("&New Setting", page), "cmdNewSetting");
    nameRow->addWidget(cmdNewSetting);
    layout->addLayout(nameRow);
    layout->addWidget(note("To create a new setting click 'New Setting' above or the 'New' button by the Initial "
                           "Print Mode combo box on the Printer Defaults tab. Click 'Apply' when you have finished.",
                           page));

    fraSettings = named(new QGroupBox("Selection settings", page), "fraSettings");
    auto* grid = new QGridLayout(fraSettings);
    grid->setColumnStretch(1, 1);
    auto check = [&](QCheckBox*& box, const char* name, const char* caption, const char* text, int row) {
        box = named(new QCheckBox(caption, fraSettings), name);
        grid->addWidget(box, row, 0);
        if (text) grid->addWidget(note(text, fraSettings), row, 1);
    };
    check(chkPrtTable, "chkPrtTable", "Print All Tables",
          "If checked all tables will be printed. If unchecked then you may select the tables to print. Only "
          "applies to printed output. All tables is automatically checked if auto run is selected.",
          0);
    check(chkPrtFields, "chkPrtFields", "Fields", "Either Fields or Indexes, or both must be checked. You cannot "
                                                  "uncheck both.",
          1);
    check(chkPrtIndexes, "chkPrtIndexes", "Indexes", nullptr, 2);
    check(chkPrtQueries, "chkPrtQueries", "Queries",
          "Checking either of these permits the details of any found to be printed with the tables and fields.", 3);
    check(chkPrtRelations, "chkPrtRelations", "Relations", nullptr, 4);
    check(chkPrtDetails, "chkPrtDetails", "Details", "Prints the definitions for the attribute variable", 5);
    check(chkPagePer, "chkPagePer", "Page per", "Prints each tables structure on a separate page.", 6);
    check(chkAutoPilot, "chkAutoPilot", "Auto run print routine",
          "Automatically prints the details you have defined. These can be for printer or for VB code. This "
          "setting must be the default to work.",
          7);
    layout->addWidget(fraSettings);
    layout->addStretch();
    return page;
}

void frmPtrDefs::connectHandlers() {
    connect(TabStrip1, &QTabBar::currentChanged, this, [this] { runGuarded([this] { TabStrip1_Click(); }); });
    connect(cboTabSettings, &QComboBox::activated, this, [this] { runGuarded([this] { cboTabSettings_Click(); }); });
    connect(cboPrintInit, &QComboBox::activated, this, [this] { runGuarded([this] { cboPrintInit_Click(); }); });
    connect(cboPrinterName, &QComboBox::activated, this, [this] { runGuarded([this] { cboPrinterName_Click(); }); });
    connect(cboPrinterFonts, &QComboBox::activated, this, [this] { runGuarded([this] { cboPrinterFonts_Click(); }); });
    for (int i = 0; i < 20; ++i)
        connect(txtMargin[static_cast<std::size_t>(i)], &QLineEdit::textChanged, this,
                [this, i] { runGuarded([this, i] { txtMargin_Change(i); }); });
    for (int i = 0; i < 2; ++i)
        connect(txtSetting[static_cast<std::size_t>(i)], &QLineEdit::textChanged, this,
                [this, i] { runGuarded([this, i] { txtSetting_Change(i); }); });
    for (int i = 0; i < 3; ++i) {
        connect(optPrintMode[static_cast<std::size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { runGuarded([this, i] { optPrintMode_Click(i); }); });
        connect(optStyle[static_cast<std::size_t>(i)], &QRadioButton::clicked, this, [this, i] { runGuarded([this, i] { optStyle_Click(i); }); });
    }
    for (QCheckBox* box : {chkPrtTable, chkPrtQueries, chkPrtRelations, chkPrtDetails, chkPagePer})
        connect(box, &QCheckBox::clicked, this, [this] { runGuarded([this] { chkSection_Click(); }); });
    connect(chkPrtFields, &QCheckBox::clicked, this, [this] { runGuarded([this] { chkPrtFields_Click(); }); });
    connect(chkPrtIndexes, &QCheckBox::clicked, this, [this] { runGuarded([this] { chkPrtIndexes_Click(); }); });
    connect(chkAutoPilot, &QCheckBox::clicked, this, [this] { runGuarded([this] { chkAutoPilot_Click(); }); });
    connect(cmdNewTabs, &QPushButton::clicked, this, [this] { runGuarded([this] { cmdNewTabs_Click(); }); });
    connect(cmdNewInit, &QPushButton::clicked, this, [this] { runGuarded([this] { cmdNewInit_Click(); }); });
    connect(cmdNew, &QPushButton::clicked, this, [this] { runGuarded([this] { cmdNew_Click(); }); });
    connect(cmdNewSetting, &QPushButton::clicked, this, [this] { runGuarded([this] { cmdNewSetting_Click(); }); });
    connect(cmdRestore, &QPushButton::clicked, this, [this] { runGuarded([this] { cmdRestore_Click(); }); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { runGuarded([this] { cmdDelete_Click(); }); });
    connect(cmdStrDef, &QPushButton::clicked, this, [this] { runGuarded([this] { cmdStrDef_Click(); }); });
    connect(cmdLoad, &QPushButton::clicked, this, [this] { runGuarded([this] { cmdLoad_Click(); }); });
    connect(cmdCancelChanges, &QPushButton::clicked, this, [this] { runGuarded([this] { cmdCancelChanges_Click(); }); });
    connect(cmdApplyStyle, &QPushButton::clicked, this, [this] { runGuarded([this] { cmdApplyStyle_Click(); }); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { runGuarded([this] { cmdOK_Click(); }); });
}

void frmPtrDefs::runGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const jet::Error& e) {
        SetPointer(0);
        Subs().cvErrHandler(e.number(), sErrArea, std::string(" ") + e.what(), 0, 0);
    } catch (const std::exception& e) {
        SetPointer(0);
        vb::MsgBox(std::string("The settings could not be handled: ") + e.what(), vb::vbExclamation,
                   vb::App().Title());
    }
}
