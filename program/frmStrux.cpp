#include "frmStrux.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QSignalBlocker>
#include <QStringList>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <utility>

#include "STXGLOB.h"
#include "clsSubs1.h"
#include "jet/error.h"
#include "settings/frmPtrDefs.h"
#include "userdata/settings_folder.h"
#include "vb/app.h"
#include "vb/interaction.h"
#include "vb/vb_error.h"
#include "viewer/frmCreationCons.h"
#include "viewer/frmDbPassword.h"
#include "viewer/frmHelp.h"
#include "viewer/main_window_texts.h"
#include "viewer/object_details.h"
#include "viewer/object_list.h"
#include "viewer/pictures.h"
#include "viewer/user_places.h"

namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kWakeUpInterval = 65500;
constexpr int kFormNumber = 1;
constexpr int kTablePropertiesWidth = 5445;
constexpr int kQueryPropertiesWidth = 9195;
constexpr int kClientWidth = 9480;
constexpr int kClientHeight = 6795;

QString qs(const std::string& text) { return QString::fromStdString(text); }

// Places a control at its design position, given in twips.
void place(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                        height / kTwipsPerPixel);
}

template <class W>
W* makeControl(QWidget* parent, const char* name) {
    auto* widget = new W(parent);
    widget->setObjectName(name);
    return widget;
}

}  // namespace

frmStrux::frmStrux(QWidget* parent) : QWidget(parent) {
    setObjectName("frmStrux");
    buildControls();
}

frmStrux::~frmStrux() = default;

