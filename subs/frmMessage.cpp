#include "frmMessage.h"

#include <QPointer>

namespace subs {

frmMessage::frmMessage(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    ui_.setupUi(this);
    setFixedSize(size());
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(0xC0, 0xC0, 0xC0));
    setPalette(grey);
    setAutoFillBackground(true);
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    setFont(font);
    // The caller's long task goes on while the window shows; it must not
    // take the keyboard away from the window the user works in.
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void frmMessage::setMessage(const QString& text) {
    ui_.lblMessage->setText(text);
    centreLabel();
}

void frmMessage::showEvent(QShowEvent* event) {
    centreLabel();
    QWidget::showEvent(event);
}

bool frmMessage::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) centreLabel();
    return QWidget::event(event);
}

void frmMessage::centreLabel() {
    QLabel* label = ui_.lblMessage;
    const int areaHeight = ui_.picLabelArea->contentsRect().height();
    const int wanted = label->heightForWidth(label->width());
    label->resize(label->width(), std::clamp(wanted > 0 ? wanted : label->sizeHint().height(), 1, areaHeight));
    label->move(label->x(), ui_.picLabelArea->contentsRect().top() + (areaHeight - label->height()) / 2);
}

namespace {

QPointer<frmMessage>& theWindow() {
    static QPointer<frmMessage> window;
    return window;
}

}  // namespace

frmMessage& frmMessage::window() {
    if (!theWindow()) theWindow() = new frmMessage();
    return *theWindow();
}

frmMessage* frmMessage::existingWindow() { return theWindow().data(); }

}  // namespace subs
