#include "help/help_window.h"

#include "core/message_sink.h"
#include "dialogs/find_dialog.h"
#include "dialogs/message_utils.h"
#include "dialogs/about_dialog.h"
#include "help/help_display.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSizeGrip>
#include <QStatusBar>
#include <QStyle>
#include <QTextBlock>
#include <QToolButton>
#include <QWheelEvent>

#include <algorithm>

namespace plotwell {

namespace {

constexpr int kStatusBarHeight = 19;
constexpr int kContentsItemHeight = 14;

QFont NamedFont(const QString& family, int points)
{
    QFont f = QApplication::font();
    if (QFontDatabase::hasFamily(family))
        f.setFamily(family);
    f.setPointSize(points);
    return f;
}

QToolButton* FlatButton(QWidget* parent, const QString& name, const QString& text, const QString& hint, const QRect& r)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setText(text);
    button->setToolTip(hint);
    button->setAccessibleName(QString(text).remove(u'&'));
    button->setAccessibleDescription(hint);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->setGeometry(r);
    return button;
}

} // namespace

Thelpdialog::Thelpdialog(TMessageSink& sink, TLauncher& launcher, QWidget* parent)
    : QDialog(parent), sink_(sink), FColor(FromQColor(QApplication::palette().color(QPalette::Base)))
{
    setObjectName(QStringLiteral("helpdialog"));
    setWindowTitle(tr("Help Dialog"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    setFont(NamedFont(QStringLiteral("Tahoma"), 8));
    resize(kClientWidth, kClientHeight);
    setMinimumSize(500, 400);

    contentslabel = new QLabel(tr("Contents:"), this);
    contentslabel->setObjectName(QStringLiteral("contentslabel"));
    contentslabel->move(16, 8);
    contentslabel->adjustSize();

    contentslb = new QListWidget(this);
    contentslb->setObjectName(QStringLiteral("contentslb"));
    contentslb->setAccessibleName(tr("Contents"));
    contentslb->setFont(NamedFont(QStringLiteral("Tahoma"), 9));
    contentslb->setUniformItemSizes(true);
    contentslb->setGeometry(16, 22, 153, 417);
    contentslabel->setBuddy(contentslb);

    HelpDisplay = new THelpDisplay(sink, launcher, this);
    HelpDisplay->setObjectName(QStringLiteral("HelpDisplay"));
    HelpDisplay->setGeometry(184, 22, 481, 417);
    HelpDisplay->SetHideTheCaret(false);
    HelpDisplay->SetOnPageConverted([this] { ShowContents(); });

    backbtn = FlatButton(this, QStringLiteral("backbtn"), QStringLiteral("<"), tr("Go back"), QRect(229, 462, 23, 18));
    Forwardsbtn = FlatButton(this, QStringLiteral("Forwardsbtn"), QStringLiteral(">"), tr("Go forwards"),
                             QRect(265, 462, 23, 18));
    copybtn = FlatButton(this, QStringLiteral("copybtn"), tr("Co&py"), tr("Copy displayed text to clipboard"),
                         QRect(356, 462, 44, 18));
    findbtn = FlatButton(this, QStringLiteral("findbtn"), tr("&Search"), tr("Search the document"),
                         QRect(417, 462, 44, 18));
    backbtn->setAccessibleName(tr("Back"));
    Forwardsbtn->setAccessibleName(tr("Forward"));

    closebtn = new QPushButton(tr("&Close"), this);
    closebtn->setObjectName(QStringLiteral("closebtn"));
    closebtn->setGeometry(590, 459, 75, 34);
    closebtn->setAutoDefault(false);

    aboutbtn = new QPushButton(QStringLiteral("?"), this);
    aboutbtn->setObjectName(QStringLiteral("aboutbtn"));
    aboutbtn->setToolTip(tr("About this help viewer"));
    aboutbtn->setAccessibleName(tr("About this help viewer"));
    aboutbtn->setGeometry(16, 468, 25, 25);
    aboutbtn->setAutoDefault(false);

    sb = new QStatusBar(this);
    sb->setObjectName(QStringLiteral("sb"));
    sb->setAccessibleName(tr("Link target"));
    sb->setAccessibleDescription(tr("Link target"));
    sb->setSizeGripEnabled(true);
    HelpDisplay->SetStatusBar(sb);
    // The bar paints its message itself; a screen reader hears it as the bar's name.
    connect(HelpDisplay, &THelpDisplay::linkHovered, this,
            [this](const QString& text) { sb->setAccessibleName(text.isEmpty() ? tr("Link target") : text); });

    grip_ = new QSizeGrip(this);
    grip_->setObjectName(QStringLiteral("sizegrip"));
    grip_->hide();

    HelpFindDialog = new TFindDialog(this);
    HelpFindDialog->setObjectName(QStringLiteral("HelpFindDialog"));
    HelpFindDialog->SetWholeWordVisible(true);

    mfAboutDialog1 = new TmfAboutDialog(launcher, this);
    mfAboutDialog1->setObjectName(QStringLiteral("mfAboutDialog1"));
    mfAboutDialog1->SetTitle(QStringLiteral("About this program"));
    mfAboutDialog1->SetProgramName(QStringLiteral("Plotwell Help Viewer"));

    connect(backbtn, &QToolButton::clicked, this, &Thelpdialog::HistoryGoBack);
    connect(Forwardsbtn, &QToolButton::clicked, this, &Thelpdialog::HistoryGoForwards);
    connect(copybtn, &QToolButton::clicked, this, &Thelpdialog::CopyVisibleText);
    connect(findbtn, &QToolButton::clicked, this, &Thelpdialog::OpenSearch);
    connect(closebtn, &QPushButton::clicked, this, &Thelpdialog::close);
    connect(aboutbtn, &QPushButton::clicked, this, [this] {
        mfAboutDialog1->SetVersionString(QStringLiteral("1.2"));
        mfAboutDialog1->execute();
    });
    connect(contentslb, &QListWidget::clicked, this, [this](const QModelIndex& index) { ContentsItemChosen(index.row()); });
    connect(contentslb, &QListWidget::activated, this,
            [this](const QModelIndex& index) { ContentsItemChosen(index.row()); });
    connect(HelpFindDialog, &TFindDialog::findNext, this,
            [this](const QString& text, bool matchCase) { FindNext(text, matchCase, HelpFindDialog->WholeWord()); });

    FilterChildren();
    SetSizeGrip(TSizeGrip::sgStatusBar);
    SetColor(FColor);
    Clear();
    aboutbtn->setVisible(FShowAboutButton);
    LayoutControls();
}

Thelpdialog::~Thelpdialog()
{
    if (OnDestroy)
        OnDestroy();
}

void Thelpdialog::FilterChildren()
{
    // The window's keys come before its controls'; the wheel follows the window's own rule.
    for (QWidget* w : {static_cast<QWidget*>(HelpDisplay), HelpDisplay->viewport(), static_cast<QWidget*>(contentslb),
                       contentslb->viewport(), static_cast<QWidget*>(backbtn), static_cast<QWidget*>(Forwardsbtn),
                       static_cast<QWidget*>(copybtn), static_cast<QWidget*>(findbtn), static_cast<QWidget*>(closebtn),
                       static_cast<QWidget*>(aboutbtn)})
        w->installEventFilter(this);
}

QString Thelpdialog::Text() const
{
    return HelpDisplay->toPlainText();
}

void Thelpdialog::SetText(const QString& text)
{
    Clear();
    HelpDisplay->Target().SetSelText(text);
    UpdateContents();
}

QString Thelpdialog::HTML() const
{
    return HelpDisplay->HTML();
}

void Thelpdialog::SetHTML(const QString& html)
{
    if (html.isEmpty())
        return;
    HelpDisplay->SetHTML(html);
    UpdateContents();
}

void Thelpdialog::SetHTMLFileName(const QString& name)
{
    FHTMLFileName = name;
    if (!HelpDisplay->HTML().isEmpty() || !HelpDisplay->document()->isEmpty())
        return;
    Clear();
    AddHTMLFromFile(name, true);
    UpdateContents();
}

void Thelpdialog::SetColor(TColor color)
{
    FColor = color;
    QPalette p = HelpDisplay->palette();
    p.setColor(QPalette::Base, ToQColor(color));
    HelpDisplay->setPalette(p);
}

void Thelpdialog::SetAllowCopy(bool on)
{
    FAllowCopy = on;
    HelpDisplay->SetAllowCopy(on);
    copybtn->setVisible(on);
}

void Thelpdialog::SetSizeGrip(TSizeGrip grip)
{
    FSizeGrip = grip;
    if (isVisible())
        ApplySizeGrip();
}

void Thelpdialog::ApplySizeGrip()
{
    sb->setVisible(FSizeGrip == TSizeGrip::sgStatusBar);
    grip_->setVisible(FSizeGrip == TSizeGrip::sgCustom);
    LayoutControls();
}

void Thelpdialog::SetShowAboutButton(bool on)
{
    FShowAboutButton = on;
    aboutbtn->setVisible(on);
}

void Thelpdialog::SetRefreshing(bool on)
{
    FRefreshing = on;
    HelpDisplay->SetRefreshing(on);
}

void Thelpdialog::AddHTML(const QString& html, bool clearing)
{
    HelpDisplay->InputHTML(html, clearing, QString());
    UpdateContents();
}

bool Thelpdialog::AddHTMLFromFile(const QString& fname, bool clearing)
{
    const bool loaded = HelpDisplay->LoadHTMLFromFile(fname, clearing);
    if (loaded)
        UpdateContents();
    return loaded;
}

void Thelpdialog::AddContentsMarker(const QString& alabel)
{
    HelpDisplay->AddContentsMarker(alabel);
    UpdateContents();
}

void Thelpdialog::AddMainHeading(const QString& s, TColor color, TColor backcol)
{
    HelpDisplay->AddMainHeading(s, color, backcol);
}

void Thelpdialog::AddSubHeading(const QString& s, TColor color, TColor backcol)
{
    HelpDisplay->AddSubHeading(s, color, backcol);
}

void Thelpdialog::AddLine(const QString& s, TColor color, TColor backcol)
{
    HelpDisplay->AddLine(s, color, backcol);
}

void Thelpdialog::AddText(const QString& s, TColor color, TColor backcol)
{
    HelpDisplay->AddText(s, color, backcol);
}

void Thelpdialog::AddBlankLine()
{
    HelpDisplay->AddBlankLine();
}

void Thelpdialog::AddToHistory(int location)
{
    HelpDisplay->AddToHistory(location);
}

void Thelpdialog::HistoryGoBack()
{
    HelpDisplay->HistoryGoBack();
}

void Thelpdialog::HistoryGoForwards()
{
    HelpDisplay->HistoryGoForwards();
}

int Thelpdialog::GetScrollLine() const
{
    return isVisible() ? HelpDisplay->GetScrollLine() : 0;
}

void Thelpdialog::ScrollToLine(int line)
{
    if (isVisible())
        HelpDisplay->ScrollToLine(line);
}

QString Thelpdialog::ConvertLongHTMLStringToStringLiterals(const QString& s)
{
    return HelpDisplay->ConvertLongHTMLStringToStringLiterals(s);
}

bool Thelpdialog::HTMLFileToStringLiteralsOnClipboard(const QString& fname)
{
    return HelpDisplay->HTMLFileToStringLiteralsOnClipboard(fname);
}

void Thelpdialog::Clear()
{
    contentslb->clear();
    HelpDisplay->Clear();
}

void Thelpdialog::UpdateContents()
{
    HelpDisplay->UpdateContents();
    ShowContents();
}

void Thelpdialog::ShowContents()
{
    const QList<TContentsEntry>& contents = HelpDisplay->Contents();
    contentslb->clear();
    const int listLeft = contentslb->x();
    if (!contents.isEmpty()) {
        for (const TContentsEntry& entry : contents) {
            auto* item = new QListWidgetItem(entry.Name, contentslb);
            item->setData(Qt::UserRole, entry.Start);
            item->setSizeHint(QSize(0, kContentsItemHeight));
        }
        HelpDisplay->move(listLeft + contentslb->width() + 15, HelpDisplay->y());
        // The same right margin as the layout on resize, so the page is not laid out twice.
        HelpDisplay->resize(width() - HelpDisplay->x() - listLeft, HelpDisplay->height());
        contentslb->show();
        contentslabel->show();
    } else {
        contentslb->hide();
        contentslabel->hide();
        HelpDisplay->move(listLeft, HelpDisplay->y());
        HelpDisplay->resize(width() - 2 * listLeft, HelpDisplay->height());
    }
    LayoutControls();
}

void Thelpdialog::LayoutControls()
{
    const int statusTop = sb->isVisibleTo(this) ? height() - kStatusBarHeight : height();
    sb->setGeometry(0, height() - kStatusBarHeight, width(), kStatusBarHeight);
    const int listLeft = contentslb->x();
    HelpDisplay->resize(width() - HelpDisplay->x() - listLeft, HelpDisplay->height());
    backbtn->move(HelpDisplay->x(), backbtn->y());
    closebtn->move(closebtn->x(), statusTop - closebtn->height() - 6);
    const int listHeight = std::max(closebtn->y() - contentslb->y() - 6, 0);
    contentslb->resize(contentslb->width(), listHeight);
    HelpDisplay->resize(HelpDisplay->width(), listHeight);
    const int buttonTop = HelpDisplay->y() + HelpDisplay->height();
    backbtn->move(backbtn->x(), buttonTop);
    Forwardsbtn->move(backbtn->x() + backbtn->width() + 3, buttonTop);
    copybtn->move(Forwardsbtn->x() + Forwardsbtn->width() + 50, buttonTop);
    findbtn->move(copybtn->x() + copybtn->width() + 14, buttonTop);
    aboutbtn->move(aboutbtn->x(), buttonTop);
    closebtn->move(HelpDisplay->x() + HelpDisplay->width() - closebtn->width() + 1, closebtn->y());
    const int side = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    grip_->setGeometry(width() - side, height() - side, side, side);
    grip_->raise();
}

void Thelpdialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayoutControls();
}

void Thelpdialog::ContentsItemChosen(int row)
{
    const QListWidgetItem* item = contentslb->item(row);
    if (!item)
        return;
    const int position = item->data(Qt::UserRole).toInt();
    HelpDisplay->SetCaretPosition(position);
    HelpDisplay->AddToHistory(position);
    HelpDisplay->ScrollLineToTop(HelpDisplay->LineOf(position), false, 0);
}

bool Thelpdialog::JumpToContentItem(const QString& item)
{
    const QString wanted = item.trimmed().toUpper();
    const QList<TContentsEntry>& contents = HelpDisplay->Contents();
    for (qsizetype i = 0; i < contents.size(); ++i) {
        if (contents[i].Name.trimmed().toUpper() != wanted)
            continue;
        contentslb->setCurrentRow(static_cast<int>(i));
        const int position = contents[i].Start;
        HelpDisplay->SetCaretPosition(position);
        HelpDisplay->AddToHistory(position);
        HelpDisplay->ScrollLineToTop(HelpDisplay->LineOf(position), true, 0);
        return true;
    }
    return false;
}

QString Thelpdialog::VisibleText() const
{
    const QAbstractTextDocumentLayout* layout = HelpDisplay->document()->documentLayout();
    const int scroll = HelpDisplay->verticalScrollBar()->value();
    const int first = layout->hitTest(QPointF(1, scroll + 1), Qt::FuzzyHit);
    const int last = layout->hitTest(QPointF(1, scroll + HelpDisplay->viewport()->height() - 2), Qt::FuzzyHit);
    QString text;
    const QTextDocument* document = HelpDisplay->document();
    const QTextBlock end = document->findBlock(std::max(last, 0)).next();
    for (QTextBlock block = document->findBlock(std::max(first, 0)); block.isValid() && block != end;
         block = block.next())
        text += block.text() + QStringLiteral("\r\n");
    return text;
}

void Thelpdialog::CopyVisibleText()
{
    const QString text = VisibleText();
    if (!text.trimmed().isEmpty())
        QApplication::clipboard()->setText(text);
}

void Thelpdialog::OpenSearch()
{
    numfindfound = 0;
    startingpos = HelpDisplay->CaretPosition();
    const QString selected = HelpDisplay->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        HelpFindDialog->SetFindText(selected);
    HelpFindDialog->show();
    HelpFindDialog->raise();
    HelpFindDialog->activateWindow();
}

void Thelpdialog::FindNext(const QString& text, bool matchCase, bool wholeWord)
{
    QTextDocument::FindFlags flags;
    if (matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (wholeWord)
        flags |= QTextDocument::FindWholeWords;
    const QTextCursor current = HelpDisplay->textCursor();
    const int from = current.hasSelection() ? current.selectionEnd() : 0;
    const QTextCursor found = HelpDisplay->document()->find(text, from, flags);
    if (!found.isNull()) {
        ++numfindfound;
        HelpDisplay->setTextCursor(found);
        HelpDisplay->ensureCursorVisible();
        return;
    }
    if (numfindfound == 0) {
        ShowInfo(sink_, QStringLiteral("Could not find \"") + text + u'"', QString(), QString());
        return;
    }
    if (VerifyYesNo(sink_, QStringLiteral("Item not found. Start again at the beginning?"), QString())) {
        HelpDisplay->SetCaretPosition(0);
        numfindfound = 0;
        FindNext(text, matchCase, wholeWord);
        return;
    }
    HelpFindDialog->hide();
    HelpDisplay->SetCaretPosition(startingpos);
}

void Thelpdialog::RefuseCopy(bool tell)
{
    if (tell)
        sink_.ShowMessage(QStringLiteral("Sorry, copying text not enabled."));
    QApplication::clipboard()->setText(QString());
    HelpDisplay->SetCaretPosition(HelpDisplay->CaretPosition());
}

bool Thelpdialog::HandleKey(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool ctrl = mods == Qt::ControlModifier;
    QScrollBar* bar = HelpDisplay->verticalScrollBar();
    if (mods == Qt::NoModifier) {
        switch (key) {
        case Qt::Key_PageUp:
            bar->triggerAction(QAbstractSlider::SliderPageStepSub);
            return true;
        case Qt::Key_PageDown:
            bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
            return true;
        case Qt::Key_Up:
            bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return true;
        case Qt::Key_Down:
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return true;
        case Qt::Key_Escape:
            close();
            return true;
        default:
            return false;
        }
    }
    if (mods == Qt::ShiftModifier && (key == Qt::Key_Up || key == Qt::Key_Down))
        return !HelpDisplay->AllowCopy();
    if (!ctrl)
        return false;
    switch (key) {
    case Qt::Key_Home:
        HelpDisplay->ScrollLineToTop(0, true, 0);
        return true;
    case Qt::Key_End:
        // The last line, at nine tenths of the view's height.
        HelpDisplay->ScrollLineToTop(HelpDisplay->LineCount() - 1, true, 90);
        return true;
    case Qt::Key_A:
    case Qt::Key_C:
        if (HelpDisplay->AllowCopy())
            return false;
        RefuseCopy(true);
        return true;
    case Qt::Key_X:
        if (HelpDisplay->AllowCopy())
            return false;
        RefuseCopy(false);
        return true;
    case Qt::Key_F:
        OpenSearch();
        return true;
    default:
        return false;
    }
}

bool Thelpdialog::WheelOverView(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    const int lines = std::max(std::abs(notches), 1) * QApplication::wheelScrollLines();
    QScrollBar* bar = HelpDisplay->verticalScrollBar();
    const int step = lines * bar->singleStep();
    bar->setValue(event->angleDelta().y() <= 0 ? bar->value() + step : bar->value() - step);
    return true;
}

bool Thelpdialog::WheelOverContents(QWheelEvent* event)
{
    contentslb->setFocus(Qt::MouseFocusReason);
    if (contentslb->count() == 0)
        return true;
    const int row = contentslb->currentRow() + (event->angleDelta().y() <= 0 ? 1 : -1);
    contentslb->setCurrentRow(std::clamp(row, 0, contentslb->count() - 1));
    return true;
}

bool Thelpdialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (watched == HelpDisplay->viewport())
            return WheelOverView(wheel);
        if (watched == contentslb->viewport())
            return WheelOverContents(wheel);
    }
    return QDialog::eventFilter(watched, event);
}

void Thelpdialog::keyPressEvent(QKeyEvent* event)
{
    if (HandleKey(event))
        return;
    QDialog::keyPressEvent(event);
}

void Thelpdialog::mousePressEvent(QMouseEvent* event)
{
    if (contentslb->isVisible())
        contentslb->setFocus(Qt::MouseFocusReason);
    QDialog::mousePressEvent(event);
}

void Thelpdialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    HelpDisplay->SetCaretPosition(0);
    if (OnShow)
        OnShow();
    aboutbtn->setVisible(FShowAboutButton);
    ApplySizeGrip();
    setWindowTitle(FTitle);
    if (!pendingTopic_.isEmpty()) {
        const QString topic = std::exchange(pendingTopic_, QString());
        if (!JumpToContentItem(topic))
            sink_.ShowMessage(QStringLiteral("Topic not found"));
    }
}

void Thelpdialog::closeEvent(QCloseEvent* event)
{
    if (FClearOnCloseDialog)
        Clear();
    HelpFindDialog->hide();
    if (OnClose)
        OnClose();
    QDialog::closeEvent(event);
}

} // namespace plotwell
