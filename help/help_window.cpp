#include "help/help_window.h"

#include "core/message_sink.h"
#include "dialogs/find_dialog.h"
#include "dialogs/message_utils.h"
#include "dialogs/about_dialog.h"
#include "help/help_view.h"

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

HelpWindow::HelpWindow(MessageSink& sink, Launcher& launcher, QWidget* parent)
    : QDialog(parent), sink_(sink), color_(FromQColor(QApplication::palette().color(QPalette::Base)))
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

    helpView = new HelpView(sink, launcher, this);
    helpView->setObjectName(QStringLiteral("HelpDisplay"));
    helpView->setGeometry(184, 22, 481, 417);
    helpView->SetHideTheCaret(false);
    helpView->SetOnPageConverted([this] { ShowContents(); });

    backbtn = FlatButton(this, QStringLiteral("backbtn"), QStringLiteral("<"), tr("Go back"), QRect(229, 462, 23, 18));
    forwardsbtn = FlatButton(this, QStringLiteral("Forwardsbtn"), QStringLiteral(">"), tr("Go forwards"),
                             QRect(265, 462, 23, 18));
    copybtn = FlatButton(this, QStringLiteral("copybtn"), tr("Co&py"), tr("Copy displayed text to clipboard"),
                         QRect(356, 462, 44, 18));
    findbtn = FlatButton(this, QStringLiteral("findbtn"), tr("&Search"), tr("Search the document"),
                         QRect(417, 462, 44, 18));
    backbtn->setAccessibleName(tr("Back"));
    forwardsbtn->setAccessibleName(tr("Forward"));

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
    helpView->SetStatusBar(sb);
    // The bar paints its message itself; a screen reader hears it as the bar's name.
    connect(helpView, &HelpView::linkHovered, this,
            [this](const QString& text) { sb->setAccessibleName(text.isEmpty() ? tr("Link target") : text); });

    grip_ = new QSizeGrip(this);
    grip_->setObjectName(QStringLiteral("sizegrip"));
    grip_->hide();

    helpFindDialog = new FindDialog(this);
    helpFindDialog->setObjectName(QStringLiteral("HelpFindDialog"));
    helpFindDialog->SetWholeWordVisible(true);

    aboutDialog = new AboutDialog(launcher, this);
    aboutDialog->setObjectName(QStringLiteral("mfAboutDialog1"));
    aboutDialog->SetTitle(QStringLiteral("About this program"));
    aboutDialog->SetProgramName(QStringLiteral("Plotwell Help Viewer"));

    connect(backbtn, &QToolButton::clicked, this, &HelpWindow::HistoryGoBack);
    connect(forwardsbtn, &QToolButton::clicked, this, &HelpWindow::HistoryGoForwards);
    connect(copybtn, &QToolButton::clicked, this, &HelpWindow::CopyVisibleText);
    connect(findbtn, &QToolButton::clicked, this, &HelpWindow::OpenSearch);
    connect(closebtn, &QPushButton::clicked, this, &HelpWindow::close);
    connect(aboutbtn, &QPushButton::clicked, this, [this] {
        aboutDialog->SetVersionString(QStringLiteral("1.2"));
        aboutDialog->Execute();
    });
    connect(contentslb, &QListWidget::clicked, this, [this](const QModelIndex& index) { ContentsItemChosen(index.row()); });
    connect(contentslb, &QListWidget::activated, this,
            [this](const QModelIndex& index) { ContentsItemChosen(index.row()); });
    connect(helpFindDialog, &FindDialog::findNext, this,
            [this](const QString& text, bool matchCase) { FindNext(text, matchCase, helpFindDialog->WholeWord()); });

    FilterChildren();
    SetSizeGrip(SizeGripKind::StatusBar);
    SetColor(color_);
    Clear();
    aboutbtn->setVisible(showAboutButton_);
    LayoutControls();
}

HelpWindow::~HelpWindow()
{
    if (onDestroy)
        onDestroy();
}

void HelpWindow::FilterChildren()
{
    // The window's keys come before its controls'; the wheel follows the window's own rule.
    for (QWidget* w : {static_cast<QWidget*>(helpView), helpView->viewport(), static_cast<QWidget*>(contentslb),
                       contentslb->viewport(), static_cast<QWidget*>(backbtn), static_cast<QWidget*>(forwardsbtn),
                       static_cast<QWidget*>(copybtn), static_cast<QWidget*>(findbtn), static_cast<QWidget*>(closebtn),
                       static_cast<QWidget*>(aboutbtn)})
        w->installEventFilter(this);
}

