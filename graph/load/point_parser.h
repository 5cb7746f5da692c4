#pragma once
// Turns one line of point text into one new series of a PlotModel, with the exact message
// and character position of the first fault.

#include "core/text_decoding.h"

#include <QString>

#include <cstddef>
#include <functional>

namespace plotwell {

class PlotModel;

// Parses `size` bytes of text (UTF-8 or Windows-1252; positions in messages count
// characters). Returns true when a series with at least one point was added and accepted.
// On a fault in the text the message is in the model's inputerror, and it is shown through
// the model's sink when `displayerror` is true.
// `progress`, when set, hears every few megabytes how far the parse has read; nothing before
// that place is read again, so the caller can let go of the memory behind it while a long
// line is still parsed.
using ReadProgress = std::function<void(const char* readUpTo)>;
// Bytes read between two calls of a ReadProgress.
inline constexpr std::size_t kReadProgressStep = std::size_t(8) << 20;

bool AddSeriesFromBytes(PlotModel& model, const char* data, std::size_t size, TextEncoding encoding, bool displayerror,
                        const ReadProgress& progress = {});

// Adds one series from a line of point text ("1 2 3", "(1, 2) (3, 4) ;Name"); the model
// announces it once.
bool AddSeriesFromString(PlotModel& model, const QString& s, bool displayerror);

} // namespace plotwell
