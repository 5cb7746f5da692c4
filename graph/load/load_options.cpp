#include "graph/load/load_options.h"

namespace plotwell {

DataLayout LayoutOfFile(const QString& path, DataLayout requested)
{
    if (requested != DataLayout::ByName)
        return requested;
    return path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ||
                   path.endsWith(QLatin1String(".tsv"), Qt::CaseInsensitive)
               ? DataLayout::Columns
               : DataLayout::Lines;
}

} // namespace plotwell
