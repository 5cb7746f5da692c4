#pragma once
// Which addresses a link may hand to the desktop: only web pages and e-mail, so that a page or a
// label cannot start other programs through the desktop's handlers of other schemes.

#include <QString>

namespace plotwell {

// True for an address whose scheme is http, https or mailto (any letter case).
bool IsOpenableAddress(const QString& address);

} // namespace plotwell
