// The implementation behind the clsSubs1 interface.
#include "clsSubs1.h"

#include <QApplication>
#include <QString>
#include <QWidget>

#include "busy_wait.h"
#include "error_areas.h"
#include "error_message.h"
#include "frmMessage.h"
#include "frmPass.h"
#include "text_fix.h"
#include "vb/date_text.h"
#include "vb/interaction.h"
#include "vb/screen.h"
#include "vb/system_names.h"
#include "vb/vb_error.h"
#include "vb/window_placement.h"

namespace subs {

namespace {

constexpr int32_t kStoreArea = -1;
constexpr int32_t kStoredArea = -2;
constexpr int16_t kNoUserNumber = -32768;

int32_t toLong(int64_t value) {
    if (value < INT32_MIN || value > INT32_MAX) throw vb::RuntimeError(vb::vbErrOverflow, "Overflow");
    return static_cast<int32_t>(value);
}

// A name from a 256-character buffer, up to its first character outside
// 32..127 (the NUL ends it, and so does anything not plain ASCII).
template <typename Ask>
std::string nameFromSystem(Ask ask) {
    char buffer[256] = {};
    uint32_t size = sizeof buffer;
    if (!ask(buffer, &size)) return {};
    std::string name;
    for (char c : buffer) {
        const auto code = static_cast<unsigned char>(c);
        if (code < 32 || code > 127) break;
        name += c;
    }
    return name;
}

bool isMinusOne(const vb::Variant& value) {
    if (value.VarType() == vb::vbString) return value.toString() == "-1";
    if (value.isNumeric() && !value.isEmpty()) return value.toDouble() == -1;
    return false;
}

class Subs1 : public clsSubs1 {
public:
    std::string cvShowPass(int16_t iPassLoops) override;
    void cvCentreForm(QWidget* hWndMe) override;
    void cvSleep(int16_t piSleep) override;
    void cvCentreToParent(QWidget* hWndMe, QWidget* hWndParent) override;
    std::string cvTextFix(int16_t iMode, const std::string& sText, const std::string& sChar,
                          const std::string& sReplace) override;
    bool cvCheckDate(const std::string& DateToCheck, const std::string& sSepChar) override;
    std::string cvGetUser() override;
    std::string cvSetArea(int32_t liAreaNum, int16_t iFormNo, int32_t liNewVal) override;
    int16_t cvErrHandler(int32_t liErrorNum, const std::string& sAreaText, const std::string& sContact,
                         int16_t iUserErrNum, vb::ByRef<int32_t> iMsgbCode, vb::ByRef<int16_t> iMsgbB1,
                         vb::ByRef<int16_t> iMsgbB2, vb::ByRef<int16_t> iMsgbB3, vb::ByRef<std::string> sVer,
                         vb::ByRef<std::string> sEXENme) override;
    void cvShowMessage(const vb::Variant& sMsgCaption) override;
    void cvStoreCA(const std::string& sAreaText) override;
    bool cvStillUpdating(int16_t iEditMode) override;

private:
    int32_t ResolveAreaNum(const vb::Variant& vArea, int32_t liNewVal);

