// "VB5 Code Style": which kind of Visual Basic code the generator writes.
#pragma once

#include <QDialog>
#include <array>
#include <string>

class QPushButton;
class QRadioButton;

class frmPrtMode2 : public QDialog {
    Q_OBJECT
public:
    explicit frmPrtMode2(QWidget* parent = nullptr);

    // "!OK!" once accepted; "" otherwise, so that the close box is no answer.
    std::string sResult;

    void cmdOK_Click();
    // Index of the first selected style, or -1.
    int selectedStyle() const;
    QRadioButton* optStyle(int index) const { return optStyle_[static_cast<std::size_t>(index)]; }

private:
    std::array<QRadioButton*, 3> optStyle_{};
    QPushButton* cmdOK = nullptr;
};
