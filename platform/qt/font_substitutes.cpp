#include "platform/qt/font_substitutes.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace tosbel {

namespace {

#ifdef _WIN32
// A Windows without the old fonts still has its own Japanese interface fonts
// (Windows 10 and 11); Noto is what Wine finds where the program is tried.
const QStringList kSansStandIns{QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI"),
                                QStringLiteral("Noto Sans CJK JP")};
const QStringList kSerifStandIns{QStringLiteral("Yu Mincho"), QStringLiteral("Noto Serif CJK JP")};

// Menus, status bars and Qt's own dialogs use the system's interface fonts
// (the application's default among them); ones without kana (an English
// Windows, Wine) would leave the Japanese font to Qt's fallback.
void useJapaneseInterfaceFonts(const QStringList& installed) {
    QString family;
    for (const QString& f : kSansStandIns)
        if (family.isEmpty() && installed.contains(f)) family = f;
    if (family.isEmpty()) return;
    for (const char* kind : {static_cast<const char*>(nullptr), "QMenuBar", "QMenu", "QStatusBar",
                             "QToolTip", "QMessageBox", "QAbstractItemView", "QHeaderView"}) {
        QFont font = QApplication::font(kind);
        if (QFontDatabase::writingSystems(font.family()).contains(QFontDatabase::Japanese))
            continue;
        font.setFamily(family);
        QApplication::setFont(font, kind);
    }
}
#else
// Only Noto: fontconfig takes any name and would answer a Windows font's name
// with a font that has no kanji.
const QStringList kSansStandIns{QStringLiteral("Noto Sans CJK JP")};
const QStringList kSerifStandIns{QStringLiteral("Noto Serif CJK JP")};
#endif

}  // namespace

void substituteWindowsFonts() {
    const QStringList installed = QFontDatabase::families();
    const auto substitute = [&installed](const QString& wanted,
                                         [[maybe_unused]] const char* english,
                                         const QStringList& standIns) {
        if (installed.contains(wanted)) return;
#ifdef _WIN32
        // A Windows font list may give the font by its English name only.
        QFont::insertSubstitutions(wanted, QStringList{QString::fromLatin1(english)} + standIns);
#else
        QFont::insertSubstitutions(wanted, standIns);
#endif
    };
    substitute(QStringLiteral("ＭＳ Ｐゴシック"), "MS PGothic", kSansStandIns);
    substitute(QStringLiteral("ＭＳ ゴシック"), "MS Gothic", kSansStandIns);
    substitute(QStringLiteral("ＭＳ Ｐ明朝"), "MS PMincho", kSerifStandIns);
    substitute(QStringLiteral("ＭＳ 明朝"), "MS Mincho", kSerifStandIns);
#ifdef _WIN32
    useJapaneseInterfaceFonts(installed);
#endif
}

}  // namespace tosbel