void frmStrux::buildControls() {
    setWindowTitle("Access 7 & 8 / Visual Basic 5.0 32-bit Database Structure Viewer");
    // The design size is the smallest and the first; the lists grow with
    // the window (layoutControls).
    setMinimumSize(kClientWidth / kTwipsPerPixel, kClientHeight / kTwipsPerPixel);
    setMouseTracking(true);
    QFont formFont("MS Sans Serif");
    formFont.setStyleHint(QFont::SansSerif);
    formFont.setPointSize(8);
    setFont(formFont);

    // Created first so that it heads the focus chain: the window's first
    // focus lands here and starts the deferred start-up.
    picFirst = makeControl<QFrame>(this, "picFirst");
    picFirst->setFocusPolicy(Qt::StrongFocus);
    place(picFirst, 10020, 7140, 255, 255);
    picFirst->installEventFilter(this);

    lblTitle = makeControl<QLabel>(this, "lblTitle");
    QFont titleFont("System");
    titleFont.setStyleHint(QFont::SansSerif);
    titleFont.setPointSize(10);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setStyleSheet("color: blue;");
    lblTitle->setToolTip("The name of the current database file");
    lblTitle->setWordWrap(true);

    lblTabels = makeControl<QLabel>(this, "lblTabels");
    lblTabels->setText("Tables");
    lstTables = makeControl<QListWidget>(this, "lstTables");
    // One line each, in one font: the list need not measure every entry of
    // a database with thousands of tables before showing it.
    lstTables->setUniformItemSizes(true);

    lblFields = makeControl<QLabel>(this, "lblFields");
    lblFields->setText("Fields");
    lstFields = makeControl<QListWidget>(this, "lstFields");

    lblIndexes = makeControl<QLabel>(this, "lblIndexes");
    lblIndexes->setText("Indexes");
    lstIndexes = makeControl<QListWidget>(this, "lstIndexes");

    lblProperties = makeControl<QLabel>(this, "lblProperties");
    lblProperties->setText("Properties");

    lblCopyright = makeControl<QLabel>(this, "lblCopyright");
    lblCopyright->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    lblCopyright->setAlignment(Qt::AlignCenter);
    lblCopyright->setWordWrap(true);
    lblCopyright->setText(
        "Strux32\nDatabase Structure Viewer\n\nCopyright \u00a9 Corvane\n\n"
        "Double-click here for our address.");
    lblCopyright->setToolTip("Double-click for the maker's address");

    // The icon sits in the label's corner; the wide query properties list
    // covers it, as windowed lists cover pictures drawn on the form.
    Image1 = makeControl<QLabel>(this, "Image1");
    Image1->setPixmap(viewer::programIcon());
    Image1->setToolTip("Database creation parameters");

    lstProperties = makeControl<QListWidget>(this, "lstProperties");
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    fixed.setPointSize(8);
    lstProperties->setFont(fixed);

    lblMiniHelp = makeControl<QLabel>(this, "lblMiniHelp");
    lblMiniHelp->setFrameStyle(QFrame::Panel | QFrame::Sunken);

    lblCopyLine = makeControl<QLabel>(this, "lblCopyLine");
    lblCopyLine->setText("\u00a9 Corvane. All rights reserved.");
    lblCopyLine->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    picBottom = makeControl<QFrame>(this, "picBottom");
    struct ButtonDesign {
        QPushButton** slot;
        const char* name;
        const char* caption;
        int left, width;
    };
    const ButtonDesign buttons[] = {
        {&cmdSetPrinter, "cmdSetPrinter", "Print &Setup", 0, 1635},
        {&cmdHelp, "cmdHelp", "&Help", 1650, 1305},
        {&cmdDefaults, "cmdDefaults", "", 2970, 1425},
        {&cmdPrint, "cmdPrint", "&Print", 4410, 1335},
        {&cmdOpen, "cmdOpen", "&Open Database", 5760, 1875},
        {&cmdFinished, "cmdFinished", "&Finished", 7650, 1755},
    };
    for (const auto& b : buttons) {
        *b.slot = makeControl<QPushButton>(picBottom, b.name);
        (*b.slot)->setText(b.caption);
        place(*b.slot, b.left, 0, b.width, 465);
        (*b.slot)->setMouseTracking(true);
        (*b.slot)->installEventFilter(this);
    }
    cmdDefaults->setEnabled(false);
    cmdPrint->setEnabled(false);

    tmrWakeUp = new QTimer(this);
    tmrWakeUp->setObjectName("tmrWakeUp");
    tmrWakeUp->setInterval(kWakeUpInterval);

    for (QWidget* w : {static_cast<QWidget*>(Image1), static_cast<QWidget*>(lblIndexes),
                       static_cast<QWidget*>(lblCopyright)}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    for (QListWidget* list : {lstTables, lstFields, lstIndexes, lstProperties}) {
        list->viewport()->setMouseTracking(true);
        list->viewport()->installEventFilter(this);
    }

    setTabOrder(picFirst, lstTables);
    setTabOrder(lstTables, lstIndexes);
    setTabOrder(lstIndexes, lstFields);
    setTabOrder(lstFields, lstProperties);
    setTabOrder(lstProperties, cmdSetPrinter);
    setTabOrder(cmdSetPrinter, cmdHelp);
    setTabOrder(cmdHelp, cmdDefaults);
    setTabOrder(cmdDefaults, cmdPrint);
    setTabOrder(cmdPrint, cmdOpen);
    setTabOrder(cmdOpen, cmdFinished);

    // A list box's Click event also follows a selection made in code, so the
    // lists report changes of the current row, not mouse clicks.
    connect(lstTables, &QListWidget::currentRowChanged, this, &frmStrux::lstTables_Click);
    connect(lstFields, &QListWidget::currentRowChanged, this, &frmStrux::lstFields_Click);
    connect(lstIndexes, &QListWidget::currentRowChanged, this, &frmStrux::lstIndexes_Click);
    connect(lstProperties, &QListWidget::itemDoubleClicked, this, &frmStrux::lstProperties_DblClick);
    connect(tmrWakeUp, &QTimer::timeout, this, &frmStrux::tmrWakeUp_Timer);
    connect(cmdOpen, &QPushButton::clicked, this, &frmStrux::cmdOpen_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmStrux::cmdHelp_Click);
    connect(cmdDefaults, &QPushButton::clicked, this, &frmStrux::cmdDefaults_Click);
    connect(cmdSetPrinter, &QPushButton::clicked, this, &frmStrux::cmdSetPrinter_Click);
    connect(cmdFinished, &QPushButton::clicked, this, &frmStrux::cmdFinished_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmStrux::cmdPrint_Click);
    resize(minimumSize());
    layoutControls();
}

// The size and place the user last left the window at, as long as it is
// still on one of the screens; else the design size where the desktop puts it.
void frmStrux::restorePlacement() {
    const QStringList parts = qs(viewer::rememberedPlace(viewer::kMainWindowPlace)).split(' ');
    if (parts.size() != 4) return;
    int values[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = parts[i].toInt(&ok);
        if (!ok) return;
    }
    const QRect rect(values[0], values[1], std::max(values[2], minimumWidth()), std::max(values[3], minimumHeight()));
    if (!QGuiApplication::screenAt(rect.center())) return;
    resize(rect.size());
    move(rect.topLeft());
}

void frmStrux::rememberPlacement() const {
    if (!isVisible()) return;  // never shown: nothing the user placed
    viewer::rememberPlace(viewer::kMainWindowPlace, std::to_string(x()) + " " + std::to_string(y()) + " " +
                                                        std::to_string(width()) + " " + std::to_string(height()));
}

// ---- start-up ------------------------------------------------------------

void frmStrux::Form_Load() {
    sErrArea = Subs().cvSetArea(1, kFormNumber, 0);
    if (!FirstInstance()) {
        vb::MsgBox("Strux32 is already running!", vb::vbCritical, "Strux32");
        close();
        EndProgram();
        return;
    }
    sFieldType = viewer::fieldTypeNames();
    SetWakeUpTimer(1);
    setWindowTitle(qs(viewer::captionWithVersion(windowTitle().toStdString(), VersionText())));
    restorePlacement();
    sErrArea = Subs().cvSetArea(0, kFormNumber, 0);
}

void frmStrux::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Where no window manager activates the window, picFirst never gets the
    // focus; the start-up must still run once the window is up.
    QTimer::singleShot(0, this, [this] {
        if (!started_ && !unloaded_) picFirst_GotFocus();
    });
}

