#include "platform/qt/font_substitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace tosbel {

void substituteWindowsFonts() {
    const QStringList installed = QFontDatabase::families();
    // On Windows a font list may give a font by its English name only, and a
    // Windows without the old fonts still has the Japanese interface fonts of
    // Windows 10 and 11; Noto is what Wine finds where the program is tried.
    // Elsewhere only Noto: fontconfig takes any name and would answer a
    // Windows font's name with a font that has no kanji.
    const auto substitute = [&installed](const QString& wanted,
                                         [[maybe_unused]] const char* english,
                                         const QString& noto) {
        if (installed.contains(wanted)) return;
#ifdef _WIN32
        const bool sans = noto.contains(QStringLiteral("Sans"));
        QFont::insertSubstitutions(
            wanted,
            sans ? QStringList{QString::fromLatin1(english), QStringLiteral("Yu Gothic UI"),
                               QStringLiteral("Meiryo UI"), noto}
                 : QStringList{QString::fromLatin1(english), QStringLiteral("Yu Mincho"), noto});
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
}

}  // namespace tosbel
