#pragma once
// DocumentRichTextTarget: the rich text target over a QTextDocument and a QTextCursor, usable
// without any window.

#include "help/engine/rich_text_target.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextFormat>

#include <memory>

class QTextDocument;

namespace plotwell {

class DocumentRichTextTarget : public RichTextTarget
{
public:
    // Block format properties that keep the paragraph indents in points, as they were set.
    static constexpr int kFirstIndentProperty = QTextFormat::UserProperty + 1;
    static constexpr int kRightIndentProperty = QTextFormat::UserProperty + 2;
    // Largest font size in points; smaller than 1 point counts as 1.
    static constexpr int kMaxFontSize = 1638;

    // Writes into `document`, which must outlive the target; without one the target has its own.
    explicit DocumentRichTextTarget(QTextDocument* document = nullptr);
    ~DocumentRichTextTarget() override;
    DocumentRichTextTarget(const DocumentRichTextTarget&) = delete;
    DocumentRichTextTarget& operator=(const DocumentRichTextTarget&) = delete;

    QTextDocument* Document() const { return doc_; }

    // The insertion format of an empty text, also after Clear.
    CharacterFormat BaseFormat() const { return base_; }
    void SetBaseFont(const QString& name, int size);
    void SetClientSize(int width, int height);

    void SetSelText(const QString& text) override;
    int SelStart() const override;
    void SetSelStart(int position) override;
    int SelLength() const override;
    void SetSelLength(int length) override;

    int LineFromChar(int position) const override;
    void Clear() override;
    bool ReadOnly() const override { return readOnly_; }
    void SetReadOnly(bool readOnly) override { readOnly_ = readOnly; }
    void InsertImage(const QImage& image) override;
    int ClientWidth() const override { return clientWidth_; }
    int ClientHeight() const override { return clientHeight_; }
    int UITextWidth(const QString& text) const override;

    // The character format as the document stores it, read back as a CharacterFormat.
    CharacterFormat ReadFormat(const QTextCharFormat& format) const;

protected:
    CharacterFormat CharFormat(AttributeScope scope) const override;
    void ChangeCharFormat(AttributeScope scope, const CharacterFormat& format, CharFields fields) override;
    ParagraphStyle ParagraphFormat() const override;
    void ChangeParagraphFormat(const ParagraphStyle& format, ParaFields fields) override;
    int LineCount() const override;
    QString LineText(int index) const override;
    void AddLine(const QString& line) override;
    void BeginUpdate() override;
    void EndUpdate() override;

private:
    int EndPosition() const;
    QTextCharFormat FormatAt(int position) const;
    void ChangeRange(int start, int end, const CharacterFormat& format, CharFields fields);
    void InsertPlain(const QString& text);

    std::unique_ptr<QTextDocument> owned_;
    QTextDocument* doc_;
    QTextCursor cursor_;
    // What the next inserted text looks like; kept here because a QTextCursor forgets its own
    // whenever it moves.
    QTextCharFormat insertFormat_;
    CharacterFormat base_;
    int clientWidth_ = 640;
    int clientHeight_ = 480;
    bool readOnly_ = false;
    int updateDepth_ = 0;
    int imageCount_ = 0;
};

} // namespace plotwell