void frmStrux::picFirst_GotFocus() {
    if (started_) return;
    started_ = true;
    SetPointer(11);
    picFirst->setVisible(false);
    bSettingsOpen = 0;
    sTabSetting = "!";
    sPrintSetting = "!";
    try {
        ShowSplash();
        HideSplash();
        if (OpenSettingsDatabase()) {
            cmdDefaults->setText("&Defaults");
            cmdDefaults->setEnabled(true);
        } else {
            cmdDefaults->setText("");
            cmdDefaults->setEnabled(false);
        }
        // Print setup has no target in this program.
        cmdSetPrinter->setText("");
        cmdSetPrinter->setEnabled(false);
        sErrArea = Subs().cvSetArea(0, kFormNumber, 0);
    } catch (const jet::Error& e) {
        fatalError(e.number());
        return;
    } catch (const vb::RuntimeError& e) {
        fatalError(e.number());
        return;
    }
    if (!RegistryStartUp()) {
        SetPointer(0);
        close();
        EndProgram();
        return;
    }
    SetPointer(0);
    if (!startFile_.empty()) {
        SetWakeUpTimer(0);
        OpenDatabaseFile(std::exchange(startFile_, {}));
    }
}

void frmStrux::fatalError(long number) {
    HideSplash();
    SetPointer(0);
    Subs().cvErrHandler(number, sErrArea, "", 0, 0);
    close();
    EndProgram();
}

// ---- wake-up hint ----------------------------------------------------------

void frmStrux::SetWakeUpTimer(int enable) {
    if (enable != 0)
        tmrWakeUp->start();
    else
        tmrWakeUp->stop();
}

