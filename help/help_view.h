#pragma once
// HelpView: the read-only rich text view that shows help pages, follows their links, keeps a
// history of positions and lists the page's contents markers.

#include "core/color.h"
#include "help/engine/document_rich_text_target.h"
#include "help/engine/link_info.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QTextEdit>

#include <array>
#include <functional>
#include <memory>

#include <QStatusBar>

namespace plotwell {

class Launcher;
class MessageSink;
class HelpView;

// One contents marker of the page: its name and the character position it marks.
struct ContentsEntry
{
    QString name;
    int start = 0;
};

// Called instead of opening an address found in plain text: the view and the link text.
using URLClickEvent = std::function<void(HelpView* Sender, const QString& URL)>;

// A colour argument of the building operations that leaves the colour as it is.
constexpr RgbColor kUnchangedColor = 99999;

class HelpView : public QTextEdit
{
    Q_OBJECT

public:
    static constexpr int kHistorySize = 10;
    // Links and picture placeholders are blue.
    static constexpr RgbColor kLinkColor = 0x00FF0000;

    // Messages go to `sink`, links open through `launcher`; both must outlive the view.
    HelpView(MessageSink& sink, Launcher& launcher, QWidget* parent = nullptr);
    ~HelpView() override;

    QString HTML() const { return html_; }
    void SetHTML(const QString& html);
    bool ItalicHeading() const { return italicHeading_; }
    void SetItalicHeading(bool on) { italicHeading_ = on; }
    // Called when a new page is converted, with its contents known, just before it is shown.
    void SetOnPageConverted(std::function<void()> handler) { onPageConverted_ = std::move(handler); }
    URLClickEvent OnURLClick() const { return onURLClick_; }
    void SetOnURLClick(URLClickEvent handler) { onURLClick_ = std::move(handler); }
    double LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(double cm) { leftMargin_ = cm; }
    double RightMargin() const { return rightMargin_; }
    void SetRightMargin(double cm) { rightMargin_ = cm; }
    bool AutoURLs() const { return autoURLs_; }
    void SetAutoURLs(bool on) { autoURLs_ = on; }
    const QList<ContentsEntry>& Contents() const { return contents_; }
    bool HideTheCaret() const { return hideTheCaret_; }
    void SetHideTheCaret(bool on);
    bool AllowCopy() const { return allowCopy_; }
    void SetAllowCopy(bool on) { allowCopy_ = on; }
    QStatusBar* StatusBar() const { return statusBar_; }
    void SetStatusBar(QStatusBar* bar) { statusBar_ = bar; }
    int ScrollLine() const { return GetScrollLine(); }
    void SetScrollLine(int line) { ScrollToLine(line); }
    bool Refreshing() const { return refreshing_; }
    void SetRefreshing(bool on) { refreshing_ = on; }
    // The base font: what text takes after Clear.
    void SetBaseFont(const QString& family, int points);
    void SetBaseFontSize(int points);
    int BaseFontSize() const { return target_->BaseFormat().size; }

    // The page's links, anchors, contents markers and missing pictures.
    const LinkList& URLs() const { return urls_; }
    // Where the page's relative file names are looked for: the folder of the last file loaded.
    QString PageFolder() const { return pageFolder_; }
    // The rich text operations over the view's document.
    DocumentRichTextTarget& Target() { return *target_; }
    bool Loading() const { return loading_; }

    void InputHTML(const QString& html, bool clearing, const QString& folderforCSS);
    // Loads a page file (UTF-8 when valid, otherwise Windows-1252); false when it is missing.
    bool LoadHTMLFromFile(const QString& fname, bool clearing);
    // Empties the text, the link list and the contents; the history holds position 0 alone.
    void Clear();
    void UpdateContents();
    void AddContentsMarker(const QString& alabel);

    void AddToHistory(int location);
    void HistoryGoBack();
    void HistoryGoForwards();
    int HistoryCount() const { return helpContext_; }
    // The current entry, 1 for the newest.
    int HistoryIndex() const { return point_; }
    // Entry `index`, 1 for the newest.
    int HistoryEntry(int index) const { return history_[static_cast<size_t>(index - 1)]; }

    void ScrollToTop();
    void ScrollToBottom();
    int GetScrollLine() const;
    void ScrollToLine(int line);
    // Brings `line` to `percent` of the view's height from its top; with `select` the caret goes
    // to the line's start.
    void ScrollLineToTop(int line, bool select, int percent);
    int LineCount() const;
    // The line that holds a character position.
    int LineOf(int position) const;
    // The caret: where history moves, links and jumps leave it.
    int CaretPosition() const;
    void SetCaretPosition(int position);

    void AddMainHeading(const QString& s, RgbColor color = kUnchangedColor, RgbColor backcol = kUnchangedColor);
    void AddSubHeading(const QString& s, RgbColor color = kUnchangedColor, RgbColor backcol = kUnchangedColor);
    void AddLine(const QString& s, RgbColor color = kUnchangedColor, RgbColor backcol = kUnchangedColor);
    void AddText(const QString& s, RgbColor color = kUnchangedColor, RgbColor backcol = kUnchangedColor);
    void AddBlankLine();

    // A developer aid: a page as string literals of source code.
    QString ConvertLongHTMLStringToStringLiterals(const QString& s);
    bool HTMLFileToStringLiteralsOnClipboard(const QString& fname);

    // The character under a point of the viewport, or -1 for none.
    int CharAt(const QPoint& viewportPoint) const;
    // What a click on a character does: follows the page link there, or the address found in the
    // plain text there. True when there was a link.
    bool ClickAt(int c);
    // The target of the page link shown at a character, or empty.
    QString LinkTargetAt(int c) const;

signals:
    // The status bar text changed (a link's target, or empty off links).
    void linkHovered(const QString& target);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int PixelsOf(double cm) const;
    void ApplyMargins(QTextDocument& document) const;
    std::unique_ptr<DocumentRichTextTarget> NewTarget(QTextDocument& document) const;
    void ResetPageState();
    void ApplyColors(RgbColor color, RgbColor backcol);
    void SetStatusText(const QString& text);
    bool FollowPageLink(int c, int clickPosition);
    bool FollowAddressInText(int c);
    // An address written in plain text around a character, with where it starts; empty for none.
    QString AddressInTextAt(int c, int* start = nullptr) const;
    void JumpTo(int position);
    void OpenPageFile(const QString& name, const QString& notFoundMessage);
    // A message when `name` (beside the page, or as given) is there but is no regular file.
    bool ReportNotRegular(const QString& name);
    void OpenAddress(const QString& address);
    int EndPosition() const;

    MessageSink& sink_;
    Launcher& launcher_;
    // The shown document and the target that writes into it. A page that replaces the text is
    // built in a new document, away from the view's layout, and then shown.
    std::unique_ptr<QTextDocument> document_;
    std::unique_ptr<DocumentRichTextTarget> target_;
    QString html_;
    bool italicHeading_ = true;
    URLClickEvent onURLClick_;
    std::function<void()> onPageConverted_;
    double leftMargin_ = 0.3;
    double rightMargin_ = 0.9;
    bool autoURLs_ = true;
    QList<ContentsEntry> contents_;
    bool hideTheCaret_ = true;
    bool allowCopy_ = true;
    QPointer<QStatusBar> statusBar_;
    bool refreshing_ = false;
    LinkList urls_;
    std::array<int, kHistorySize> history_{};
    int helpContext_ = 0;
    int point_ = 0;
    bool loading_ = false;
    QString pageFolder_;
    QString statusText_;
};

} // namespace plotwell
