#include "viewer/frmAbout.h"

#include <QGridLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <filesystem>
#include <vector>

#include "registry/win32_registry.h"
#include "vb/app.h"
#include "vb/interaction.h"
#include "viewer/main_window_texts.h"
#include "viewer/pictures.h"
#include "viewer/sys_info.h"

namespace {
constexpr win32::REGSAM kAboutKeyAccess = 0x2003F;
constexpr win32::DWORD kValueBufferSize = 1024;
}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAbout");
    auto* grid = new QGridLayout(this);
    picIcon = new QLabel;
    picIcon->setObjectName("picIcon");
    picIcon->setPixmap(viewer::programIcon());
    grid->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    lblTitle = new QLabel;
    lblTitle->setObjectName("lblTitle");
    QFont bold = lblTitle->font();
    bold.setBold(true);
    lblTitle->setFont(bold);
    grid->addWidget(lblTitle, 0, 1);
    lblVersion = new QLabel;
    lblVersion->setObjectName("lblVersion");
    grid->addWidget(lblVersion, 1, 1);
    // A caption's "&&" is one ampersand on the screen.
    lblDescription = new QLabel(QString(
        "Strux32 will read MS Access 7 && 8 databases and allows you to print the full table, query and "
        "relation structures in one pass. It can also create an empty copy of a database and write "
        "Visual Basic code that builds the same structure.").replace("&&", "&"));
    lblDescription->setObjectName("lblDescription");
    lblDescription->setWordWrap(true);
    grid->addWidget(lblDescription, 2, 1);
    lblDisclaimer = new QLabel(
        "This program is provided as it is. Keep a copy of your databases before you work on them.");
    lblDisclaimer->setObjectName("lblDisclaimer");
    lblDisclaimer->setWordWrap(true);
    grid->addWidget(lblDisclaimer, 3, 0, 1, 2);
    cmdOK = new QPushButton("OK");
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton("&System Info...");
    cmdSysInfo->setObjectName("cmdSysInfo");
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    grid->addLayout(buttons, 0, 2, 3, 1, Qt::AlignTop);
    grid->setColumnStretch(1, 1);
    setFixedWidth(440);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

void frmAbout::Form_Load() {
    const auto& app = vb::App();
    setWindowTitle(QString::fromStdString("About " + app.Title()));
    lblVersion->setText(QString::fromStdString(viewer::versionText(app.Major(), app.Minor(), app.Revision())));
    lblTitle->setText(QString::fromStdString("Application title: " + app.Title()));
}

void frmAbout::cmdOK_Click() { accept(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo() {
    auto program = viewer::sysInfoProgram(
        [this](std::uint32_t root, const std::string& key, const std::string& name, std::string& value) {
            return GetKeyValue(root, key, name, value);
        },
        [](const std::string& path) {
            std::error_code ignored;
            return std::filesystem::is_regular_file(path, ignored);
        });
    if (program && QProcess::startDetached(QString::fromStdString(*program), {})) return;
    vb::MsgBox("System Information Is Unavailable At This Time", vb::vbOKOnly, vb::App().Title());
}

bool frmAbout::GetKeyValue(std::uint32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                           std::string& KeyVal) {
    KeyVal.clear();
    win32::HKEY key = 0;
    if (win32::RegOpenKeyExA(KeyRoot, KeyName.c_str(), 0, kAboutKeyAccess, &key) != win32::ERROR_SUCCESS)
        return false;
    std::vector<std::uint8_t> buffer(kValueBufferSize, 0);
    win32::DWORD type = 0;
    win32::DWORD size = kValueBufferSize;
    const bool read =
        win32::RegQueryValueExA(key, SubKeyRef.c_str(), nullptr, &type, buffer.data(), &size) == win32::ERROR_SUCCESS;
    win32::RegCloseKey(key);
    if (!read) return false;
    buffer.resize(size);
    auto text = viewer::registryValueText(type, buffer);
    if (!text) return false;
    KeyVal = *text;
    return true;
}
