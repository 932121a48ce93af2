// What the print request tests share: a settings database whose tables can
// be sought by their primary key, a scripted way of answering the printing
// dialogs, and a main window with a database open.
#pragma once

#include <QDialog>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "frmStrux.h"
#include "jet/recordset.h"
#include "program_fixture.h"
#include "vb/scripted_ui.h"

namespace printtest {

// A table-type recordset whose first column is its primary key.
class KeyedRecordset : public jet::Recordset {
public:
    KeyedRecordset(std::vector<std::string> columns, std::vector<std::vector<jet::Value>> rows);
    int Type() const override;
    long RecordCount() const override { return static_cast<long>(rows_.size()); }
    jet::Collection<jet::Field>& Fields() override { return fields_; }
    const std::string& Index() const override { return index_; }
    void SetIndex(const std::string& name) override;
    void Seek(const std::string& comparison, const std::vector<jet::Value>& key) override;
    void FindFirst(const std::string&) override { unsupported(); }
    void FindNext(const std::string&) override { unsupported(); }
    bool NoMatch() const override { return noMatch_; }
    void MoveFirst() override { moveTo(0); }
    void MoveNext() override { moveTo(position_ + 1); }
    void MoveLast() override { moveTo(rows_.empty() ? 0 : rows_.size() - 1); }
    bool Eof() const override { return position_ >= rows_.size(); }
    bool Bof() const override { return rows_.empty(); }
    void AddNew() override { unsupported(); }
    void Edit() override { unsupported(); }
    void SetValue(const std::string&, const jet::Value&) override { unsupported(); }
    void Update() override { unsupported(); }
    void CancelUpdate() override { unsupported(); }
    void Delete() override { unsupported(); }
    void Close() override {}

private:
    [[noreturn]] static void unsupported();
    void moveTo(std::size_t position);
    std::vector<std::string> columns_;
    std::vector<std::vector<jet::Value>> rows_;
    jet::Collection<jet::Field> fields_;
    std::string index_;
    std::size_t position_ = 0;
    bool noMatch_ = false;
};

// STX32.MDB as the tests need it: StoredSettings and PrintInit rows.
class SettingsDatabase : public programtest::MemoryDatabase {
public:
    SettingsDatabase();
    // One PrintInit row; the Yes/No columns hold -1 and 0 as Jet stores them.
    void addPrintSetting(const std::string& name, bool autoPrint, const std::string& selection, int printMode,
                         int structMode, bool tables = true, bool indexes = true, bool fields = true,
                         bool queries = false, bool relations = false, bool page = false, bool details = false);
    void addTabSetting(const std::string& name, const std::string& printer, const std::string& font,
                       std::int16_t firstTab);
    std::unique_ptr<jet::Recordset> OpenRecordset(const std::string& name, int type) override;
    std::vector<std::string> opened;
};

// Answers the printing dialogs in the order they come; a dialog that comes
// with no answer left fails the test and is closed by its close box.
class DialogScript {
public:
    DialogScript();
    ~DialogScript();
    std::deque<std::function<void(QDialog&)>> answers;
    std::vector<std::string> shown;  // the dialogs' captions, in order
};

// Clicks the dialog's button `name`.
void click(QDialog& dialog, const char* name);
// Selects option `name` of the dialog, then clicks `button`.
std::function<void(QDialog&)> choose(const char* option, const char* button);
// The close box of the dialog.
void closeBox(QDialog& dialog);

}  // namespace printtest
