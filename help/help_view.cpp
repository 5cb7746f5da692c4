#include "help/help_view.h"

#include "core/launcher.h"
#include "core/message_sink.h"
#include "core/text_decoding.h"
#include "dialogs/web_address.h"
#include "help/engine/html_converter.h"
#include "help/engine/html_utils.h"

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

#include <algorithm>

namespace plotwell {

namespace {

const QString kFileNotFound = QStringLiteral("File not found.\r\n\r\n");

// Addresses written in plain text: web and mail addresses with their scheme, "www." names and
// bare e-mail addresses.
const QRegularExpression& AddressPattern()
{
    static const QRegularExpression pattern(
        QStringLiteral(R"((?:https?://|mailto:|www\.)[^\s<>"]+|[A-Za-z0-9._%+-]+@[A-Za-z0-9-]+(?:\.[A-Za-z0-9-]+)+)"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern;
}

// The first family of the list that is installed, else the application's.
QString InstalledFamily(const QStringList& families)
{
    for (const QString& family : families)
        if (QFontDatabase::hasFamily(family))
            return family;
    return QGuiApplication::font().family();
}

} // namespace

HelpView::HelpView(MessageSink& sink, Launcher& launcher, QWidget* parent)
    : QTextEdit(parent), sink_(sink), launcher_(launcher), document_(std::make_unique<QTextDocument>()),
      target_(std::make_unique<DocumentRichTextTarget>(document_.get()))
{
    setDocument(document_.get());
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setAcceptRichText(true);
    setCursorWidth(0);
    viewport()->setMouseTracking(true);
    viewport()->setCursor(Qt::ArrowCursor);
    setAccessibleName(tr("Help text"));
    // Calibri, or the font made to its measures, at 12 points; Tahoma 10 or the system's font at 10 otherwise.
    const QString family = InstalledFamily({QStringLiteral("Calibri"), QStringLiteral("Carlito")});
    if (QFontDatabase::hasFamily(family) && family != QGuiApplication::font().family())
        SetBaseFont(family, 12);
    else
        SetBaseFont(InstalledFamily({QStringLiteral("Tahoma")}), 10);
    Clear();
}

HelpView::~HelpView()
{
    // The view lets go of the document before the document goes.
    setDocument(nullptr);
}

void HelpView::SetBaseFont(const QString& family, int points)
{
    target_->SetBaseFont(family, points);
    QFont f(family);
    f.setPointSize(std::max(points, 1));
    setFont(f);
    document()->setDefaultFont(f);
}

void HelpView::SetBaseFontSize(int points)
{
    if (points > 0)
        SetBaseFont(target_->BaseFormat().name, points);
}

int HelpView::PixelsOf(double cm) const
{
    return qRound(logicalDpiX() * cm / 2.54);
}

std::unique_ptr<DocumentRichTextTarget> HelpView::NewTarget(QTextDocument& document) const
{
    auto target = std::make_unique<DocumentRichTextTarget>(&document);
    const CharacterFormat base = target_->BaseFormat();
    target->SetBaseFont(base.name, base.size);
    target->SetClientSize(viewport()->width(), viewport()->height());
    document.setDefaultFont(this->document()->defaultFont());
    document.setDefaultTextOption(this->document()->defaultTextOption());
    target->Clear();
    target->Paragraph().SetAlignment(kLeftJustify);
    return target;
}

void HelpView::ApplyMargins(QTextDocument& document) const
{
    QTextFrame* root = document.rootFrame();
    QTextFrameFormat format = root->frameFormat();
    const int left = PixelsOf(leftMargin_);
    const int right = PixelsOf(rightMargin_ == -1 ? leftMargin_ : rightMargin_);
    if (format.leftMargin() == left && format.rightMargin() == right && format.topMargin() == 2 &&
        format.bottomMargin() == 2)
        return;
    format.setLeftMargin(left);
    format.setRightMargin(right);
    format.setTopMargin(2);
    format.setBottomMargin(2);
    root->setFrameFormat(format);
}

void HelpView::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    ApplyMargins(*document());
    target_->SetClientSize(viewport()->width(), viewport()->height());
}

void HelpView::showEvent(QShowEvent* event)
{
    QTextEdit::showEvent(event);
    target_->SetClientSize(viewport()->width(), viewport()->height());
}

void HelpView::SetHTML(const QString& html)
{
    html_ = html;
    if (loading_)
        return;
    InputHTML(html, true, QString());
    if (!refreshing_)
        ScrollToTop();
}

