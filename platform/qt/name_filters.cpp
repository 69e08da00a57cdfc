#include "platform/qt/name_filters.h"

#include <QString>

namespace tosbel {

QStringList nameFilters(std::string_view filter) {
    const QStringList parts =
        QString::fromUtf8(filter.data(), static_cast<qsizetype>(filter.size())).split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QStringList patterns;
        for (const QString& p : parts[i + 1].split(u';', Qt::SkipEmptyParts)) {
            for (const QString& variant :
                 {p.trimmed(), p.trimmed().toUpper(), p.trimmed().toLower()})
                if (!variant.isEmpty() && !patterns.contains(variant)) patterns << variant;
        }
        out << parts[i] + QStringLiteral(" (") + patterns.join(u' ') + QLatin1Char(')');
    }
    return out;
}

}  // namespace tosbel