    int32_t storedArea_ = 0;
    // The result of the last window call; kept, never reported.
    int32_t lastWindowResult_ = 0;
};

std::string Subs1::cvShowPass(int16_t iPassLoops) {
    frmPass window(QApplication::activeWindow());
    window.setTag(QString::number(iPassLoops));
    window.exec();
    if (window.tag() == QStringLiteral("!OK!"))
        return "{" + trimBlanks(window.userName().toStdString()) + "}{" + trimBlanks(window.password().toStdString()) +
               "}";
    return window.tag().toStdString();
}

void Subs1::cvCentreForm(QWidget* hWndMe) {
    const vb::Rect desktop = vb::desktopRect(hWndMe);
    const vb::Rect me = vb::windowRect(hWndMe);
    const int32_t x = toLong(desktop.left + (desktop.width() - me.width()) / 2);
    const int32_t y = toLong(desktop.top + (desktop.height() - me.height()) / 2);
    lastWindowResult_ = vb::moveWindow(hWndMe, x, y, toLong(me.width()), toLong(me.height()), false);
}

void Subs1::cvSleep(int16_t piSleep) { waitByTimeOfDay(piSleep == 0 ? 1 : piSleep, vb::activeClock()); }

void Subs1::cvCentreToParent(QWidget* hWndMe, QWidget* hWndParent) {
    const vb::Rect parent = vb::windowRect(hWndParent);
    const vb::Rect me = vb::windowRect(hWndMe);
    const int32_t x = toLong((parent.width() - me.width()) / 2);
    const int32_t y = toLong((parent.height() - me.height()) / 2);
    if (x < 0 || y < 0) {
        cvCentreForm(hWndMe);
        return;
    }
    lastWindowResult_ = vb::moveWindow(hWndMe, x, y, toLong(me.width()), toLong(me.height()), false);
}

std::string Subs1::cvTextFix(int16_t iMode, const std::string& sText, const std::string& sChar,
                             const std::string& sReplace) {
    switch (iMode) {
    case 1: return upperCase(sText);
    case 2: return lowerCase(sText);
    case 3: {
        clsSubs1& self = *this;  // through the interface, as a caller would
        return properCase(lowerCase(self.cvTextFix(4, sText)));
    }
    case 4: return collapseBlankRuns(trimBlanks(sText));
    case 5: return replaceEach(trimBlanks(sText), sChar, sReplace);
    default: return {};
    }
}

bool Subs1::cvCheckDate(const std::string& DateToCheck, const std::string& sSepChar) {
    const QString text = QString::fromStdString(DateToCheck);
    const QString separator = sSepChar.empty() ? QStringLiteral("/") : QString::fromStdString(sSepChar);
    const auto length = text.size();
    if (length < 6 || length == 9 || length > 10) return false;
    if (length == 6 || length == 7) return true;
    if (text.mid(2, 1) != separator || text.mid(5, 1) != separator) return false;
    return vb::dateFromText(trimBlanks(DateToCheck)).has_value();  // the conversion ignores blanks around
}

std::string Subs1::cvGetUser() {
    return "{" + nameFromSystem(vb::GetUserNameA) + "}{" + nameFromSystem(vb::GetComputerNameA) + "}";
}

int32_t Subs1::ResolveAreaNum(const vb::Variant& vArea, int32_t liNewVal) {
    const int32_t area = vArea.toLong();
    if (area == kStoreArea) {
        storedArea_ = liNewVal;
        return liNewVal;
    }
    if (area == kStoredArea) return storedArea_;
    return area;
}

std::string Subs1::cvSetArea(int32_t liAreaNum, int16_t iFormNo, int32_t liNewVal) {
    const int32_t area = ResolveAreaNum(vb::Variant(liAreaNum), liNewVal);
    return formPrefix(iFormNo) + areaLabel(area);
}

void Subs1::cvStoreCA(const std::string& sAreaText) { storedArea_ = areaNumFromText(sAreaText); }

int16_t Subs1::cvErrHandler(int32_t liErrorNum, const std::string& sAreaText, const std::string& sContact,
                            int16_t iUserErrNum, vb::ByRef<int32_t> iMsgbCode, vb::ByRef<int16_t> iMsgbB1,
                            vb::ByRef<int16_t> iMsgbB2, vb::ByRef<int16_t> iMsgbB3, vb::ByRef<std::string>,
                            vb::ByRef<std::string>) {
    const int32_t areaNumber = areaNumFromText(sAreaText);
    int32_t& style = iMsgbCode.get();

    if (style == -1 && iUserErrNum >= 1) return iUserErrNum;
    if (style == -1 && iUserErrNum == -1) return toErrorInteger(liErrorNum);
    if (style == 0 && iUserErrNum == -1) iUserErrNum = toErrorInteger(liErrorNum);

    if (liErrorNum == 3015 || liErrorNum == 3024) {
        iUserErrNum = 0;
        style = 0;
    }
    std::string message = errorMessageText(liErrorNum, areaNumber, sAreaText, sContact);
    // The clipboard first: the text must still be at hand after the box.
    vb::ui().setClipboardText(message);
    message += std::string(kStoredInClipboard) + "\r\n";
    const int pressed = vb::MsgBox(message, style, "Error Handler");

    const int16_t b1 = iMsgbB1.get();
    const int16_t b2 = iMsgbB2.get();
    const int16_t b3 = iMsgbB3.get();
    if (b1 >= 1 || b2 >= 1 || b3 >= 1) {
        style = buttonGroup(style);
        iUserErrNum = resultForButton(style, pressed, b1, b2, b3, iUserErrNum);
    }
    return iUserErrNum != 0 ? iUserErrNum : kNoUserNumber;
}

void Subs1::cvShowMessage(const vb::Variant& sMsgCaption) {
    if (isMinusOne(sMsgCaption)) {
        if (frmMessage* existing = frmMessage::existingWindow()) existing->hide();
        vb::DoEvents();
        return;
    }
    const std::string caption = sMsgCaption.toString();  // Null fails here, before the window changes
    frmMessage& window = frmMessage::window();
    window.hide();
    cvCentreForm(&window);
    window.setMessage(QString::fromStdString(caption));
    window.show();
    // A window shown for the first time learns its frame only now; centre
    // it again so the frame is part of the sum (no move when nothing changed).
    cvCentreForm(&window);
    vb::DoEvents();
}

bool Subs1::cvStillUpdating(int16_t iEditMode) {
    if (iEditMode < 2) return false;
    vb::MsgBox("There is an outstanding update to perform!", vb::vbCritical + vb::vbOKOnly, "Can't unload");
    return true;
}

}  // namespace

}  // namespace subs

std::unique_ptr<clsSubs1> createClsSubs1() { return std::make_unique<subs::Subs1>(); }