void HelpView::InputHTML(const QString& html, bool clearing, const QString& folderforCSS)
{
    // A conversion lets window messages through; a second one must not start inside it.
    if (loading_)
        return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    loading_ = true;
    const auto restore = qScopeGuard([this] {
        QGuiApplication::restoreOverrideCursor();
        loading_ = false;
    });
    const double right = rightMargin_ == -1 ? leftMargin_ : rightMargin_;
    const int marginWidth = PixelsOf(leftMargin_ + right);
    if (clearing) {
        // Laid out once when shown, instead of after every step of the conversion.
        auto document = std::make_unique<QTextDocument>();
        auto target = NewTarget(*document);
        ResetPageState();
        HTMLToRichText(*target, html, false, kLinkColor, folderforCSS, urls_, marginWidth);
        ApplyMargins(*document);
        // The owner places the view for the new contents first, so the page is laid out once.
        UpdateContents();
        if (onPageConverted_)
            onPageConverted_();
        const int scroll = verticalScrollBar()->value();
        setDocument(document.get());
        // The caret's width belongs to the document's layout: the new one must hide it again.
        setCursorWidth(0);
        target_ = std::move(target);
        document_ = std::move(document);
        // Laid out whole now: the caret, scrolling and the character under the pointer need it.
        this->document()->size();
        // A page reloaded while it is read stays where the reader was.
        if (refreshing_)
            verticalScrollBar()->setValue(scroll);
    } else {
        target_->SetClientSize(viewport()->width(), viewport()->height());
        HTMLToRichText(*target_, html, false, kLinkColor, folderforCSS, urls_, marginWidth);
    }
    UpdateContents();
}

bool HelpView::LoadHTMLFromFile(const QString& fname, bool clearing)
{
    const QFileInfo info(fname);
    if (!info.isFile()) {
        sink_.ShowMessage(kFileNotFound + fname);
        return false;
    }
    QFile file(fname);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString text = DecodeText(file.readAll());
    if (!refreshing_)
        ScrollToTop();
    pageFolder_ = info.absolutePath();
    InputHTML(text, clearing, pageFolder_ + u'/');
    if (!refreshing_)
        ScrollToTop();
    return true;
}

void HelpView::Clear()
{
    target_->Clear();
    target_->Paragraph().SetAlignment(kLeftJustify);
    ResetPageState();
    ApplyMargins(*document());
}

void HelpView::ResetPageState()
{
    urls_.clear();
    contents_.clear();
    helpContext_ = 0;
    point_ = 0;
    AddToHistory(0);
    SetStatusText(QString());
}

void HelpView::UpdateContents()
{
    contents_.clear();
    for (const LinkEntry& entry : std::as_const(urls_)) {
        if (entry.info.kind != kContentsLink)
            continue;
        QString name = entry.target;
        while (!name.isEmpty() && name.back().isSpace())
            name.chop(1);
        contents_.append({name, entry.info.start});
    }
}

void HelpView::AddContentsMarker(const QString& alabel)
{
    if (alabel.contains(u'"'))
        return;
    InputHTML(QStringLiteral("<a name=\"Contents:") + alabel + QStringLiteral("\">"), false, QString());
}

void HelpView::AddToHistory(int location)
{
    if (helpContext_ > 0 && history_[0] == location)
        return;
    std::move_backward(history_.begin(), history_.end() - 1, history_.end());
    history_[0] = location;
    helpContext_ = std::min(helpContext_ + 1, kHistorySize);
    point_ = 1;
}

void HelpView::HistoryGoBack()
{
    if (helpContext_ == 0)
        return;
    if (point_ < helpContext_)
        ++point_;
    JumpTo(HistoryEntry(point_));
}

void HelpView::HistoryGoForwards()
{
    if (helpContext_ == 0)
        return;
    if (point_ > 1)
        --point_;
    JumpTo(HistoryEntry(point_));
}

void HelpView::JumpTo(int position)
{
    SetCaretPosition(position);
    ScrollLineToTop(LineOf(position), true, 0);
}

int HelpView::EndPosition() const
{
    return document()->characterCount() - 1;
}

int HelpView::LineCount() const
{
    return document()->blockCount();
}

int HelpView::LineOf(int position) const
{
    return document()->findBlock(std::clamp(position, 0, EndPosition())).blockNumber();
}

int HelpView::CaretPosition() const
{
    return textCursor().position();
}

