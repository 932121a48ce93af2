// The settings store's registry work at start-up: the registry object, and
// on the first run on a machine the built-in print settings as registry
// copies below both roots.
#include <string>

#include "STXGLOB.h"
#include "clsRegistry.h"
#include "registry/win32_registry.h"
#include "vb/interaction.h"

namespace {

constexpr std::int32_t kLocalMachine = static_cast<std::int32_t>(0x80000002u);
constexpr std::int32_t kCurrentUser = static_cast<std::int32_t>(0x80000001u);
const char* const kPrintingPath = "Strux32\\3.20\\Printing\\";
const char* const kFullPrintingPath = "SOFTWARE\\Corvane\\Strux32\\3.20\\Printing\\";

// What ResetRegistryObject restores: the object's company key and
// auto-create switch from before the first-run work.
std::string savedCompanyKey;
bool savedAutoCreate = true;

const char* subKeyName(int which) {
    switch (which) {
        case 1: return "Print Init";
        case 2: return "Settings";
        case 3: return "Start Settings";
        default: return nullptr;
    }
}

std::string fatalKeyMessage(std::int32_t root, int which) {
    const std::string user = root == kCurrentUser ? "U" : "L";
    return "FATAL ERROR! Program cannot start. Please contact Corvane and quote FID=998, SR=PA" + user + "D" +
           std::to_string(which) + ", MRK=";
}

struct DefaultValue {
    int which;
    const char* name;
    const char* value;
    const char* code;  // after "SVPAL" / "SVPAU"
};

const DefaultValue kDefaults[] = {
    {1, "1", "Default[-1[-1[-1[-1[-1[-1[0[0[0[1", "D1"},
    {1, "2", "AutoPrint[-1[-1[-1[-1[-1[0[0[0[-1[1", "D1A"},
    {1, "3", "AutoStruct - Stand Alone[0[0[0[0[0[0[2[0[-1[3", "D1B"},
    {2, "1", "Default[Courier[10[5[30[45[55[65[30[45[55[65[30[43[52[62[72[30[43[52[62[72[HP LaserJet 4L", "D2"},
    {2, "2",
     "HPLJ4 - Times NR[Times New Roman[10[5[30[45[55[65[30[45[55[65[30[43[52[62[72[30[43[52[62[72[HP LaserJet 4L",
     "D2A"},
    {3, "Tab Setting", "Default", "D3"},
    {3, "Print Setting", "Default", "D3A"},
};

// The built-in settings below one root; false when a write failed.
bool writeDefaultsBelow(std::int32_t root) {
    const std::string codePrefix = root == kCurrentUser ? "SVPAU" : "SVPAL";
    int openKey = 0;
    for (const auto& value : kDefaults) {
        if (value.which != openKey) {
            if (!OpenPrintingKey(root, value.which, true)) return false;
            openKey = value.which;
        }
        if (!StoreRegistryValue(value.name, value.value, codePrefix + value.code)) return false;
    }
    return true;
}

bool valueExists(win32::HKEY root, const std::string& key, const char* name) {
    win32::HKEY handle = 0;
    if (win32::RegOpenKeyExA(root, key.c_str(), 0, win32::KEY_READ, &handle) != win32::ERROR_SUCCESS)
        return false;
    const bool found =
        win32::RegQueryValueExA(handle, name, nullptr, nullptr, nullptr, nullptr) == win32::ERROR_SUCCESS;
    win32::RegCloseKey(handle);
    return found;
}

}  // namespace

bool IsFirstRun() {
    // Any of the built-in values below either root means the defaults were
    // written before.
    for (win32::HKEY root : {win32::HKEY_LOCAL_MACHINE, win32::HKEY_CURRENT_USER})
        for (const auto& value : kDefaults)
            if (valueExists(root, std::string(kFullPrintingPath) + subKeyName(value.which), value.name))
                return false;
    return true;
}

bool OpenPrintingKey(std::int32_t root, int which, bool autoCreate) {
    const char* subKey = subKeyName(which);
    if (!subKey) return true;
    oRegistry->RootKey(vb::Variant(root));
    oRegistry->TopKey("SOFTWARE");
    oRegistry->AutoCreate(autoCreate);
    if (oRegistry->CreateKey("Corvane", std::string(kPrintingPath) + subKey)) return true;
    vb::MsgBox(fatalKeyMessage(root, which) + (autoCreate ? "True" : "False"), vb::vbCritical, "Strux32");
    return false;
}

bool StoreRegistryValue(const std::string& name, const std::string& value, const std::string& code) {
    if (oRegistry->SetValue(vb::Variant(name), vb::Variant(value)) == 0) return true;
    vb::MsgBox("Registry access problem Code " + code + ". Please call Corvane", vb::vbCritical, "Strux32");
    if (oRegistry->KeyOpen()) oRegistry->CloseKey();
    return false;
}

void ResetRegistryObject() {
    oRegistry->RootKey(vb::Variant(kLocalMachine));
    oRegistry->TopKey("SOFTWARE");
    oRegistry->CompanyKey(savedCompanyKey);
    oRegistry->AutoCreate(savedAutoCreate);
}

bool WriteDefaultPrintSettings() {
    if (!writeDefaultsBelow(kLocalMachine)) return false;
    if (!writeDefaultsBelow(kCurrentUser)) return false;
    ResetRegistryObject();
    bFirstRun = 0;
    return true;
}

bool RegistryStartUp() {
    bFirstRun = IsFirstRun() ? -1 : 0;
    oRegistry = cvRegistry::CreateObject();
    if (oRegistry->KeyOpen()) oRegistry->CloseKey();
    savedCompanyKey = oRegistry->CompanyKey();
    savedAutoCreate = oRegistry->AutoCreate();
    if (bFirstRun != 0) return WriteDefaultPrintSettings();
    return true;
}
