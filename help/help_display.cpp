#include "help/help_display.h"

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

THelpDisplay::THelpDisplay(TMessageSink& sink, TLauncher& launcher, QWidget* parent)
    : QTextEdit(parent), sink_(sink), launcher_(launcher), document_(std::make_unique<QTextDocument>()),
      target_(std::make_unique<TDocumentRichTextTarget>(document_.get()))
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

THelpDisplay::~THelpDisplay()
{
    // The view lets go of the document before the document goes.
    setDocument(nullptr);
}

void THelpDisplay::SetBaseFont(const QString& family, int points)
{
    target_->SetBaseFont(family, points);
    QFont f(family);
    f.setPointSize(std::max(points, 1));
    setFont(f);
    document()->setDefaultFont(f);
}

void THelpDisplay::SetBaseFontSize(int points)
{
    if (points > 0)
        SetBaseFont(target_->BaseFormat().Name, points);
}

int THelpDisplay::PixelsOf(double cm) const
{
    return qRound(logicalDpiX() * cm / 2.54);
}

std::unique_ptr<TDocumentRichTextTarget> THelpDisplay::NewTarget(QTextDocument& document) const
{
    auto target = std::make_unique<TDocumentRichTextTarget>(&document);
    const TCharFormat base = target_->BaseFormat();
    target->SetBaseFont(base.Name, base.Size);
    target->SetClientSize(viewport()->width(), viewport()->height());
    document.setDefaultFont(this->document()->defaultFont());
    document.setDefaultTextOption(this->document()->defaultTextOption());
    target->Clear();
    target->Paragraph().SetAlignment(paLeftJustify);
    return target;
}

void THelpDisplay::ApplyMargins(QTextDocument& document) const
{
    QTextFrame* root = document.rootFrame();
    QTextFrameFormat format = root->frameFormat();
    const int left = PixelsOf(FLeftMargin);
    const int right = PixelsOf(FRightMargin == -1 ? FLeftMargin : FRightMargin);
    if (format.leftMargin() == left && format.rightMargin() == right && format.topMargin() == 2 &&
        format.bottomMargin() == 2)
        return;
    format.setLeftMargin(left);
    format.setRightMargin(right);
    format.setTopMargin(2);
    format.setBottomMargin(2);
    root->setFrameFormat(format);
}

void THelpDisplay::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    ApplyMargins(*document());
    target_->SetClientSize(viewport()->width(), viewport()->height());
}

void THelpDisplay::showEvent(QShowEvent* event)
{
    QTextEdit::showEvent(event);
    target_->SetClientSize(viewport()->width(), viewport()->height());
}

void THelpDisplay::SetHTML(const QString& html)
{
    FHTML = html;
    if (loading_)
        return;
    InputHTML(html, true, QString());
    if (!FRefreshing)
        ScrollToTop();
}

void THelpDisplay::InputHTML(const QString& html, bool clearing, const QString& folderforCSS)
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
    const double right = FRightMargin == -1 ? FLeftMargin : FRightMargin;
    const int marginWidth = PixelsOf(FLeftMargin + right);
    if (clearing) {
        // Laid out once when shown, instead of after every step of the conversion.
        auto document = std::make_unique<QTextDocument>();
        auto target = NewTarget(*document);
        ResetPageState();
        HTMLToRichText(*target, html, false, kLinkColor, folderforCSS, FURLs, marginWidth);
        ApplyMargins(*document);
        // The owner places the view for the new contents first, so the page is laid out once.
        UpdateContents();
        if (FOnPageConverted)
            FOnPageConverted();
        const int scroll = verticalScrollBar()->value();
        setDocument(document.get());
        // The caret's width belongs to the document's layout: the new one must hide it again.
        setCursorWidth(0);
        target_ = std::move(target);
        document_ = std::move(document);
        // Laid out whole now: the caret, scrolling and the character under the pointer need it.
        this->document()->size();
        // A page reloaded while it is read stays where the reader was.
        if (FRefreshing)
            verticalScrollBar()->setValue(scroll);
    } else {
        target_->SetClientSize(viewport()->width(), viewport()->height());
        HTMLToRichText(*target_, html, false, kLinkColor, folderforCSS, FURLs, marginWidth);
    }
    UpdateContents();
}

bool THelpDisplay::LoadHTMLFromFile(const QString& fname, bool clearing)
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
    if (!FRefreshing)
        ScrollToTop();
    pageFolder_ = info.absolutePath();
    InputHTML(text, clearing, pageFolder_ + u'/');
    if (!FRefreshing)
        ScrollToTop();
    return true;
}

void THelpDisplay::Clear()
{
    target_->Clear();
    target_->Paragraph().SetAlignment(paLeftJustify);
    ResetPageState();
    ApplyMargins(*document());
}