bool frmStrux::wakeUpTimerEnabled() const { return tmrWakeUp->isActive(); }

void frmStrux::tmrWakeUp_Timer() {
    ++iWakeTicks;
    if (iWakeTicks == 2) {
        tmrWakeUp->stop();
        sMessage = viewer::wakeUpMessage();
        vb::MsgBox(sMessage, vb::vbInformation, vb::App().Title());
        iWakeTicks = 0;
        tmrWakeUp->start();
    }
}

// ---- opening and listing ---------------------------------------------------

void frmStrux::cmdOpen_Click() {
    SetWakeUpTimer(0);
    std::string chosen;
    try {
        vb::FileDialogRequest request;
        request.title = "Open";
        request.filter = "Databases (*.mdb);;Access databases (*.mdb *.accdb);;All files (*)";
        // The folder of the database opened last; the samples at first.
        const std::filesystem::path last = viewer::rememberedPlace(viewer::kLastDatabaseFolder);
        const userdata::SettingsPlaces places = userdata::settingsPlaces(vb::App().Path());
        std::error_code error;
        request.initialDir = !last.empty() && std::filesystem::is_directory(last, error)
                                 ? last.string()
                                 : userdata::samplesFolder(places).string();
        // The program's own settings database is open exclusively; it is no
        // database for the user to choose. Named where it may be, without
        // making the user's copy of it.
        request.hiddenFiles = {(places.programFolder / "STX32.MDB").string()};
        if (!places.userFolder.empty()) request.hiddenFiles.push_back((places.userFolder / "STX32.MDB").string());
        auto file = vb::ui().openFileDialog(request);
        if (!file) throw vb::RuntimeError(vb::vbErrCancelled, "Cancel was selected.");
        chosen = *file;
        // Only a database chosen replaces the open one: a cancelled dialog
        // leaves it open, with its lists as they were.
        if (bDbOpen != 0) {
            dbCurrent->Close();
            bDbOpen = 0;
        }
    } catch (const vb::RuntimeError& e) {
        SetPointer(0);
        if (e.number() != vb::vbErrCancelled) {
            fatalError(e.number());
            return;
        }
        sErrArea = Subs().cvSetArea(-2, kFormNumber, 0);
        return;
    } catch (const jet::Error& e) {
        fatalError(e.number());
        return;
    }

    viewer::rememberPlace(viewer::kLastDatabaseFolder, std::filesystem::path(chosen).parent_path().string());
    OpenDatabaseFile(chosen);
}

void frmStrux::OpenDatabaseFile(const std::string& path) {
    SetPointer(11);
    sErrArea = Subs().cvSetArea(-1, kFormNumber, 100);
    sDbPath = path;
    lblTitle->setText(qs(sDbPath));
    try {
        // A protected or encrypted file: asked for its password, as Access asks.
        dbCurrent = viewer::openAskingPassword(
            [&](const std::string& connect) { return dbeEngine->OpenDatabase(sDbPath, false, false, connect); },
            [&] {
                SetPointer(0);
                auto password = frmDbPassword::Ask(this);
                SetPointer(11);
                return password;
            });
    } catch (const jet::Error& e) {
        // The file is refused (not a database, damaged, locked, protected):
        // say why and go on with no database open.
        SetPointer(0);
        closeDatabaseQuietly();
        reportEngineError(e.number(), e.what());
        sErrArea = Subs().cvSetArea(0, kFormNumber, 0);
        return;
    }
    if (!dbCurrent) {
        // Cancel in the password dialog: as a cancelled Open, no database.
        SetPointer(0);
        closeDatabaseQuietly();
        sErrArea = Subs().cvSetArea(-2, kFormNumber, 0);
        return;
    }
    linkedSources_.clear();
    // A write that was cut short was undone, or its journal set aside: the
    // user hears of it before looking at what the file now holds.
    if (const std::string notice = dbCurrent->JournalNotice(); !notice.empty()) {
        SetPointer(0);
        vb::MsgBox(notice, vb::vbExclamation, vb::App().Title());
        SetPointer(11);
    }
    LoadStructure(0);
    cmdPrint->setEnabled(true);
    bDbOpen = -1;
    SetPointer(0);
    sErrArea = Subs().cvSetArea(-2, kFormNumber, 0);
}

