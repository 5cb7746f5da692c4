#pragma once
// The launcher of the windowed program: the desktop's default applications (QDesktopServices,
// which on Linux hands the file or address to xdg-open). No shell command line is built.

#include "core/launcher.h"

namespace plotwell {

class TDesktopLauncher : public TLauncher
{
public:
    bool OpenFile(const QString& path) override;
    bool OpenUrl(const QString& url) override;
};

} // namespace plotwell
