#include "viewer/main_window_texts.h"

#include <map>

namespace viewer {

namespace {
const std::string kCrLf = "\r\n";
}

std::string hintText(const std::string& controlName, bool querySelected) {
    static const std::map<std::string, std::string> hints = {
        {"cmdOpen", " Opens an Access (*.MDB) type database!"},
        {"cmdPrint", " Prints the database structure, or selected portions."},
        {"cmdDefaults", " Set up printing defaults and create new sets."},
        {"cmdSetPrinter", " Sets up the print font and tab spacings to suit your printer."},
        {"cmdFinished", " Exit the program!"},
        {"cmdHelp", " Opens the help screen."},
        {"Image1", " Double click for details of the database creation parameters and attributes"},
        {"lstTables", " A list of visible tables in the database"},
        {"lstFields", " A list of the fields that make up a record. Click for field details."},
        {"lstIndexes", " A list of the indexes attached to this table. Click to see details"},
        {"lblIndexes", " A list of the indexes attached to the current table. Click for details."},
    };
    if (controlName == "lstProperties")
        return querySelected ? " Double_Click a line to see the full length if not all visible."
                             : " Field, Index or Relation properties according to selection";
    auto it = hints.find(controlName);
    return it == hints.end() ? std::string() : it->second;
}

std::string wakeUpMessage() {
    return "Double-click the Copyright label for" + kCrLf + "our address and phone number." + kCrLf +
           kCrLf + "You need to open a database to use the" + kCrLf +
           "program. Click on 'Open Database'";
}

std::string contactInfoMessage() {
    const std::string indent(10, ' ');
    return "Corvane writes tools for developers who look after" + kCrLf +
           "Access databases and Visual Basic programs." + kCrLf + kCrLf +
           "You can reach us at:" + kCrLf + kCrLf +
           indent + "Corvane Software" + kCrLf +
           indent + "PO Box 320" + kCrLf +
           indent + "Strux Valley" + kCrLf + kCrLf +
           indent + "support@corvane.example" + kCrLf +
           indent + "https://corvane.example/strux32";
}

std::string versionText(int major, int minor, int revision) {
    return "Version " + std::to_string(major) + "." + std::to_string(minor) + "." +
           std::to_string(revision);
}

std::string captionWithVersion(const std::string& caption, const std::string& version) {
    return caption + " [" + version + "]";
}

}  // namespace viewer