void frmStrux::closeDatabaseQuietly() {
    if (bDbOpen != 0 && dbCurrent) {
        try {
            dbCurrent->Close();
        } catch (const jet::Error&) {
            // Already closed or gone; nothing is left to release.
        }
    }
    dbCurrent.reset();
    linkedSources_.clear();
    bDbOpen = 0;
    sDbPath.clear();
    lblTitle->clear();
    cmdPrint->setEnabled(false);
    clearLists();
}

void frmStrux::clearLists() {
    for (QListWidget* list : {lstTables, lstFields, lstIndexes, lstProperties}) {
        QSignalBlocker quiet(list);
        list->clear();
    }
    sCurrentObject.clear();
}

void frmStrux::reportEngineError(long number, const std::string& description) {
    SetPointer(0);
    Subs().cvErrHandler(number, sErrArea, " " + description, 0, 0);
}

void frmStrux::fillList(QListWidget* list, const std::vector<std::string>& lines) {
    QSignalBlocker quiet(list);
    list->clear();
    for (const auto& line : lines) list->addItem(qs(line));
}

void frmStrux::LoadStructure(int mode) {
    sErrArea = Subs().cvSetArea(1120, kFormNumber, 0);
    SetPointer(11);
    try {
        if (mode == 0) {
            fillList(lstTables, listing::listEntries(dbCurrent->TableDefs(), dbCurrent->QueryDefs(),
                                                          dbCurrent->Relations()));
            // Whether a table is damaged is known only once its definition
            // is read: that is done when the list is on the screen, so that a
            // large database is listed at once and marked a moment later.
            QTimer::singleShot(0, this, [this, listed = std::weak_ptr(dbCurrent)] {
                if (!listed.expired() && listed.lock() == dbCurrent) markDamagedEntries();
            });
            if (lstTables->count() == 0) {
                SetPointer(0);
                vb::MsgBox("This database has no tables in it. Please try another!", vb::vbInformation,
                           vb::App().Title());
                sErrArea = Subs().cvSetArea(-2, kFormNumber, 0);
                return;
            }
            bListReady = 0;
            lstTables->setCurrentRow(0);
            bListReady = 1;
            const std::string entry = lstTables->item(0)->text().toStdString();
            sCurrentObject = listing::entryName(entry);
            viewer::selectionFlagsForEntry(entry, bQuerySelected, bRelationSelected);
        }
        showObject();
        // The list and the first object are painted now, before the events
        // of the hourglass's end run the marking queued above (a paint
        // waits behind every other event).
        if (mode == 0) repaint();
    } catch (const jet::Error& e) {
        // One object that cannot be read must not take the program down:
        // say so and leave its lists empty.
        for (QListWidget* list : {lstFields, lstIndexes, lstProperties}) fillList(list, {});
        reportEngineError(e.number(), e.what());
    }
    SetPointer(0);
    sErrArea = Subs().cvSetArea(-2, kFormNumber, 0);
}

// An object the engine could not read stays listed under its name, in red,
// with the engine's finding as its tool tip (and in the Properties list
// when it is chosen).
void frmStrux::markDamagedEntries() {
    try {
        for (int i = 0; i < lstTables->count(); ++i) {
            QListWidgetItem* item = lstTables->item(i);
            const std::string entry = item->text().toStdString();
            const std::string name = listing::entryName(entry);
            std::string damage;
            if (entry.rfind(viewer::kTablePrefix, 0) == 0) {
                if (const jet::TableDef* table = dbCurrent->TableDefs().find(name)) damage = table->Damage();
            } else if (entry.rfind(viewer::kQueryPrefix, 0) == 0) {
                if (const jet::QueryDef* query = dbCurrent->QueryDefs().find(name)) damage = query->Damage();
            }
            if (damage.empty()) continue;
            item->setForeground(Qt::red);
            item->setToolTip(qs("Damaged: " + damage));
        }
    } catch (const jet::Error& e) {
        // Run from the event loop: an engine error is told, never thrown on.
        reportEngineError(e.number(), e.what());
    }
}

