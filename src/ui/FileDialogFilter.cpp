#include "ui/FileDialogFilter.h"

namespace leafmill {

static QString qtPatterns(const QString& patterns)
{
    QStringList out;
    for (const QString& pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        if (trimmed.isEmpty())
            continue;
        out << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
    }
    return out.join(QLatin1Char(' '));
}

QStringList qtNameFilters(const QString& commonDialogFilter)
{
    const QStringList parts = commonDialogFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = qtPatterns(parts[i + 1]);
        if (patterns.isEmpty())
            continue;
        const QString description = parts[i].trimmed();
        filters << (description.isEmpty() ? patterns : description) + QStringLiteral(" (") + patterns
                + QLatin1Char(')');
    }
    return filters;
}

}  // namespace leafmill
