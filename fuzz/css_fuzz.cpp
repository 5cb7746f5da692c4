// Any text as a style sheet, then applied and queried as the converter does.
#include "help/engine/css_processing.h"
#include "help/engine/document_rich_text_target.h"

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
    const QString sheet = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    StyleSheet css;
    css.LoadCSSFromString(sheet);
    DocumentRichTextTarget target;
    for (const char* element : {"P", "H1", "BODY", "A", "LI"}) {
        css.DoCSS(target, QStringLiteral("note"), QStringLiteral("top"), QString::fromLatin1(element));
        (void)css.GetValueFromCSS(QString::fromLatin1(element), QStringLiteral("COLOR"), QString());
        (void)css.GetValueFromCSS(QString::fromLatin1(element), QStringLiteral("FONT-SIZE"), QStringLiteral("#"));
    }
    css.Debug_OutputAllCSSToRichEdit(target);
    return 0;
}