void frmStrux::setLayoutMode(viewer::LayoutMode mode) {
    const bool table = mode == viewer::LayoutMode::Table;
    const bool query = mode == viewer::LayoutMode::Query;
    lstIndexes->setVisible(table);
    lblIndexes->setVisible(table);
    lstFields->setEnabled(table);
    lblCopyright->setVisible(!query);
    wideProperties_ = query;
    layoutControls();
}

void frmStrux::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControls();
}

// The design places, widened and lowered by what the window has grown: the
// three lists share the extra width by their design widths, the extra
// height goes half to them and half to the Properties list, and the
// copyright panel, the hint bar and the buttons keep their sizes at their
// corners.
void frmStrux::layoutControls() {
    const int dx = std::max(0, width() - kClientWidth / kTwipsPerPixel);
    const int dy = std::max(0, height() - kClientHeight / kTwipsPerPixel);
    const int upper = dy / 2, lower = dy - upper;
    auto px = [](int twips) { return twips / kTwipsPerPixel; };
    lblTitle->setGeometry(px(210), px(90), px(9045) + dx, px(555));

    struct Column {
        QLabel* label;
        int labelLeft, labelWidth;
        QListWidget* list;
        int left, width;
    };
    const Column columns[] = {{lblTabels, 240, 1095, lstTables, 150, 3225},
                              {lblFields, 3510, 615, lstFields, 3420, 3225},
                              {lblIndexes, 6750, 795, lstIndexes, 6690, 2655}};
    const int designWidths = 3225 + 3225 + 2655;
    int shift = 0;
    for (const Column& c : columns) {
        const int grow = dx * c.width / designWidths;
        c.label->setGeometry(px(c.labelLeft) + shift, px(750), px(c.labelWidth), px(225));
        c.list->setGeometry(px(c.left) + shift, px(990), px(c.width) + grow, px(2400) + upper);
        shift += grow;
    }

    lblProperties->setGeometry(px(300), px(3630) + upper, px(1335), px(225));
    lstProperties->setGeometry(px(180), px(3870) + upper,
                               px(wideProperties_ ? kQueryPropertiesWidth : kTablePropertiesWidth) + dx,
                               px(1530) + lower);
    lblCopyright->setGeometry(px(5760) + dx, px(3870) + upper, px(3645), px(1755));
    Image1->setGeometry(lblCopyright->x() + 6, lblCopyright->y() + 6, 32, 32);
    lblMiniHelp->setGeometry(px(30), px(5850) + dy, px(5625) + dx, px(285));
    lblCopyLine->setGeometry(px(6510) + dx, px(5880) + dy, px(2775), px(225));
    picBottom->setGeometry(0, px(6264) + dy, px(kClientWidth) + dx, px(525));
}

