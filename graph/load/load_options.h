#pragma once
// How a data file is to be read: one series per line, or one series per column, and for
// column files whether the first column is X.

#include <QString>

namespace plotwell {

enum class DataLayout { ByName, Lines, Columns };

// The first column as X: as the values say, always, or never.
enum class XColumnRule { Auto, Always, Never };

struct LoadOptions
{
    DataLayout layout = DataLayout::ByName;
    XColumnRule xColumn = XColumnRule::Auto;
};

// Lines or Columns: `requested` unless it is ByName; then columns for names ending in ".csv"
// or ".tsv" in any case, lines for every other name.
DataLayout LayoutOfFile(const QString& path, DataLayout requested = DataLayout::ByName);

} // namespace plotwell
