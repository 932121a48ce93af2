// The splash window shown while the program starts.
#pragma once

#include <QWidget>

class QLabel;

class frmFront : public QWidget {
    Q_OBJECT
public:
    explicit frmFront(QWidget* parent = nullptr);
    void Form_Load();

private:
    QLabel* lblVersion = nullptr;
};
