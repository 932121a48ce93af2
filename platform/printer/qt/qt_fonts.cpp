#include "printer/qt/qt_fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace printer {

namespace {

bool isCourier(const QString& family) {
    return family.compare(QLatin1String("Courier"), Qt::CaseInsensitive) == 0 ||
           family.compare(QLatin1String("Courier New"), Qt::CaseInsensitive) == 0;
}

QFont fixedPitchStandIn(const QString& family) {
    const QString preferred = QStringLiteral("Liberation Mono");
    QFont font(QFontDatabase::hasFamily(preferred) ? preferred : family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return font;
}

}  // namespace

std::vector<std::string> installedFontFamilies() {
    // Qt names a family that several foundries make "Name [Foundry]"; the
    // report asks for a family by its name alone, so each is listed once.
    // The fixed-pitch families come first: the report's columns are meant
    // for them.
    QStringList fixed, proportional;
    for (QString family : QFontDatabase::families()) {
        if (const qsizetype tag = family.indexOf(QLatin1String(" [")); tag > 0) family.truncate(tag);
        const bool fixedPitch = QFontDatabase::isFixedPitch(family);
        QStringList& group = fixedPitch ? fixed : proportional;
        if (!fixed.contains(family) && !proportional.contains(family)) group.push_back(family);
    }
    std::vector<std::string> families;
    for (const QStringList* group : {&fixed, &proportional})
        for (const QString& family : *group) families.push_back(family.toStdString());
    return families;
}

QFont matchFont(const PrintFont& wanted) {
    const QString family = QString::fromStdString(wanted.name);
    QFont font;
    if (QFontDatabase::hasFamily(family)) {
        font = QFont(family);
    } else if (isCourier(family)) {
        font = fixedPitchStandIn(family);
    } else {
        font = QFont(family);  // fontconfig substitutes when the family is missing
    }
    font.setPointSizeF(wanted.size);
    font.setBold(wanted.bold);
    font.setUnderline(wanted.underline);
    // Kerning would move characters off their cells in a fixed-pitch face.
    font.setKerning(false);
    return font;
}

}  // namespace printer