QString HelpWindow::Text() const
{
    return helpView->toPlainText();
}

void HelpWindow::SetText(const QString& text)
{
    Clear();
    helpView->Target().SetSelText(text);
    UpdateContents();
}

QString HelpWindow::HTML() const
{
    return helpView->HTML();
}

void HelpWindow::SetHTML(const QString& html)
{
    if (html.isEmpty())
        return;
    helpView->SetHTML(html);
    UpdateContents();
}

void HelpWindow::SetHTMLFileName(const QString& name)
{
    htmlFileName_ = name;
    if (!helpView->HTML().isEmpty() || !helpView->document()->isEmpty())
        return;
    Clear();
    AddHTMLFromFile(name, true);
    UpdateContents();
}

void HelpWindow::SetColor(RgbColor color)
{
    color_ = color;
    QPalette p = helpView->palette();
    p.setColor(QPalette::Base, ToQColor(color));
    helpView->setPalette(p);
}

void HelpWindow::SetAllowCopy(bool on)
{
    allowCopy_ = on;
    helpView->SetAllowCopy(on);
    copybtn->setVisible(on);
}

void HelpWindow::SetSizeGrip(SizeGripKind grip)
{
    sizeGrip_ = grip;
    if (isVisible())
        ApplySizeGrip();
}

void HelpWindow::ApplySizeGrip()
{
    sb->setVisible(sizeGrip_ == SizeGripKind::StatusBar);
    grip_->setVisible(sizeGrip_ == SizeGripKind::Custom);
    LayoutControls();
}

void HelpWindow::SetShowAboutButton(bool on)
{
    showAboutButton_ = on;
    aboutbtn->setVisible(on);
}

void HelpWindow::SetRefreshing(bool on)
{
    refreshing_ = on;
    helpView->SetRefreshing(on);
}

void HelpWindow::AddHTML(const QString& html, bool clearing)
{
    helpView->InputHTML(html, clearing, QString());
    UpdateContents();
}

bool HelpWindow::AddHTMLFromFile(const QString& fname, bool clearing)
{
    const bool loaded = helpView->LoadHTMLFromFile(fname, clearing);
    if (loaded)
        UpdateContents();
    return loaded;
}

void HelpWindow::AddContentsMarker(const QString& alabel)
{
    helpView->AddContentsMarker(alabel);
    UpdateContents();
}

void HelpWindow::AddMainHeading(const QString& s, RgbColor color, RgbColor backcol)
{
    helpView->AddMainHeading(s, color, backcol);
}

void HelpWindow::AddSubHeading(const QString& s, RgbColor color, RgbColor backcol)
{
    helpView->AddSubHeading(s, color, backcol);
}

void HelpWindow::AddLine(const QString& s, RgbColor color, RgbColor backcol)
{
    helpView->AddLine(s, color, backcol);
}

void HelpWindow::AddText(const QString& s, RgbColor color, RgbColor backcol)
{
    helpView->AddText(s, color, backcol);
}

void HelpWindow::AddBlankLine()
{
    helpView->AddBlankLine();
}

void HelpWindow::AddToHistory(int location)
{
    helpView->AddToHistory(location);
}

void HelpWindow::HistoryGoBack()
{
    helpView->HistoryGoBack();
}

void HelpWindow::HistoryGoForwards()
{
    helpView->HistoryGoForwards();
}

int HelpWindow::GetScrollLine() const
{
    return isVisible() ? helpView->GetScrollLine() : 0;
}

void HelpWindow::ScrollToLine(int line)
{
    if (isVisible())
        helpView->ScrollToLine(line);
}

QString HelpWindow::ConvertLongHTMLStringToStringLiterals(const QString& s)
{
    return helpView->ConvertLongHTMLStringToStringLiterals(s);
}

bool HelpWindow::HTMLFileToStringLiteralsOnClipboard(const QString& fname)
{
    return helpView->HTMLFileToStringLiteralsOnClipboard(fname);
}

void HelpWindow::Clear()
{
    contentslb->clear();
    helpView->Clear();
}

void HelpWindow::UpdateContents()
{
    helpView->UpdateContents();
    ShowContents();
}