void frmStrux::showObject() {
    fillList(lstFields, {});
    switch (viewer::layoutModeFor(bQuerySelected, bRelationSelected)) {
        case viewer::LayoutMode::Table: {
            if (!lstIndexes->isVisibleTo(this)) setLayoutMode(viewer::LayoutMode::Table);
            std::string unreadable;
            jet::TableDef& shown = tableInLists(&unreadable);
            fillList(lstFields, viewer::fieldNames(shown.Fields()));
            std::vector<std::string> indexes;
            for (int i = 0; i < shown.Indexes().Count(); ++i) indexes.push_back(shown.Indexes()[i].Name());
            fillList(lstIndexes, indexes);
            auto notes = viewer::tableNoteLines(dbCurrent->TableDefs()[sCurrentObject]);
            if (!unreadable.empty()) notes.push_back("Source:          " + unreadable);
            if (!notes.empty()) fillList(lstProperties, notes);
            break;
        }
        case viewer::LayoutMode::Query: {
            setLayoutMode(viewer::LayoutMode::Query);
            jet::QueryDef& query = dbCurrent->QueryDefs()[sCurrentObject];
            fillList(lstFields, viewer::fieldNames(query.Fields()));
            fillList(lstProperties, viewer::queryPropertyLines(query));
            break;
        }
        case viewer::LayoutMode::Relation: {
            setLayoutMode(viewer::LayoutMode::Relation);
            jet::Relation& relation = dbCurrent->Relations()[sCurrentObject];
            fillList(lstFields, viewer::relationFieldLines(relation));
            fillList(lstProperties, viewer::relationPropertyLines(relation));
            break;
        }
    }
}

jet::TableDef& frmStrux::tableInLists(std::string* unreadable) {
    jet::TableDef& table = dbCurrent->TableDefs()[sCurrentObject];
    if (table.Connect().empty() || !dbeEngine) return table;
    std::string why;
    jet::TableDef* source = linkedSources_.sourceOf(*dbeEngine, table, sDbPath, why);
    if (unreadable) *unreadable = why;
    return source ? *source : table;
}

void frmStrux::lstTables_Click() {
    fillList(lstProperties, {});
    if (bListReady != 1) return;
    const int row = lstTables->currentRow();
    if (row < 0 || !dbCurrent) return;
    const std::string entry = lstTables->item(row)->text().toStdString();
    sCurrentObject = listing::entryName(entry);
    viewer::selectionFlagsForEntry(entry, bQuerySelected, bRelationSelected);
    sErrArea = Subs().cvSetArea(-1, kFormNumber, 2);
    LoadStructure(1);
}

// ---- details ---------------------------------------------------------------

void frmStrux::lstFields_Click() {
    if (bDeselecting == 1) return;
    Subs().cvStoreCA(sErrArea);
    sErrArea = Subs().cvSetArea(1120, kFormNumber, 0);
    bDeselecting = 1;
    lstIndexes->setCurrentRow(-1);
    bDeselecting = 0;
    fillList(lstProperties, {});
    const int i = lstFields->currentRow();
    if (i > -1 && dbCurrent) {
        try {
            const jet::Field& field = tableInLists().Fields()[i];
            fillList(lstProperties, viewer::fieldDetailLines(field, sFieldType));
        } catch (const jet::Error& e) {
            reportEngineError(e.number(), e.what());
        }
    }
    sErrArea = Subs().cvSetArea(-1, kFormNumber, 0);
}

void frmStrux::lstIndexes_Click() {
    Subs().cvStoreCA(sErrArea);
    sErrArea = Subs().cvSetArea(1120, kFormNumber, 0);
    if (bDeselecting != 1) {
        bDeselecting = 1;
        lstFields->setCurrentRow(-1);
        bDeselecting = 0;
        fillList(lstProperties, {});
        const int i = lstIndexes->currentRow();
        if (i > -1 && dbCurrent) {
            try {
                const jet::Index& index = tableInLists().Indexes()[i];
                fillList(lstProperties, viewer::indexDetailLines(index));
            } catch (const jet::Error& e) {
                reportEngineError(e.number(), e.what());
            }
        }
    }
    sErrArea = Subs().cvSetArea(0, kFormNumber, 0);
}

void frmStrux::lstProperties_DblClick() {
    if (bQuerySelected == 0) return;
    QListWidgetItem* item = lstProperties->currentItem();
    vb::MsgBox(item ? item->text().toStdString() : std::string(), vb::vbInformation, vb::App().Title());
}

// ---- other buttons ---------------------------------------------------------

