#include "graph/data/graph_types.h"

namespace plotwell {

std::optional<GraphKind> GraphTypeNamed(const QString& name)
{
    for (const GraphTypeName& entry : kGraphTypes)
        if (name == QLatin1String(entry.name))
            return entry.type;
    return std::nullopt;
}

QString GraphTypeDescription(GraphKind type)
{
    const std::size_t i = GraphTypeIndex(type);
    return i < kGraphTypes.size() ? QString::fromLatin1(kGraphTypes[i].description) : QString();
}

QString GraphTypeNameList()
{
    QString list;
    for (std::size_t i = 0; i < kGraphTypes.size(); ++i) {
        if (i > 0)
            list += i + 1 < kGraphTypes.size() ? QStringLiteral(", ") : QStringLiteral(" or ");
        list += QLatin1String(kGraphTypes[i].name);
    }
    return list;
}

} // namespace plotwell