void HelpView::SetCaretPosition(int position)
{
    // Moving the caret must not scroll: the callers place the view themselves.
    const int scroll = verticalScrollBar()->value();
    QTextCursor cursor(document());
    cursor.setPosition(std::clamp(position, 0, EndPosition()));
    setTextCursor(cursor);
    verticalScrollBar()->setValue(scroll);
}

void HelpView::ScrollLineToTop(int line, bool select, int percent)
{
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    if (select)
        SetCaretPosition(block.position());
    // The first line shows the top margin above it too.
    const int top = block.blockNumber() == 0 ? 0 : qRound(document()->documentLayout()->blockBoundingRect(block).top());
    verticalScrollBar()->setValue(top - qRound(viewport()->height() * percent / 100.0));
}

void HelpView::ScrollToTop()
{
    ScrollLineToTop(0, false, 0);
}

void HelpView::ScrollToBottom()
{
    ScrollLineToTop(LineCount() - 1, true, 0);
}

void HelpView::ScrollToLine(int line)
{
    if (isVisible())
        ScrollLineToTop(line, true, 0);
}

int HelpView::GetScrollLine() const
{
    if (!isVisible())
        return 0;
    const QPointF top(PixelsOf(leftMargin_) + 1, verticalScrollBar()->value() + 1);
    return LineOf(document()->documentLayout()->hitTest(top, Qt::FuzzyHit));
}

void HelpView::ApplyColors(RgbColor color, RgbColor backcol)
{
    TextAttributes attributes = target_->SelAttributes();
    if (color != kUnchangedColor)
        attributes.SetColor(color);
    if (backcol != kUnchangedColor)
        attributes.SetBackColor(backcol);
}

void HelpView::AddMainHeading(const QString& s, RgbColor color, RgbColor backcol)
{
    ParaAttributes paragraph = target_->Paragraph();
    TextAttributes attributes = target_->SelAttributes();
    paragraph.SetAlignment(kCenter);
    attributes.SetSize(attributes.Size() + 7);
    attributes.SetStyle(kBold);
    ApplyColors(color, backcol);
    target_->SetSelText(s);
    attributes.SetSize(attributes.Size() - 7);
    for (int i = 0; i < 3; ++i)
        AddBlankLine();
    paragraph.SetAlignment(kLeftJustify);
}

void HelpView::AddSubHeading(const QString& s, RgbColor color, RgbColor backcol)
{
    TextAttributes attributes = target_->SelAttributes();
    attributes.SetSize(attributes.Size() + 2);
    attributes.SetStyle(italicHeading_ ? kBold | kItalic : FontStyles(kBold));
    ApplyColors(color, backcol);
    target_->SetSelText(s);
    attributes.SetSize(attributes.Size() - 2);
    AddBlankLine();
    AddBlankLine();
}

void HelpView::AddLine(const QString& s, RgbColor color, RgbColor backcol)
{
    target_->SelAttributes().SetStyle({});
    ApplyColors(color, backcol);
    target_->Lines().Add(s);
}

void HelpView::AddText(const QString& s, RgbColor color, RgbColor backcol)
{
    target_->SelAttributes().SetStyle({});
    ApplyColors(color, backcol);
    target_->SetSelText(s);
}

void HelpView::AddBlankLine()
{
    target_->SelAttributes().SetStyle({});
    target_->SetSelText(QStringLiteral("\r\n"));
}

QString HelpView::ConvertLongHTMLStringToStringLiterals(const QString& s)
{
    if (s.isEmpty())
        return {};
    constexpr qsizetype kPiece = 200;
    QString text = s;
    text.remove(u'\n');
    text.replace(u'\r', u' ');
    QString result = QStringLiteral("HTML = \r\n");
    qsizetype from = 0;
    while (text.size() - from > kPiece) {
        qsizetype b = kPiece;
        for (qsizetype i = kPiece; i >= 2; --i) {
            const QChar c = text.at(from + i - 1);
            if (c == u' ' || c == u'>') {
                b = i;
                break;
            }
        }
        QString piece = text.mid(from, b);
        piece.replace(u'\'', QStringLiteral("''"));
        result += u'\'' + piece + QStringLiteral("' +\r\n");
        from += b;
    }
    QString rest = text.mid(from);
    rest.replace(u'\'', QStringLiteral("''"));
    result += u'\'' + rest + QStringLiteral("';\r\n");
    sink_.ShowMessage(QStringLiteral("HTML in string literals has been placed on the clipboard"));
    return result;
}

