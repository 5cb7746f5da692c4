#pragma once
// Turns one line of point text into one new series of a PlotModel, with the exact message
// and character position of the first fault.

#include "core/text_decoding.h"

#include <cstddef>

namespace plotwell {

class PlotModel;

// Parses `size` bytes of text (UTF-8 or Windows-1252; positions in messages count
// characters). Returns true when a series with at least one point was added and accepted.
// On a fault in the text the message is in the model's inputerror, and it is shown through
// the model's sink when `displayerror` is true.
bool AddSeriesFromBytes(PlotModel& model, const char* data, std::size_t size, TextEncoding encoding, bool displayerror);

} // namespace plotwell