void HelpWindow::ShowContents()
{
    const QList<ContentsEntry>& contents = helpView->Contents();
    contentslb->clear();
    const int listLeft = contentslb->x();
    if (!contents.isEmpty()) {
        for (const ContentsEntry& entry : contents) {
            auto* item = new QListWidgetItem(entry.name, contentslb);
            item->setData(Qt::UserRole, entry.start);
            item->setSizeHint(QSize(0, kContentsItemHeight));
        }
        helpView->move(listLeft + contentslb->width() + 15, helpView->y());
        // The same right margin as the layout on resize, so the page is not laid out twice.
        helpView->resize(width() - helpView->x() - listLeft, helpView->height());
        contentslb->show();
        contentslabel->show();
    } else {
        contentslb->hide();
        contentslabel->hide();
        helpView->move(listLeft, helpView->y());
        helpView->resize(width() - 2 * listLeft, helpView->height());
    }
    LayoutControls();
}

void HelpWindow::LayoutControls()
{
    const int statusTop = sb->isVisibleTo(this) ? height() - kStatusBarHeight : height();
    sb->setGeometry(0, height() - kStatusBarHeight, width(), kStatusBarHeight);
    const int listLeft = contentslb->x();
    helpView->resize(width() - helpView->x() - listLeft, helpView->height());
    backbtn->move(helpView->x(), backbtn->y());
    closebtn->move(closebtn->x(), statusTop - closebtn->height() - 6);
    const int listHeight = std::max(closebtn->y() - contentslb->y() - 6, 0);
    contentslb->resize(contentslb->width(), listHeight);
    helpView->resize(helpView->width(), listHeight);
    const int buttonTop = helpView->y() + helpView->height();
    backbtn->move(backbtn->x(), buttonTop);
    forwardsbtn->move(backbtn->x() + backbtn->width() + 3, buttonTop);
    copybtn->move(forwardsbtn->x() + forwardsbtn->width() + 50, buttonTop);
    findbtn->move(copybtn->x() + copybtn->width() + 14, buttonTop);
    aboutbtn->move(aboutbtn->x(), buttonTop);
    closebtn->move(helpView->x() + helpView->width() - closebtn->width() + 1, closebtn->y());
    const int side = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    grip_->setGeometry(width() - side, height() - side, side, side);
    grip_->raise();
}

void HelpWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayoutControls();
}

void HelpWindow::ContentsItemChosen(int row)
{
    const QListWidgetItem* item = contentslb->item(row);
    if (!item)
        return;
    const int position = item->data(Qt::UserRole).toInt();
    helpView->SetCaretPosition(position);
    helpView->AddToHistory(position);
    helpView->ScrollLineToTop(helpView->LineOf(position), false, 0);
}

bool HelpWindow::JumpToContentItem(const QString& item)
{
    const QString wanted = item.trimmed().toUpper();
    const QList<ContentsEntry>& contents = helpView->Contents();
    for (qsizetype i = 0; i < contents.size(); ++i) {
        if (contents[i].name.trimmed().toUpper() != wanted)
            continue;
        contentslb->setCurrentRow(static_cast<int>(i));
        const int position = contents[i].start;
        helpView->SetCaretPosition(position);
        helpView->AddToHistory(position);
        helpView->ScrollLineToTop(helpView->LineOf(position), true, 0);
        return true;
    }
    return false;
}

QString HelpWindow::VisibleText() const
{
    const QAbstractTextDocumentLayout* layout = helpView->document()->documentLayout();
    const int scroll = helpView->verticalScrollBar()->value();
    const int first = layout->hitTest(QPointF(1, scroll + 1), Qt::FuzzyHit);
    const int last = layout->hitTest(QPointF(1, scroll + helpView->viewport()->height() - 2), Qt::FuzzyHit);
    QString text;
    const QTextDocument* document = helpView->document();
    const QTextBlock end = document->findBlock(std::max(last, 0)).next();
    for (QTextBlock block = document->findBlock(std::max(first, 0)); block.isValid() && block != end;
         block = block.next())
        text += block.text() + QStringLiteral("\r\n");
    return text;
}

void HelpWindow::CopyVisibleText()
{
    const QString text = VisibleText();
    if (!text.trimmed().isEmpty())
        QApplication::clipboard()->setText(text);
}

void HelpWindow::OpenSearch()
{
    findCount_ = 0;
    startingPos_ = helpView->CaretPosition();
    const QString selected = helpView->textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator))
        helpFindDialog->SetFindText(selected);
    helpFindDialog->show();
    helpFindDialog->raise();
    helpFindDialog->activateWindow();
}