bool HelpView::HTMLFileToStringLiteralsOnClipboard(const QString& fname)
{
    if (!QFileInfo(fname).isFile()) {
        sink_.ShowMessage(kFileNotFound + fname);
        return false;
    }
    QFile file(fname);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QString literals = ConvertLongHTMLStringToStringLiterals(DecodeText(file.readAll()));
    QGuiApplication::clipboard()->setText(literals);
    return true;
}

int HelpView::CharAt(const QPoint& viewportPoint) const
{
    const QPointF documentPoint(viewportPoint.x() + horizontalScrollBar()->value(),
                                viewportPoint.y() + verticalScrollBar()->value());
    int position = document()->documentLayout()->hitTest(documentPoint, Qt::ExactHit);
    if (position < 0)
        return -1;
    // The hit is the caret position nearest to the point; the character is the one before it
    // when the point lies left of that position.
    QTextCursor cursor(document());
    cursor.setPosition(std::min(position, EndPosition()));
    if (viewportPoint.x() < cursorRect(cursor).x() && position > 0)
        --position;
    return position >= EndPosition() ? -1 : position;
}

namespace {

bool IsUnderlined(const QTextDocument& document, int position)
{
    const QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (position >= fragment.position() && position < fragment.position() + fragment.length())
            return fragment.charFormat().fontUnderline();
    }
    return false;
}

} // namespace

QString HelpView::LinkTargetAt(int c) const
{
    if (c < 0)
        return {};
    for (const LinkEntry& entry : urls_) {
        const LinkInfo& info = entry.info;
        if (info.length > 0 && c >= info.start && c < info.start + info.length)
            return entry.target;
    }
    return autoURLs_ ? AddressInTextAt(c) : QString();
}

QString HelpView::AddressInTextAt(int c, int* start) const
{
    const QTextBlock block = document()->findBlock(c);
    if (!block.isValid())
        return {};
    const int offset = c - block.position();
    auto matches = AddressPattern().globalMatch(block.text());
    while (matches.hasNext()) {
        const QRegularExpressionMatch match = matches.next();
        QString address = match.captured();
        // Punctuation that ends a sentence is not part of the address.
        while (!address.isEmpty() && QStringLiteral(".,;:!?)'").contains(address.back()))
            address.chop(1);
        const int from = static_cast<int>(match.capturedStart());
        if (offset >= from && offset < from + address.size()) {
            if (start)
                *start = block.position() + from;
            return address;
        }
        if (from > offset)
            break;
    }
    return {};
}

bool HelpView::ClickAt(int c)
{
    if (c < 0 || c >= EndPosition())
        return false;
    const int clickPosition = c + 1;
    SetCaretPosition(clickPosition);
    if (IsUnderlined(*document(), c) && FollowPageLink(c, clickPosition))
        return true;
    return FollowAddressInText(c);
}

