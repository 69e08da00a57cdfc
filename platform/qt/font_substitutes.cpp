#include "platform/qt/font_substitutes.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace tosbel {

namespace {

#ifdef _WIN32
// The Japanese interface fonts of Windows 10 and 11; Noto is what Wine finds
// where the program is tried.
const QStringList kWindowsSans{QStringLiteral("Yu Gothic UI"), QStringLiteral("Meiryo UI"),
                               QStringLiteral("Noto Sans CJK JP")};
const QStringList kWindowsSerif{QStringLiteral("Yu Mincho"), QStringLiteral("Noto Serif CJK JP")};

// Menus, status bars and Qt's own dialogs use the system's interface fonts;
// ones without kana (an English Windows, Wine) would leave the Japanese font
// to Qt's fallback.
void useJapaneseInterfaceFonts(const QStringList& installed) {
    QString family;
    for (const QString& f : kWindowsSans)
        if (family.isEmpty() && installed.contains(f)) family = f;
    if (family.isEmpty()) return;
    const auto japanese = [](const QFont& font) {
        return QFontDatabase::writingSystems(font.family()).contains(QFontDatabase::Japanese);
    };
    for (const char* kind : {"QMenuBar", "QMenu", "QStatusBar", "QToolTip", "QMessageBox",
                             "QAbstractItemView", "QHeaderView"}) {
        QFont font = QApplication::font(kind);
        if (japanese(font)) continue;
        font.setFamily(family);
        QApplication::setFont(font, kind);
    }
    QFont font = QApplication::font();
    if (japanese(font)) return;
    font.setFamily(family);
    QApplication::setFont(font);
}
#endif

}  // namespace

void substituteWindowsFonts() {
    const QStringList installed = QFontDatabase::families();
    // On Windows a font list may give a font by its English name only, and a
    // Windows without the old fonts still has its Japanese interface fonts.
    // Elsewhere only Noto: fontconfig takes any name and would answer a
    // Windows font's name with a font that has no kanji.
    const auto substitute = [&installed](const QString& wanted,
                                         [[maybe_unused]] const char* english,
                                         const QString& noto) {
        if (installed.contains(wanted)) return;
#ifdef _WIN32
        const bool sans = noto.contains(QStringLiteral("Sans"));
        QFont::insertSubstitutions(wanted, QStringList{QString::fromLatin1(english)} +
                                               (sans ? kWindowsSans : kWindowsSerif));
#else
        QFont::insertSubstitution(wanted, noto);
#endif
    };
    const QString sans = QStringLiteral("Noto Sans CJK JP");
    const QString serif = QStringLiteral("Noto Serif CJK JP");
    substitute(QStringLiteral("ＭＳ Ｐゴシック"), "MS PGothic", sans);
    substitute(QStringLiteral("ＭＳ ゴシック"), "MS Gothic", sans);
    substitute(QStringLiteral("ＭＳ Ｐ明朝"), "MS PMincho", serif);
    substitute(QStringLiteral("ＭＳ 明朝"), "MS Mincho", serif);
#ifdef _WIN32
    useJapaneseInterfaceFonts(installed);
#endif
}

}  // namespace tosbel
