#include "help/engine/rich_text_target.h"

namespace plotwell {

QString TextAttributes::Name() const { return target_.CharFormat(scope_).name; }
int TextAttributes::Size() const { return target_.CharFormat(scope_).size; }
RgbColor TextAttributes::Color() const { return target_.CharFormat(scope_).color; }
FontStyles TextAttributes::Style() const { return target_.CharFormat(scope_).style; }
RgbColor TextAttributes::BackColor() const { return target_.CharFormat(scope_).backColor; }

void TextAttributes::Change(const CharacterFormat& format, CharFields fields)
{
    target_.ChangeCharFormat(scope_, format, fields);
}

void TextAttributes::SetName(const QString& name)
{
    CharacterFormat f;
    f.name = name;
    Change(f, kCharName);
}

void TextAttributes::SetSize(int size)
{
    CharacterFormat f;
    f.size = size;
    Change(f, kCharSize);
}

void TextAttributes::SetColor(RgbColor color)
{
    CharacterFormat f;
    f.color = color;
    Change(f, kCharColor);
}

void TextAttributes::SetStyle(FontStyles style)
{
    CharacterFormat f;
    f.style = style;
    Change(f, kCharStyle);
}

void TextAttributes::SetBackColor(RgbColor color)
{
    CharacterFormat f;
    f.backColor = color;
    Change(f, kCharBackColor);
}

ParagraphAlignment ParaAttributes::Alignment() const { return target_.ParagraphFormat().alignment; }
int ParaAttributes::FirstIndent() const { return target_.ParagraphFormat().firstIndent; }
int ParaAttributes::RightIndent() const { return target_.ParagraphFormat().rightIndent; }

void ParaAttributes::SetAlignment(ParagraphAlignment alignment)
{
    ParagraphStyle f;
    f.alignment = alignment;
    target_.ChangeParagraphFormat(f, kParaAlignment);
}

void ParaAttributes::SetFirstIndent(int points)
{
    ParagraphStyle f;
    f.firstIndent = points;
    target_.ChangeParagraphFormat(f, kParaFirstIndent);
}

void ParaAttributes::SetRightIndent(int points)
{
    ParagraphStyle f;
    f.rightIndent = points;
    target_.ChangeParagraphFormat(f, kParaRightIndent);
}

int TextLines::Count() const { return target_.LineCount(); }
QString TextLines::Strings(int index) const { return target_.LineText(index); }
void TextLines::Add(const QString& line) { target_.AddLine(line); }
void TextLines::BeginUpdate() { target_.BeginUpdate(); }
void TextLines::EndUpdate() { target_.EndUpdate(); }

} // namespace plotwell
