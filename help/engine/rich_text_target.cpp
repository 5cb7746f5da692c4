#include "help/engine/rich_text_target.h"

namespace plotwell {

QString TTextAttributes::Name() const { return target_.CharFormat(scope_).Name; }
int TTextAttributes::Size() const { return target_.CharFormat(scope_).Size; }
TColor TTextAttributes::Color() const { return target_.CharFormat(scope_).Color; }
TFontStyles TTextAttributes::Style() const { return target_.CharFormat(scope_).Style; }
TColor TTextAttributes::BackColor() const { return target_.CharFormat(scope_).BackColor; }

void TTextAttributes::Change(const TCharFormat& format, TCharFields fields)
{
    target_.ChangeCharFormat(scope_, format, fields);
}

void TTextAttributes::SetName(const QString& name)
{
    TCharFormat f;
    f.Name = name;
    Change(f, cfName);
}

void TTextAttributes::SetSize(int size)
{
    TCharFormat f;
    f.Size = size;
    Change(f, cfSize);
}

void TTextAttributes::SetColor(TColor color)
{
    TCharFormat f;
    f.Color = color;
    Change(f, cfColor);
}

void TTextAttributes::SetStyle(TFontStyles style)
{
    TCharFormat f;
    f.Style = style;
    Change(f, cfStyle);
}

void TTextAttributes::SetBackColor(TColor color)
{
    TCharFormat f;
    f.BackColor = color;
    Change(f, cfBackColor);
}

TAlignment TParaAttributes::Alignment() const { return target_.ParagraphFormat().Alignment; }
int TParaAttributes::FirstIndent() const { return target_.ParagraphFormat().FirstIndent; }
int TParaAttributes::RightIndent() const { return target_.ParagraphFormat().RightIndent; }

void TParaAttributes::SetAlignment(TAlignment alignment)
{
    TParagraphFormat f;
    f.Alignment = alignment;
    target_.ChangeParagraphFormat(f, pfAlignment);
}

void TParaAttributes::SetFirstIndent(int points)
{
    TParagraphFormat f;
    f.FirstIndent = points;
    target_.ChangeParagraphFormat(f, pfFirstIndent);
}

void TParaAttributes::SetRightIndent(int points)
{
    TParagraphFormat f;
    f.RightIndent = points;
    target_.ChangeParagraphFormat(f, pfRightIndent);
}

int TTextLines::Count() const { return target_.LineCount(); }
QString TTextLines::Strings(int index) const { return target_.LineText(index); }
void TTextLines::Add(const QString& line) { target_.AddLine(line); }
void TTextLines::BeginUpdate() { target_.BeginUpdate(); }
void TTextLines::EndUpdate() { target_.EndUpdate(); }

} // namespace plotwell