void THelpDisplay::ResetPageState()
{
    FURLs.clear();
    FContents.clear();
    FHCt = 0;
    FPt = 0;
    AddToHistory(0);
    SetStatusText(QString());
}

void THelpDisplay::UpdateContents()
{
    FContents.clear();
    for (const TLinkEntry& entry : std::as_const(FURLs)) {
        if (entry.Info.Kind != lkContents)
            continue;
        QString name = entry.Target;
        while (!name.isEmpty() && name.back().isSpace())
            name.chop(1);
        FContents.append({name, entry.Info.Start});
    }
}

void THelpDisplay::AddContentsMarker(const QString& alabel)
{
    if (alabel.contains(u'"'))
        return;
    InputHTML(QStringLiteral("<a name=\"Contents:") + alabel + QStringLiteral("\">"), false, QString());
}

void THelpDisplay::AddToHistory(int location)
{
    if (FHCt > 0 && FHistory[0] == location)
        return;
    std::move_backward(FHistory.begin(), FHistory.end() - 1, FHistory.end());
    FHistory[0] = location;
    FHCt = std::min(FHCt + 1, kHistorySize);
    FPt = 1;
}

void THelpDisplay::HistoryGoBack()
{
    if (FHCt == 0)
        return;
    if (FPt < FHCt)
        ++FPt;
    JumpTo(HistoryEntry(FPt));
}

void THelpDisplay::HistoryGoForwards()
{
    if (FHCt == 0)
        return;
    if (FPt > 1)
        --FPt;
    JumpTo(HistoryEntry(FPt));
}

void THelpDisplay::JumpTo(int position)
{
    SetCaretPosition(position);
    ScrollLineToTop(LineOf(position), true, 0);
}

int THelpDisplay::EndPosition() const
{
    return document()->characterCount() - 1;
}

int THelpDisplay::LineCount() const
{
    return document()->blockCount();
}

int THelpDisplay::LineOf(int position) const
{
    return document()->findBlock(std::clamp(position, 0, EndPosition())).blockNumber();
}

int THelpDisplay::CaretPosition() const
{
    return textCursor().position();
}

void THelpDisplay::SetCaretPosition(int position)
{
    // Moving the caret must not scroll: the callers place the view themselves.
    const int scroll = verticalScrollBar()->value();
    QTextCursor cursor(document());
    cursor.setPosition(std::clamp(position, 0, EndPosition()));
    setTextCursor(cursor);
    verticalScrollBar()->setValue(scroll);
}

void THelpDisplay::ScrollLineToTop(int line, bool select, int percent)
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

void THelpDisplay::ScrollToTop()
{
    ScrollLineToTop(0, false, 0);
}

void THelpDisplay::ScrollToBottom()
{
    ScrollLineToTop(LineCount() - 1, true, 0);
}

void THelpDisplay::ScrollToLine(int line)
{
    if (isVisible())
        ScrollLineToTop(line, true, 0);
}

int THelpDisplay::GetScrollLine() const
{
    if (!isVisible())
        return 0;
    const QPointF top(PixelsOf(FLeftMargin) + 1, verticalScrollBar()->value() + 1);
    return LineOf(document()->documentLayout()->hitTest(top, Qt::FuzzyHit));
}

void THelpDisplay::ApplyColors(TColor color, TColor backcol)
{
    TTextAttributes attributes = target_->SelAttributes();
    if (color != kUnchangedColor)
        attributes.SetColor(color);
    if (backcol != kUnchangedColor)
        attributes.SetBackColor(backcol);
}

void THelpDisplay::AddMainHeading(const QString& s, TColor color, TColor backcol)
{
    TParaAttributes paragraph = target_->Paragraph();
    TTextAttributes attributes = target_->SelAttributes();
    paragraph.SetAlignment(paCenter);
    attributes.SetSize(attributes.Size() + 7);
    attributes.SetStyle(fsBold);
    ApplyColors(color, backcol);
    target_->SetSelText(s);
    attributes.SetSize(attributes.Size() - 7);
    for (int i = 0; i < 3; ++i)
        AddBlankLine();
    paragraph.SetAlignment(paLeftJustify);
}

void THelpDisplay::AddSubHeading(const QString& s, TColor color, TColor backcol)
{
    TTextAttributes attributes = target_->SelAttributes();
    attributes.SetSize(attributes.Size() + 2);
    attributes.SetStyle(FItalicHeading ? fsBold | fsItalic : TFontStyles(fsBold));
    ApplyColors(color, backcol);
    target_->SetSelText(s);
    attributes.SetSize(attributes.Size() - 2);
    AddBlankLine();
    AddBlankLine();
}

void THelpDisplay::AddLine(const QString& s, TColor color, TColor backcol)
{
    target_->SelAttributes().SetStyle({});
    ApplyColors(color, backcol);
    target_->Lines().Add(s);
}