bool HelpView::FollowPageLink(int c, int clickPosition)
{
    // The link's text is the run of underlined characters on this line that holds c.
    const QTextBlock block = document()->findBlock(c);
    int s = c;
    while (s > block.position() && IsUnderlined(*document(), s - 1))
        --s;
    const auto it = std::find_if(urls_.cbegin(), urls_.cend(), [&](const LinkEntry& e) {
        return e.info.start == s && s <= c && e.info.length != 0 && c < e.info.start + e.info.length;
    });
    if (it == urls_.cend())
        return false;
    const QString target = it->target;
    if (target.startsWith(u'#')) {
        const QString name = target.mid(1);
        const auto anchor = std::find_if(urls_.cbegin(), urls_.cend(), [&](const LinkEntry& e) {
            return e.target.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (anchor != urls_.cend()) {
            JumpTo(anchor->info.start);
            AddToHistory(clickPosition);
            AddToHistory(CaretPosition());
        }
        return true;
    }
    switch (it->info.kind) {
    case kImageLink:
        OpenPageFile(target, QStringLiteral("File (image) not found:\r\n\r\n"));
        break;
    case kFileLink: {
        // "file:///dev/zero" names /dev/zero: the third slash starts the path.
        const QString name = target.startsWith(u"file:///", Qt::CaseInsensitive) ? target.mid(7) : target;
        OpenPageFile(name, QStringLiteral("File not found:\r\n\r\n"));
        break;
    }
    case kUrlLink:
        OpenAddress(target);
        break;
    case kContentsLink:
    case kAnchorLink:
        break;
    }
    return true;
}

void HelpView::OpenPageFile(const QString& name, const QString& notFoundMessage)
{
    // Only a regular file is handed over: no folder, device or pipe, whatever the page names.
    QString path = FindPageFile(name, pageFolder_);
    // A "file:///name" link written for a file beside the page.
    if (path.isEmpty() && name.startsWith(u'/'))
        path = FindPageFile(name.mid(1), pageFolder_);
    if (!path.isEmpty()) {
        launcher_.OpenFile(QFileInfo(path).absoluteFilePath());
        return;
    }
    if (!ReportNotRegular(name))
        sink_.ShowMessage(notFoundMessage + name);
}

bool HelpView::ReportNotRegular(const QString& name)
{
    // Something that is there but is no regular file is named whole, with the reason.
    QStringList places{name};
    if (!pageFolder_.isEmpty() && QFileInfo(name).isRelative())
        places.prepend(QDir(pageFolder_).filePath(name));
    for (const QString& place : std::as_const(places)) {
        const QFileInfo info(place);
        if (info.exists()) {
            sink_.ShowMessage(QStringLiteral("Cannot open file:\r\n\r\n") + QDir::cleanPath(info.absoluteFilePath()) +
                              QStringLiteral("\r\n\r\nnot a regular file"));
            return true;
        }
    }
    return false;
}

void HelpView::OpenAddress(const QString& address)
{
    QString url = address.trimmed();
    if (url.startsWith(u"www.", Qt::CaseInsensitive))
        url.prepend(QStringLiteral("http://"));
    else if (!url.contains(u':') && url.indexOf(u'@') > 0)
        url.prepend(QStringLiteral("mailto:"));
    if (IsOpenableAddress(url)) {
        launcher_.OpenUrl(url);
        return;
    }
    // A page may link to a file beside it by its plain name.
    const QString path = FindPageFile(address, pageFolder_);
    if (!path.isEmpty() && !address.contains(u':')) {
        launcher_.OpenFile(QFileInfo(path).absoluteFilePath());
        return;
    }
    if (!address.contains(u':') && ReportNotRegular(address))
        return;
    SetStatusText(tr("Not opened: only web and e-mail addresses are followed (%1)").arg(address));
}

bool HelpView::FollowAddressInText(int c)
{
    if (!autoURLs_)
        return false;
    int start = 0;
    const QString address = AddressInTextAt(c, &start);
    if (address.isEmpty())
        return false;
    QTextCursor selection(document());
    selection.setPosition(start);
    selection.setPosition(start + static_cast<int>(address.size()), QTextCursor::KeepAnchor);
    const int scroll = verticalScrollBar()->value();
    setTextCursor(selection);
    verticalScrollBar()->setValue(scroll);
    if (onURLClick_) {
        onURLClick_(this, address);
        return true;
    }
    if (address.size() >= 8 && address.at(7) == u'#') {
        const QTextCursor found = document()->find(QStringLiteral("label_000_") + address.mid(7), 0,
                                                   QTextDocument::FindCaseSensitively);
        if (!found.isNull())
            JumpTo(found.selectionStart());
        return true;
    }
    OpenAddress(address);
    return true;
}

void HelpView::SetStatusText(const QString& text)
{
    if (text == statusText_)
        return;
    statusText_ = text;
    if (statusBar_) {
        if (text.isEmpty())
            statusBar_->clearMessage();
        else
            statusBar_->showMessage(text);
    }
    emit linkHovered(text);
}

void HelpView::mouseMoveEvent(QMouseEvent* event)
{
    QTextEdit::mouseMoveEvent(event);
    const QString target = LinkTargetAt(CharAt(event->position().toPoint()));
    viewport()->setCursor(target.isEmpty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
    SetStatusText(target);
}

void HelpView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier)) {
        if (ClickAt(CharAt(event->position().toPoint()))) {
            event->accept();
            return;
        }
    }
    QTextEdit::mousePressEvent(event);
}

void HelpView::focusInEvent(QFocusEvent* event)
{
    QTextEdit::focusInEvent(event);
    if (hideTheCaret_ && window() != this)
        window()->setFocus(Qt::OtherFocusReason);
}

void HelpView::SetHideTheCaret(bool on)
{
    hideTheCaret_ = on;
    if (on && hasFocus() && window() != this)
        window()->setFocus(Qt::OtherFocusReason);
}

} // namespace plotwell
