#include "rig/HamlibModels.h"

#include <QRegularExpression>
#include <QStringList>

namespace tenlog::rig {

QList<HamlibModel> parseHamlibModelList(const QString& rigctlListOutput)
{
    static const QRegularExpression columnGap(QStringLiteral("\\s{2,}|\\t"));
    QList<HamlibModel> models;
    for (const QString& rawLine : rigctlListOutput.split(QLatin1Char('\n'))) {
        const QStringList fields = rawLine.trimmed().split(columnGap, Qt::SkipEmptyParts);
        if (fields.size() < 3)
            continue;
        bool isNumber = false;
        const int number = fields[0].toInt(&isNumber);
        if (!isNumber || number <= 0)
            continue;
        models.append({number, fields[1], fields[2]});
    }
    return models;
}

}  // namespace tenlog::rig
