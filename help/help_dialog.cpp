#include "help/help_dialog.h"

#include "core/message_sink.h"
#include "dialogs/form_scaling.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QListWidget>
#include <QScreen>

namespace plotwell {

namespace {

// Calibri 12 (or the font made to its measures); Tahoma 10, or the system's font at 10, otherwise.
QFont DefaultHelpFont()
{
    for (const char* family : {"Calibri", "Carlito"})
        if (QFontDatabase::hasFamily(QString::fromLatin1(family)))
            return QFont(QString::fromLatin1(family), 12);
    QFont f = QApplication::font();
    if (QFontDatabase::hasFamily(QStringLiteral("Tahoma")))
        f.setFamily(QStringLiteral("Tahoma"));
    f.setPointSize(10);
    return f;
}

int PointsOf(const QFont& font)
{
    if (font.pointSize() > 0)
        return font.pointSize();
    return font.pixelSize() > 0 ? qRound(font.pixelSize() * 72.0 / 96.0) : 10;
}

} // namespace

HelpDialog::HelpDialog(MessageSink& sink, Launcher& launcher, QWidget* owner)
    : QObject(owner), owner_(owner), sink_(sink), launcher_(launcher), font_(DefaultHelpFont()),
      fontSize_(PointsOf(font_)), color_(FromQColor(QApplication::palette().color(QPalette::Base)))
{
    const QRect area = ScreenArea();
    formLeft_ = area.width() / 2 - formWidth_ / 2;
    formTop_ = area.height() / 2 - formHeight_ / 2;
}

HelpDialog::~HelpDialog()
{
    delete helpWindow.data();
}

QRect HelpDialog::ScreenArea() const
{
    const QScreen* screen = owner_ && owner_->screen() ? owner_->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

void HelpDialog::CreateHelpDialog()
{
    auto* dialog = new HelpWindow(sink_, launcher_, showModal_ ? nullptr : owner_);
    helpWindow = dialog;
    SetFormPosition(*dialog, position_);
    dialog->move(formLeft_, formTop_);
    dialog->resize(formWidth_, formHeight_);
    dialog->setWindowState(maximized_ ? Qt::WindowMaximized : Qt::WindowNoState);
    dialog->SetSizeGrip(sizeGrip_);
    dialog->SetTitle(title_);
    dialog->SetColor(color_);
    dialog->SetRefreshing(refreshing_);
    dialog->SetClearOnCloseDialog(clearOnClose_);
    dialog->helpView->SetBaseFont(font_.family(), PointsOf(font_));
    if (!text_.isEmpty()) {
        dialog->SetText(text_);
        text_.clear();
    }
    if (!html_.isEmpty()) {
        dialog->SetHTML(html_);
        html_.clear();
    }
    dialog->SetAllowCopy(allowCopy_);
    dialog->onShow = [this] { WindowShown(); };
    dialog->onClose = [this] { WindowClosing(); };
}

void HelpDialog::EnsureHelpDialog()
{
    if (!helpWindow)
        CreateHelpDialog();
}

void HelpDialog::WindowShown()
{
    QPalette p = helpWindow->contentslb->palette();
    p.setColor(QPalette::Base, helpWindow->helpView->palette().color(QPalette::Base));
    helpWindow->contentslb->setPalette(p);
    if (onShow)
        onShow(this);
}

void HelpDialog::WindowClosing()
{
    HelpWindow* dialog = helpWindow;
    maximized_ = dialog->isMaximized();
    if (!maximized_) {
        formLeft_ = dialog->x();
        formTop_ = dialog->y();
        formWidth_ = dialog->width();
        formHeight_ = dialog->height();
    }
    if (onClose)
        onClose(dialog);
    // Released once the closing is over; the next Execute builds a new window.
    dialog->deleteLater();
}

bool HelpDialog::TopicJump(const QString& topic)
{
    const QString wanted = topic.isEmpty() ? jumpTo_ : topic;
    if (wanted.isEmpty() || !helpWindow)
        return false;
    if (helpWindow->JumpToContentItem(wanted))
        return true;
    sink_.ShowMessage(QStringLiteral("Topic not found"));
    return false;
}

void HelpDialog::KeepOnScreen()
{
    const QRect area = ScreenArea();
    HelpWindow* dialog = helpWindow;
    int left = dialog->x();
    int top = dialog->y();
    const int right = left + dialog->width();
    const int bottom = top + dialog->height();
    if (left < 0 && right < 80)
        left = 0;
    if (top < 0 && bottom < 80)
        top = 0;
    if (right > area.width() && left > area.width() - 80)
        left = area.width() - 300;
    if (bottom > area.height() && top > area.height() - 80)
        top = area.height() - 300;
    dialog->move(left, top);
}

bool HelpDialog::Execute(const QString& Topic)
{
    const QString topic = Topic.trimmed();
    EnsureHelpDialog();
    HelpWindow* dialog = helpWindow;
    dialog->SetSizeGrip(sizeGrip_);
    if (!htmlFileName_.isEmpty())
        dialog->SetHTMLFileName(htmlFileName_);
    dialog->SetShowAboutButton(showAboutButton_);

    if (dialog->isVisible()) {
        dialog->setWindowState(dialog->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        dialog->raise();
        dialog->activateWindow();
        if (dialog->contentslb->isVisible())
            dialog->contentslb->setFocus();
        if (!manualScale_)
            TopicJump(topic);
        return false;
    }

    // The page could not be read (the view has said so) and there is nothing else to show:
    // no empty window after the message.
    if (!htmlFileName_.isEmpty() && IsEmpty() && !QFileInfo(htmlFileName_).isFile()) {
        delete helpWindow.data();
        return false;
    }

    HelpView* view = dialog->helpView;
    view->SetItalicHeading(italicHeading_);
    view->SetLeftMargin(leftMargin_);
    view->SetRightMargin(rightMargin_);
    view->SetAutoURLs(autoURLs_);
    dialog->SetAllowCopy(allowCopy_);
    view->SetBaseFontSize(fontSize_);
    if (IsCentred(position_)) {
        const QRect area = ScreenArea();
        dialog->move(area.x() + (area.width() - dialog->width()) / 2, area.y() + (area.height() - dialog->height()) / 2);
    }
    KeepOnScreen();
    if (manualScale_) {
        FormScaler scaler;
        scaler.StandardizeFormFont(dialog, false);
    }
    dialog->SetShowingModally(showModal_);
    if (showModal_) {
        dialog->SetPendingTopic(topic.isEmpty() ? jumpTo_ : topic);
        dialog->exec();
        delete helpWindow.data();
        return true;
    }
    dialog->show();
    TopicJump(topic);
    return true;
}

bool HelpDialog::ShowHelpTopic(const QString& Topic)
{
    const QString topic = Topic.trimmed();
    if (topic.isEmpty())
        return false;
    return Execute(topic);
}

void HelpDialog::JumpToTopic(const QString& topic)
{
    if (helpWindow)
        TopicJump(topic.trimmed());
}

void HelpDialog::AddHTML(const QString& html, bool clearing)
{
    EnsureHelpDialog();
    if (!helpWindow) {
        sink_.ShowMessage(QStringLiteral("Cannot add HTML because the help dialog is not created"));
        return;
    }
    helpWindow->AddHTML(html, clearing);
}

bool HelpDialog::AddHTMLFromFile(const QString& fname, bool clearing)
{
    EnsureHelpDialog();
    if (!helpWindow) {
        sink_.ShowMessage(QStringLiteral("Help dialog not created"));
        return false;
    }
    return helpWindow->AddHTMLFromFile(fname, clearing);
}

void HelpDialog::AddMainHeading(const QString& s, RgbColor color, RgbColor backcol)
{
    EnsureHelpDialog();
    helpWindow->AddMainHeading(s, color, backcol);
}

void HelpDialog::AddSubHeading(const QString& s, RgbColor color, RgbColor backcol)
{
    EnsureHelpDialog();
    helpWindow->AddSubHeading(s, color, backcol);
}

void HelpDialog::AddLine(const QString& s, RgbColor color, RgbColor backcol)
{
    EnsureHelpDialog();
    helpWindow->AddLine(s, color, backcol);
}

void HelpDialog::AddText(const QString& s, RgbColor color, RgbColor backcol)
{
    EnsureHelpDialog();
    helpWindow->AddText(s, color, backcol);
}

void HelpDialog::AddContentsMarker(const QString& alabel)
{
    EnsureHelpDialog();
    helpWindow->AddContentsMarker(alabel);
}

void HelpDialog::AddBlankLine()
{
    EnsureHelpDialog();
    helpWindow->AddBlankLine();
}

void HelpDialog::AddToHistory(int location)
{
    EnsureHelpDialog();
    helpWindow->AddToHistory(location);
}

void HelpDialog::Clear()
{
    if (helpWindow)
        helpWindow->Clear();
}

void HelpDialog::HistoryGoBack()
{
    if (helpWindow)
        helpWindow->HistoryGoBack();
}

void HelpDialog::HistoryGoForwards()
{
    if (helpWindow)
        helpWindow->HistoryGoForwards();
}

int HelpDialog::GetScrollLine()
{
    if (helpWindow)
        lastScrollLine_ = helpWindow->GetScrollLine();
    return lastScrollLine_;
}

void HelpDialog::ScrollToLine(int line)
{
    if (helpWindow)
        helpWindow->ScrollToLine(line);
    lastScrollLine_ = line;
}

QString HelpDialog::ConvertLongHTMLStringToStringLiterals(const QString& s)
{
    EnsureHelpDialog();
    return helpWindow->ConvertLongHTMLStringToStringLiterals(s);
}

bool HelpDialog::HTMLFileToStringLiteralsOnClipboard(const QString& fname)
{
    EnsureHelpDialog();
    return helpWindow->HTMLFileToStringLiteralsOnClipboard(fname);
}

void HelpDialog::SetDefaultWidthAndHeight()
{
    SetFormWidth(700);
    SetFormHeight(600);
}

void HelpDialog::SetTitle(const QString& v)
{
    title_ = v;
    if (helpWindow) {
        helpWindow->SetTitle(v);
        if (helpWindow->isVisible())
            helpWindow->setWindowTitle(v);
    }
}

void HelpDialog::SetHTMLFileName(const QString& v)
{
    htmlFileName_ = v;
    if (helpWindow)
        helpWindow->SetHTMLFileName(v);
}

QString HelpDialog::HTML() const
{
    return helpWindow ? helpWindow->Text() : html_;
}

void HelpDialog::SetHTML(const QString& v)
{
    if (helpWindow)
        helpWindow->SetHTML(v);
    else
        html_ = v;
}

QString HelpDialog::Text() const
{
    return helpWindow ? helpWindow->Text() : QString();
}

void HelpDialog::SetText(const QString& v)
{
    if (helpWindow)
        helpWindow->SetText(v);
    else
        text_ = v;
}

int HelpDialog::FormLeft() const
{
    return helpWindow ? helpWindow->x() : formLeft_;
}

void HelpDialog::SetFormLeft(int v)
{
    formLeft_ = v;
    if (helpWindow)
        helpWindow->move(v, helpWindow->y());
}

int HelpDialog::FormTop() const
{
    return helpWindow ? helpWindow->y() : formTop_;
}

void HelpDialog::SetFormTop(int v)
{
    formTop_ = v;
    if (helpWindow)
        helpWindow->move(helpWindow->x(), v);
}

int HelpDialog::FormWidth() const
{
    return helpWindow ? helpWindow->width() : formWidth_;
}

void HelpDialog::SetFormWidth(int v)
{
    formWidth_ = v;
    if (helpWindow)
        helpWindow->resize(v, helpWindow->height());
}

int HelpDialog::FormHeight() const
{
    return helpWindow ? helpWindow->height() : formHeight_;
}

void HelpDialog::SetFormHeight(int v)
{
    formHeight_ = v;
    if (helpWindow)
        helpWindow->resize(helpWindow->width(), v);
}

bool HelpDialog::Maximized() const
{
    if (helpWindow)
        maximized_ = helpWindow->isMaximized();
    return maximized_;
}

void HelpDialog::SetMaximized(bool v)
{
    maximized_ = v;
    if (helpWindow)
        helpWindow->setWindowState(v ? Qt::WindowMaximized : Qt::WindowNoState);
}

void HelpDialog::SetPosition(WindowPlacement v)
{
    position_ = v;
    if (helpWindow)
        SetFormPosition(*helpWindow, v);
}

void HelpDialog::SetFont(const QFont& v)
{
    font_ = v;
    if (helpWindow)
        helpWindow->helpView->SetBaseFont(v.family(), PointsOf(v));
}

void HelpDialog::SetColor(RgbColor v)
{
    color_ = v;
    if (helpWindow)
        helpWindow->SetColor(v);
}

void HelpDialog::SetSizeGrip(SizeGripKind v)
{
    sizeGrip_ = v;
    if (helpWindow)
        helpWindow->SetSizeGrip(v);
}

void HelpDialog::SetAllowCopy(bool v)
{
    allowCopy_ = v;
    if (helpWindow)
        helpWindow->SetAllowCopy(v);
}

void HelpDialog::SetRefreshing(bool v)
{
    refreshing_ = v;
    if (helpWindow)
        helpWindow->SetRefreshing(v);
}

} // namespace plotwell
