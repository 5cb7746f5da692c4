// Any bytes as a help page through the converter into a document, with a style sheet and
// pictures looked up in a folder that holds a real JPEG.
#include "core/text_decoding.h"
#include "help/engine/document_rich_text_target.h"
#include "help/engine/html_converter.h"

#include "offscreen_application.h"

#include <cstddef>
#include <cstdint>

using namespace plotwell;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    StartOffscreenApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString html = DecodeText(QByteArrayView(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    DocumentRichTextTarget target;
    LinkList links;
    HTMLToRichText(target, html, true, 0x00FF0000, QStringLiteral(PLOTWELL_FUZZ_DATA "/help"), links, 10);
    return 0;
}
