#include "viewer/frmFront.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "STXGLOB.h"
#include "viewer/pictures.h"

frmFront::frmFront(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName("frmFront");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    // The raised bevelled panel that fills the window.
    auto* panel = new QFrame;
    panel->setObjectName("SSPanel1");
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(3);
    outer->addWidget(panel);

    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(18, 14, 18, 14);
    auto* top = new QHBoxLayout;
    auto* picture = new QLabel;
    picture->setPixmap(viewer::programIcon());
    top->addWidget(picture);
    auto* product = new QLabel("Strux32");
    product->setObjectName("lblProduct");
    QFont big = product->font();
    big.setPointSize(20);
    big.setBold(true);
    product->setFont(big);
    top->addWidget(product);
    top->addStretch();
    layout->addLayout(top);

    lblVersion = new QLabel;
    lblVersion->setObjectName("lblVersion");
    layout->addWidget(lblVersion);
    auto* slogan = new QLabel("Database structures at a glance.");
    slogan->setObjectName("lblSlogan");
    layout->addWidget(slogan);
    auto* address = new QLabel("Corvane Software - PO Box 320 - Strux Valley");
    address->setObjectName("lblAddress");
    layout->addWidget(address);
    setFixedSize(340, 160);
}

void frmFront::Form_Load() { lblVersion->setText(QString::fromStdString(VersionText())); }