void frmStrux::cmdHelp_Click() {
    SetWakeUpTimer(0);
    if (!help_) help_ = std::make_unique<frmHelp>();
    help_->show();
    help_->raise();
}

void frmStrux::cmdDefaults_Click() {
    SetWakeUpTimer(0);
    SetPointer(11);
    frmPtrDefs dialog(this);
    try {
        dialog.Form_Load();
    } catch (const jet::Error& e) {
        // Settings the dialog cannot read are reported; the program goes on.
        dialog.Form_Unload();
        reportEngineError(e.number(), e.what());
        return;
    }
    dialog.Show();
    SetPointer(0);
}

void frmStrux::cmdSetPrinter_Click() { SetWakeUpTimer(0); }

void frmStrux::Image1_DblClick() {
    frmCreationCons dialog(this);
    dialog.Form_Load();
    dialog.exec();
}

void frmStrux::lblCopyright_DblClick() { ShowContactInfo(); }

void frmStrux::ShowContactInfo() {
    sMessage = viewer::contactInfoMessage();
    vb::MsgBox(sMessage, vb::vbInformation, "Corvane");
}

void frmStrux::cmdFinished_Click() {
    if (vb::MsgBox("Are you sure you want to exit Strux32?", vb::vbQuestion + vb::vbYesNo,
                   "Exit requested") != vb::vbYes)
        return;
    close();
    EndProgram();
}

void frmStrux::closeEvent(QCloseEvent* event) {
    Form_Unload();
    if (help_) help_->close();
    event->accept();
}

void frmStrux::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    tmrWakeUp->stop();
    rememberPlacement();
    if (bDbOpen != 0 && dbCurrent) {
        try {
            dbCurrent->Close();
        } catch (const jet::Error&) {
            // The program is ending; a database that will not close cleanly
            // is released all the same.
        }
    }
    dbCurrent.reset();
    bDbOpen = 0;
    ReleaseGlobals();
}

// ---- hints -----------------------------------------------------------------

void frmStrux::showHint(const std::string& controlName) {
    const QString text = qs(viewer::hintText(controlName, bQuerySelected != 0));
    // The hint bar keeps its design width, which the longest hints overrun in
    // this platform's faces; a narrower face, then a smaller one, keeps the
    // whole hint readable.
    const int room = lblMiniHelp->contentsRect().width() - 2 * lblMiniHelp->margin() - 4;
    QFont face = font();
    const int designSize = face.pointSize();
    const std::pair<int, int> tries[] = {{designSize, QFont::Unstretched},
                                         {designSize, QFont::Condensed},
                                         {designSize - 1, QFont::Condensed},
                                         {designSize - 2, QFont::Condensed}};
    for (const auto& [size, stretch] : tries) {
        face.setPointSize(size);
        face.setStretch(stretch);
        if (QFontMetrics(face).horizontalAdvance(text) <= room) break;
    }
    lblMiniHelp->setFont(face);
    lblMiniHelp->setText(text);
}

void frmStrux::mouseMoveEvent(QMouseEvent* event) {
    showHint("");
    QWidget::mouseMoveEvent(event);
}

bool frmStrux::eventFilter(QObject* watched, QEvent* event) {
    QObject* control = watched;
    for (QListWidget* list : {lstTables, lstFields, lstIndexes, lstProperties})
        if (watched == list->viewport()) control = list;
    switch (event->type()) {
        case QEvent::MouseMove:
            showHint(control->objectName().toStdString());
            // Labels pass unused mouse moves on to the window, whose own
            // handler would clear the hint again at once.
            if (qobject_cast<QLabel*>(control)) return true;
            break;
        case QEvent::MouseButtonDblClick:
            if (control == Image1) Image1_DblClick();
            if (control == lblCopyright) lblCopyright_DblClick();
            break;
        case QEvent::FocusIn:
            if (control == picFirst) picFirst_GotFocus();
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}
