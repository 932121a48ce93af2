// The extended print help: what each output target of the Print button does.
#pragma once

#include <QDialog>

class frmHelp2 : public QDialog {
    Q_OBJECT
public:
    explicit frmHelp2(QWidget* parent = nullptr);
};
