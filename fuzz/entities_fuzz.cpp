// Any text through the character entity decoder.
#include "help/engine/html_entities.h"

#include <QString>

#include <cstddef>
#include <cstdint>

using namespace plotwell;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    (void)DecodeHTMLEntities(text);
    return 0;
}
