#pragma once
// A rich text target for the help engine tests: a 600-pixel wide text area whose interface font
// is 7 pixels a character, and readers of what the converter wrote.

#include "help/engine/document_rich_text_target.h"
#include "help/engine/html_converter.h"

#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

namespace plotwell {

class HelpTestTarget : public DocumentRichTextTarget
{
public:
    static constexpr int kUnderscoreWidth = 7;

    HelpTestTarget()
    {
        SetBaseFont(QStringLiteral("DejaVu Sans"), 12);
        SetClientSize(600, 400);
    }

    int UITextWidth(const QString& text) const override { return kUnderscoreWidth * static_cast<int>(text.size()); }

    // Converts a page into the target with a blue link colour and no margins.
    LinkList Convert(const QString& html, const QString& pageFolder = QString())
    {
        LinkList urls;
        HTMLToRichText(*this, html, false, kLinkColor, pageFolder, urls, 0);
        return urls;
    }

    QStringList Paragraphs() const
    {
        QStringList result;
        for (QTextBlock b = Document()->begin(); b.isValid(); b = b.next())
            result.append(b.text());
        return result;
    }

    QString PlainText() const { return Paragraphs().join(u'\n'); }

    // The format of the character at a position.
    CharacterFormat FormatAt(int position) const
    {
        const QTextBlock block = Document()->findBlock(position);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (position >= f.position() && position < f.position() + f.length())
                return ReadFormat(f.charFormat());
        }
        return ReadFormat(block.charFormat());
    }

    // The format of the first occurrence of a text.
    CharacterFormat FormatOf(const QString& text) const
    {
        return FormatAt(static_cast<int>(Document()->toPlainText().indexOf(text)));
    }

    int IndentOfParagraph(int index) const
    {
        return Document()->findBlockByNumber(index).blockFormat().intProperty(kFirstIndentProperty);
    }

    ParagraphAlignment AlignmentOfParagraph(int index) const
    {
        const Qt::Alignment a = Document()->findBlockByNumber(index).blockFormat().alignment();
        return a & Qt::AlignRight ? kRightJustify : a & Qt::AlignHCenter ? kCenter : kLeftJustify;
    }

    static constexpr RgbColor kLinkColor = RGBToColor(0, 0, 255);
};

} // namespace plotwell
