#include "platform/qt/font_substitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace tosbel {

void substituteWindowsFonts() {
    const QStringList installed = QFontDatabase::families();
    const auto substitute = [&installed](const QString& wanted, const QString& standIn) {
        if (!installed.contains(wanted)) QFont::insertSubstitution(wanted, standIn);
    };
    const QString sans = QStringLiteral("Noto Sans CJK JP");
    const QString serif = QStringLiteral("Noto Serif CJK JP");
    substitute(QStringLiteral("ＭＳ Ｐゴシック"), sans);
    substitute(QStringLiteral("ＭＳ ゴシック"), sans);
    substitute(QStringLiteral("ＭＳ Ｐ明朝"), serif);
    substitute(QStringLiteral("ＭＳ 明朝"), serif);
}

}  // namespace tosbel
