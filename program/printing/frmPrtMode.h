// "Printing Mode": the output target of a print request.
#pragma once

#include <QDialog>
#include <array>
#include <memory>
#include <string>

class QPushButton;
class QRadioButton;
class frmPrtMode2;

class frmPrtMode : public QDialog {
    Q_OBJECT
public:
    // Loading the dialog clears bModeCancelled.
    explicit frmPrtMode(QWidget* parent = nullptr);
    ~frmPrtMode() override;

    // The mode code chosen ("1" to "4"); "" when the dialog gave no answer.
    std::string sResult;

    // Selects the options a stored print setting asks for; a print mode of
    // 2 loads the code style dialog with `structMode` selected.
    void preselect(int printMode, int structMode);
    // Shows the dialog modally; after "&Accept" the code style is asked
    // for when code was chosen.
    void Show();

    void cmdAccept_Click();
    // Runs after "&Accept" has hidden the dialog.
    void Form_Deactivate();

    QRadioButton* optPrintMode(int index) const { return optPrintMode_[static_cast<std::size_t>(index)]; }
    // The code style dialog, loaded on first use; nullptr once unloaded.
    frmPrtMode2* styleDialog() const { return style_.get(); }

public slots:
    void reject() override;

private:
    frmPrtMode2& loadStyleDialog();
    std::string firstSelectedMode() const;

    std::array<QRadioButton*, 3> optPrintMode_{};
    QPushButton* cmdAccept = nullptr;
    std::unique_ptr<frmPrtMode2> style_;
    bool accepted_ = false;
};
