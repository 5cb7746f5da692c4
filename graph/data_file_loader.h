#pragma once
// Loads a data file into a PlotModel: one series per data line, messages that name the line.

#include <QString>

namespace plotwell {

class PlotModel;

class DataFileLoader
{
public:
    explicit DataFileLoader(PlotModel& model) : model_(model) {}

    // Writing the model's file name: missing file -> message, else clear, load and title.
    void SetFileName(const QString& path);

private:
    void LoadFile();
    PlotModel& model_;
};

// The title for a loaded file: "example points 1 - simple series.txt" gives
// "Example Points 1 - Simple Series".
QString TitleFromFileName(const QString& path);

} // namespace plotwell
