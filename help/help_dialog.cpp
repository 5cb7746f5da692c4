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

TmfHelpDialog::TmfHelpDialog(TMessageSink& sink, TLauncher& launcher, QWidget* owner)
    : QObject(owner), owner_(owner), sink_(sink), launcher_(launcher), FFont(DefaultHelpFont()),
      FFontSize(PointsOf(FFont)), FColor(FromQColor(QApplication::palette().color(QPalette::Base)))
{
    const QRect area = ScreenArea();
    FFormLeft = area.width() / 2 - FFormWidth / 2;
    FFormTop = area.height() / 2 - FFormHeight / 2;
}

TmfHelpDialog::~TmfHelpDialog()
{
    delete HelpDialog.data();
}

QRect TmfHelpDialog::ScreenArea() const
{
    const QScreen* screen = owner_ && owner_->screen() ? owner_->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

void TmfHelpDialog::CreateHelpDialog()
{
    auto* dialog = new Thelpdialog(sink_, launcher_, FShowModal ? nullptr : owner_);
    HelpDialog = dialog;
    SetFormPosition(*dialog, FPosition);
    dialog->move(FFormLeft, FFormTop);
    dialog->resize(FFormWidth, FFormHeight);
    dialog->setWindowState(FMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
    dialog->SetSizeGrip(FSizeGrip);
    dialog->SetTitle(FTitle);
    dialog->SetColor(FColor);
    dialog->SetRefreshing(FRefreshing);
    dialog->SetClearOnCloseDialog(clearOnClose_);
    dialog->HelpDisplay->SetBaseFont(FFont.family(), PointsOf(FFont));
    if (!FText.isEmpty()) {
        dialog->SetText(FText);
        FText.clear();
    }
    if (!FHTML.isEmpty()) {
        dialog->SetHTML(FHTML);
        FHTML.clear();
    }
    dialog->SetAllowCopy(FAllowCopy);
    dialog->OnShow = [this] { WindowShown(); };
    dialog->OnClose = [this] { WindowClosing(); };
}

void TmfHelpDialog::EnsureHelpDialog()
{
    if (!HelpDialog)
        CreateHelpDialog();
}

void TmfHelpDialog::WindowShown()
{
    QPalette p = HelpDialog->contentslb->palette();
    p.setColor(QPalette::Base, HelpDialog->HelpDisplay->palette().color(QPalette::Base));
    HelpDialog->contentslb->setPalette(p);
    if (OnShow)
        OnShow(this);
}

void TmfHelpDialog::WindowClosing()
{
    Thelpdialog* dialog = HelpDialog;
    FMaximized = dialog->isMaximized();
    if (!FMaximized) {
        FFormLeft = dialog->x();
        FFormTop = dialog->y();
        FFormWidth = dialog->width();
        FFormHeight = dialog->height();
    }
    if (OnClose)
        OnClose(dialog);
    // Released once the closing is over; the next Execute builds a new window.
    dialog->deleteLater();
}

bool TmfHelpDialog::TopicJump(const QString& topic)
{
    const QString wanted = topic.isEmpty() ? FJumpTo : topic;
    if (wanted.isEmpty() || !HelpDialog)
        return false;
    if (HelpDialog->JumpToContentItem(wanted))
        return true;
    sink_.ShowMessage(QStringLiteral("Topic not found"));
    return false;
}

void TmfHelpDialog::KeepOnScreen()
{
    const QRect area = ScreenArea();
    Thelpdialog* dialog = HelpDialog;
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

bool TmfHelpDialog::Execute(const QString& Topic)
{
    const QString topic = Topic.trimmed();
    EnsureHelpDialog();
    Thelpdialog* dialog = HelpDialog;
    dialog->SetSizeGrip(FSizeGrip);
    if (!FHTMLFileName.isEmpty())
        dialog->SetHTMLFileName(FHTMLFileName);
    dialog->SetShowAboutButton(FShowAboutButton);

    if (dialog->isVisible()) {
        dialog->setWindowState(dialog->windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        dialog->raise();
        dialog->activateWindow();
        if (dialog->contentslb->isVisible())
            dialog->contentslb->setFocus();
        if (!FManualScale)
            TopicJump(topic);
        return false;
    }

    // The page could not be read (the view has said so) and there is nothing else to show:
    // no empty window after the message.
    if (!FHTMLFileName.isEmpty() && IsEmpty() && !QFileInfo(FHTMLFileName).isFile()) {
        delete HelpDialog.data();
        return false;
    }

    THelpDisplay* view = dialog->HelpDisplay;
    view->SetItalicHeading(FItalicHeading);
    view->SetLeftMargin(FLeftMargin);
    view->SetRightMargin(FRightMargin);
    view->SetAutoURLs(FAutoURLs);
    dialog->SetAllowCopy(FAllowCopy);
    view->SetBaseFontSize(FFontSize);
    if (IsCentred(FPosition)) {
        const QRect area = ScreenArea();
        dialog->move(area.x() + (area.width() - dialog->width()) / 2, area.y() + (area.height() - dialog->height()) / 2);
    }
    KeepOnScreen();
    if (FManualScale) {
        TFormScaler scaler;
        scaler.StandardizeFormFont(dialog, false);
    }
    dialog->SetShowingModally(FShowModal);
    if (FShowModal) {
        dialog->SetPendingTopic(topic.isEmpty() ? FJumpTo : topic);
        dialog->exec();
        delete HelpDialog.data();
        return true;
    }
    dialog->show();
    TopicJump(topic);
    return true;
}

bool TmfHelpDialog::ShowHelpTopic(const QString& Topic)
{
    const QString topic = Topic.trimmed();
    if (topic.isEmpty())
        return false;
    return Execute(topic);
}

void TmfHelpDialog::JumpToTopic(const QString& topic)
{
    if (HelpDialog)
        TopicJump(topic.trimmed());
}

void TmfHelpDialog::AddHTML(const QString& html, bool clearing)
{
    EnsureHelpDialog();
    if (!HelpDialog) {
        sink_.ShowMessage(QStringLiteral("Cannot add HTML because the help dialog is not created"));
        return;
    }
    HelpDialog->AddHTML(html, clearing);
}

bool TmfHelpDialog::AddHTMLFromFile(const QString& fname, bool clearing)
{
    EnsureHelpDialog();
    if (!HelpDialog) {
        sink_.ShowMessage(QStringLiteral("Help dialog not created"));
        return false;
    }
    return HelpDialog->AddHTMLFromFile(fname, clearing);
}

void TmfHelpDialog::AddMainHeading(const QString& s, TColor color, TColor backcol)
{
    EnsureHelpDialog();
    HelpDialog->AddMainHeading(s, color, backcol);
}

void TmfHelpDialog::AddSubHeading(const QString& s, TColor color, TColor backcol)
{
    EnsureHelpDialog();
    HelpDialog->AddSubHeading(s, color, backcol);
}

void TmfHelpDialog::AddLine(const QString& s, TColor color, TColor backcol)
{
    EnsureHelpDialog();
    HelpDialog->AddLine(s, color, backcol);
}

void TmfHelpDialog::AddText(const QString& s, TColor color, TColor backcol)
{
    EnsureHelpDialog();
    HelpDialog->AddText(s, color, backcol);
}

void TmfHelpDialog::AddContentsMarker(const QString& alabel)
{
    EnsureHelpDialog();
    HelpDialog->AddContentsMarker(alabel);
}

void TmfHelpDialog::AddBlankLine()
{
    EnsureHelpDialog();
    HelpDialog->AddBlankLine();
}

void TmfHelpDialog::AddToHistory(int location)
{
    EnsureHelpDialog();
    HelpDialog->AddToHistory(location);
}

void TmfHelpDialog::Clear()
{
    if (HelpDialog)
        HelpDialog->Clear();
}

void TmfHelpDialog::HistoryGoBack()
{
    if (HelpDialog)
        HelpDialog->HistoryGoBack();
}

void TmfHelpDialog::HistoryGoForwards()
{
    if (HelpDialog)
        HelpDialog->HistoryGoForwards();
}

int TmfHelpDialog::GetScrollLine()
{
    if (HelpDialog)
        lastScrollLine_ = HelpDialog->GetScrollLine();
    return lastScrollLine_;
}

void TmfHelpDialog::ScrollToLine(int line)
{
    if (HelpDialog)
        HelpDialog->ScrollToLine(line);
    lastScrollLine_ = line;
}

QString TmfHelpDialog::ConvertLongHTMLStringToStringLiterals(const QString& s)
{
    EnsureHelpDialog();
    return HelpDialog->ConvertLongHTMLStringToStringLiterals(s);
}

bool TmfHelpDialog::HTMLFileToStringLiteralsOnClipboard(const QString& fname)
{
    EnsureHelpDialog();
    return HelpDialog->HTMLFileToStringLiteralsOnClipboard(fname);
}

void TmfHelpDialog::SetDefaultWidthAndHeight()
{
    SetFormWidth(700);
    SetFormHeight(600);
}

void TmfHelpDialog::SetTitle(const QString& v)
{
    FTitle = v;
    if (HelpDialog) {
        HelpDialog->SetTitle(v);
        if (HelpDialog->isVisible())
            HelpDialog->setWindowTitle(v);
    }
}

void TmfHelpDialog::SetHTMLFileName(const QString& v)
{
    FHTMLFileName = v;
    if (HelpDialog)
        HelpDialog->SetHTMLFileName(v);
}

QString TmfHelpDialog::HTML() const
{
    return HelpDialog ? HelpDialog->Text() : FHTML;
}

void TmfHelpDialog::SetHTML(const QString& v)
{
    if (HelpDialog)
        HelpDialog->SetHTML(v);
    else
        FHTML = v;
}

QString TmfHelpDialog::Text() const
{
    return HelpDialog ? HelpDialog->Text() : QString();
}

void TmfHelpDialog::SetText(const QString& v)
{
    if (HelpDialog)
        HelpDialog->SetText(v);
    else
        FText = v;
}

int TmfHelpDialog::FormLeft() const
{
    return HelpDialog ? HelpDialog->x() : FFormLeft;
}

void TmfHelpDialog::SetFormLeft(int v)
{
    FFormLeft = v;
    if (HelpDialog)
        HelpDialog->move(v, HelpDialog->y());
}

int TmfHelpDialog::FormTop() const
{
    return HelpDialog ? HelpDialog->y() : FFormTop;
}

void TmfHelpDialog::SetFormTop(int v)
{
    FFormTop = v;
    if (HelpDialog)
        HelpDialog->move(HelpDialog->x(), v);
}

int TmfHelpDialog::FormWidth() const
{
    return HelpDialog ? HelpDialog->width() : FFormWidth;
}

void TmfHelpDialog::SetFormWidth(int v)
{
    FFormWidth = v;
    if (HelpDialog)
        HelpDialog->resize(v, HelpDialog->height());
}

int TmfHelpDialog::FormHeight() const
{
    return HelpDialog ? HelpDialog->height() : FFormHeight;
}

void TmfHelpDialog::SetFormHeight(int v)
{
    FFormHeight = v;
    if (HelpDialog)
        HelpDialog->resize(HelpDialog->width(), v);
}

bool TmfHelpDialog::Maximized() const
{
    if (HelpDialog)
        FMaximized = HelpDialog->isMaximized();
    return FMaximized;
}

void TmfHelpDialog::SetMaximized(bool v)
{
    FMaximized = v;
    if (HelpDialog)
        HelpDialog->setWindowState(v ? Qt::WindowMaximized : Qt::WindowNoState);
}

void TmfHelpDialog::SetPosition(TPosition v)
{
    FPosition = v;
    if (HelpDialog)
        SetFormPosition(*HelpDialog, v);
}

void TmfHelpDialog::SetFont(const QFont& v)
{
    FFont = v;
    if (HelpDialog)
        HelpDialog->HelpDisplay->SetBaseFont(v.family(), PointsOf(v));
}

void TmfHelpDialog::SetColor(TColor v)
{
    FColor = v;
    if (HelpDialog)
        HelpDialog->SetColor(v);
}

void TmfHelpDialog::SetSizeGrip(TSizeGrip v)
{
    FSizeGrip = v;
    if (HelpDialog)
        HelpDialog->SetSizeGrip(v);
}

void TmfHelpDialog::SetAllowCopy(bool v)
{
    FAllowCopy = v;
    if (HelpDialog)
        HelpDialog->SetAllowCopy(v);
}

void TmfHelpDialog::SetRefreshing(bool v)
{
    FRefreshing = v;
    if (HelpDialog)
        HelpDialog->SetRefreshing(v);
}

} // namespace plotwell
