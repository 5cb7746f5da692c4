#pragma once
// The graph types with their names: the one table through which the options panel, the command
// lines and the screen-reader description map a type.

#include "graph/data/series_types.h"

#include <QString>

#include <array>
#include <cstddef>
#include <optional>

namespace plotwell {

struct GraphTypeName
{
    GraphKind type;
    const char* name;        // on command lines
    const char* description; // what a screen reader hears
};

// In the order of the panel's buttons and of the command line's list.
inline constexpr std::array<GraphTypeName, 5> kGraphTypes = {{
    {kLineGraph, "line", "Line graph"},
    {kCurveGraph, "curve", "Smoothed curve graph"},
    {kBarGraph, "bar", "Bar graph"},
    {kStackedGraph, "stacked", "Stacked bar graph"},
    {kPieGraph, "pie", "Pie graph"},
}};

// The place of `type` in kGraphTypes.
constexpr std::size_t GraphTypeIndex(GraphKind type)
{
    for (std::size_t i = 0; i < kGraphTypes.size(); ++i)
        if (kGraphTypes[i].type == type)
            return i;
    return kGraphTypes.size();
}

// Five entries that find each of the five types: each type is listed exactly once.
static_assert(
    [] {
        for (int t = kLineGraph; t <= kPieGraph; ++t)
            if (GraphTypeIndex(static_cast<GraphKind>(t)) == kGraphTypes.size())
                return false;
        return kGraphTypes.size() == kPieGraph + 1;
    }(),
    "every graph type has exactly one entry");

// The type called `name` ("line" ... "pie"), if there is one.
std::optional<GraphKind> GraphTypeNamed(const QString& name);
// What a screen reader hears for `type`: "Line graph".
QString GraphTypeDescription(GraphKind type);
// The names for a help text: "line, curve, bar, stacked or pie".
QString GraphTypeNameList();

} // namespace plotwell