void HelpWindow::FindNext(const QString& text, bool matchCase, bool wholeWord)
{
    QTextDocument::FindFlags flags;
    if (matchCase)
        flags |= QTextDocument::FindCaseSensitively;
    if (wholeWord)
        flags |= QTextDocument::FindWholeWords;
    const QTextCursor current = helpView->textCursor();
    const int from = current.hasSelection() ? current.selectionEnd() : 0;
    const QTextCursor found = helpView->document()->find(text, from, flags);
    if (!found.isNull()) {
        ++findCount_;
        helpView->setTextCursor(found);
        helpView->ensureCursorVisible();
        return;
    }
    if (findCount_ == 0) {
        ShowInfo(sink_, QStringLiteral("Could not find \"") + text + u'"', QString(), QString());
        return;
    }
    if (VerifyYesNo(sink_, QStringLiteral("Item not found. Start again at the beginning?"), QString())) {
        helpView->SetCaretPosition(0);
        findCount_ = 0;
        FindNext(text, matchCase, wholeWord);
        return;
    }
    helpFindDialog->hide();
    helpView->SetCaretPosition(startingPos_);
}

void HelpWindow::RefuseCopy(bool tell)
{
    if (tell)
        sink_.ShowMessage(QStringLiteral("Sorry, copying text not enabled."));
    QApplication::clipboard()->setText(QString());
    helpView->SetCaretPosition(helpView->CaretPosition());
}

bool HelpWindow::HandleKey(QKeyEvent* event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool ctrl = mods == Qt::ControlModifier;
    QScrollBar* bar = helpView->verticalScrollBar();
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
        return !helpView->AllowCopy();
    if (!ctrl)
        return false;
    switch (key) {
    case Qt::Key_Home:
        helpView->ScrollLineToTop(0, true, 0);
        return true;
    case Qt::Key_End:
        // The last line, at nine tenths of the view's height.
        helpView->ScrollLineToTop(helpView->LineCount() - 1, true, 90);
        return true;
    case Qt::Key_A:
    case Qt::Key_C:
        if (helpView->AllowCopy())
            return false;
        RefuseCopy(true);
        return true;
    case Qt::Key_X:
        if (helpView->AllowCopy())
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

bool HelpWindow::WheelOverView(QWheelEvent* event)
{
    const int notches = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
    const int lines = std::max(std::abs(notches), 1) * QApplication::wheelScrollLines();
    QScrollBar* bar = helpView->verticalScrollBar();
    const int step = lines * bar->singleStep();
    bar->setValue(event->angleDelta().y() <= 0 ? bar->value() + step : bar->value() - step);
    return true;
}

bool HelpWindow::WheelOverContents(QWheelEvent* event)
{
    contentslb->setFocus(Qt::MouseFocusReason);
    if (contentslb->count() == 0)
        return true;
    const int row = contentslb->currentRow() + (event->angleDelta().y() <= 0 ? 1 : -1);
    contentslb->setCurrentRow(std::clamp(row, 0, contentslb->count() - 1));
    return true;
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && HandleKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (watched == helpView->viewport())
            return WheelOverView(wheel);
        if (watched == contentslb->viewport())
            return WheelOverContents(wheel);
    }
    return QDialog::eventFilter(watched, event);
}

void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (HandleKey(event))
        return;
    QDialog::keyPressEvent(event);
}

void HelpWindow::mousePressEvent(QMouseEvent* event)
{
    if (contentslb->isVisible())
        contentslb->setFocus(Qt::MouseFocusReason);
    QDialog::mousePressEvent(event);
}

void HelpWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    helpView->SetCaretPosition(0);
    if (onShow)
        onShow();
    aboutbtn->setVisible(showAboutButton_);
    ApplySizeGrip();
    setWindowTitle(title_);
    if (!pendingTopic_.isEmpty()) {
        const QString topic = std::exchange(pendingTopic_, QString());
        if (!JumpToContentItem(topic))
            sink_.ShowMessage(QStringLiteral("Topic not found"));
    }
}

void HelpWindow::closeEvent(QCloseEvent* event)
{
    if (clearOnCloseDialog_)
        Clear();
    helpFindDialog->hide();
    if (onClose)
        onClose();
    QDialog::closeEvent(event);
}

} // namespace plotwell