void THelpDisplay::AddText(const QString& s, TColor color, TColor backcol)
{
    target_->SelAttributes().SetStyle({});
    ApplyColors(color, backcol);
    target_->SetSelText(s);
}

void THelpDisplay::AddBlankLine()
{
    target_->SelAttributes().SetStyle({});
    target_->SetSelText(QStringLiteral("\r\n"));
}

QString THelpDisplay::ConvertLongHTMLStringToStringLiterals(const QString& s)
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

bool THelpDisplay::HTMLFileToStringLiteralsOnClipboard(const QString& fname)
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

int THelpDisplay::CharAt(const QPoint& viewportPoint) const
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

QString THelpDisplay::LinkTargetAt(int c) const
{
    if (c < 0)
        return {};
    for (const TLinkEntry& entry : FURLs) {
        const TLinkInfo& info = entry.Info;
        if (info.Length > 0 && c >= info.Start && c < info.Start + info.Length)
            return entry.Target;
    }
    return FAutoURLs ? AddressInTextAt(c) : QString();
}

QString THelpDisplay::AddressInTextAt(int c, int* start) const
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

bool THelpDisplay::ClickAt(int c)
{
    if (c < 0 || c >= EndPosition())
        return false;
    const int clickPosition = c + 1;
    SetCaretPosition(clickPosition);
    if (IsUnderlined(*document(), c) && FollowPageLink(c, clickPosition))
        return true;
    return FollowAddressInText(c);
}

bool THelpDisplay::FollowPageLink(int c, int clickPosition)
{
    // The link's text is the run of underlined characters on this line that holds c.
    const QTextBlock block = document()->findBlock(c);
    int s = c;
    while (s > block.position() && IsUnderlined(*document(), s - 1))
        --s;
    const auto it = std::find_if(FURLs.cbegin(), FURLs.cend(), [&](const TLinkEntry& e) {
        return e.Info.Start == s && s <= c && e.Info.Length != 0 && c < e.Info.Start + e.Info.Length;
    });
    if (it == FURLs.cend())
        return false;
    const QString target = it->Target;
    if (target.startsWith(u'#')) {
        const QString name = target.mid(1);
        const auto anchor = std::find_if(FURLs.cbegin(), FURLs.cend(), [&](const TLinkEntry& e) {
            return e.Target.compare(name, Qt::CaseInsensitive) == 0;
        });
        if (anchor != FURLs.cend()) {
            JumpTo(anchor->Info.Start);
            AddToHistory(clickPosition);
            AddToHistory(CaretPosition());
        }
        return true;
    }
    switch (it->Info.Kind) {
    case lkImage:
        OpenPageFile(target, QStringLiteral("File (image) not found:\r\n\r\n"));
        break;
    case lkFile: {
        // "file:///dev/zero" names /dev/zero: the third slash starts the path.
        const QString name = target.startsWith(u"file:///", Qt::CaseInsensitive) ? target.mid(7) : target;
        OpenPageFile(name, QStringLiteral("File not found:\r\n\r\n"));
        break;
    }
    case lkURL:
        OpenAddress(target);
        break;
    case lkContents:
    case lkAnchor:
        break;
    }
    return true;
}

void THelpDisplay::OpenPageFile(const QString& name, const QString& notFoundMessage)
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

bool THelpDisplay::ReportNotRegular(const QString& name)
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

void THelpDisplay::OpenAddress(const QString& address)
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

bool THelpDisplay::FollowAddressInText(int c)
{
    if (!FAutoURLs)
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
    if (FOnURLClick) {
        FOnURLClick(this, address);
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

void THelpDisplay::SetStatusText(const QString& text)
{
    if (text == statusText_)
        return;
    statusText_ = text;
    if (FStatusBar) {
        if (text.isEmpty())
            FStatusBar->clearMessage();
        else
            FStatusBar->showMessage(text);
    }
    emit linkHovered(text);
}

void THelpDisplay::mouseMoveEvent(QMouseEvent* event)
{
    QTextEdit::mouseMoveEvent(event);
    const QString target = LinkTargetAt(CharAt(event->position().toPoint()));
    viewport()->setCursor(target.isEmpty() ? Qt::ArrowCursor : Qt::PointingHandCursor);
    SetStatusText(target);
}

void THelpDisplay::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !(event->modifiers() & Qt::ShiftModifier)) {
        if (ClickAt(CharAt(event->position().toPoint()))) {
            event->accept();
            return;
        }
    }
    QTextEdit::mousePressEvent(event);
}

void THelpDisplay::focusInEvent(QFocusEvent* event)
{
    QTextEdit::focusInEvent(event);
    if (FHideTheCaret && window() != this)
        window()->setFocus(Qt::OtherFocusReason);
}

void THelpDisplay::SetHideTheCaret(bool on)
{
    FHideTheCaret = on;
    if (on && hasFocus() && window() != this)
        window()->setFocus(Qt::OtherFocusReason);
}

} // namespace plotwell
