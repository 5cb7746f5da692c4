#pragma once
// TmfHelpDialog: the component through which a program shows help: it keeps the help window's
// settings while no window exists, creates and shows the window, and remembers where it was.

#include "core/color.h"
#include "dialogs/form_position.h"
#include "help/help_window.h"
#include "help/help_display.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace plotwell {

class TLauncher;
class TMessageSink;

class TmfHelpDialog : public QObject
{
    Q_OBJECT

public:
    // Messages go to `sink` and links open through `launcher`; the window belongs to `owner`
    // (unless shown modally). All three must outlive the component.
    TmfHelpDialog(TMessageSink& sink, TLauncher& launcher, QWidget* owner);
    ~TmfHelpDialog() override;

    QString Title() const { return FTitle; }
    void SetTitle(const QString& v);
    QString HTMLFileName() const { return FHTMLFileName; }
    void SetHTMLFileName(const QString& v);
    // Reading gives the window's text; writing without a window keeps it for the window to come.
    QString HTML() const;
    void SetHTML(const QString& v);
    QString Text() const;
    void SetText(const QString& v);
    int FormLeft() const;
    void SetFormLeft(int v);
    int FormTop() const;
    void SetFormTop(int v);
    int FormWidth() const;
    void SetFormWidth(int v);
    int FormHeight() const;
    void SetFormHeight(int v);
    bool Maximized() const;
    void SetMaximized(bool v);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition v);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int v) { FMaxLength = v; }
    QFont Font() const { return FFont; }
    void SetFont(const QFont& v);
    int FontSize() const { return FFontSize; }
    void SetFontSize(int v) { FFontSize = v; }
    bool ItalicHeading() const { return FItalicHeading; }
    void SetItalicHeading(bool v) { FItalicHeading = v; }
    double LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(double v) { FLeftMargin = v; }
    double RightMargin() const { return FRightMargin; }
    void SetRightMargin(double v) { FRightMargin = v; }
    bool AutoURLs() const { return FAutoURLs; }
    void SetAutoURLs(bool v) { FAutoURLs = v; }
    bool ShowModal() const { return FShowModal; }
    void SetShowModal(bool v) { FShowModal = v; }
    bool ShowAboutButton() const { return FShowAboutButton; }
    void SetShowAboutButton(bool v) { FShowAboutButton = v; }
    bool Refreshing() const { return FRefreshing; }
    void SetRefreshing(bool v);
    QString JumpTo() const { return FJumpTo; }
    void SetJumpTo(const QString& v) { FJumpTo = v; }
    TColor Color() const { return FColor; }
    void SetColor(TColor v);
    TSizeGrip SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(TSizeGrip v);
    bool AllowCopy() const { return FAllowCopy; }
    void SetAllowCopy(bool v);
    bool ManualScale() const { return FManualScale; }
    void SetManualScale(bool v) { FManualScale = v; }
    bool Visible() const { return HelpDialog && HelpDialog->isVisible(); }
    bool HelpDialogCreated() const { return !HelpDialog.isNull(); }
    bool IsEmpty() const { return !HelpDialog || HelpDialog->Text().trimmed().isEmpty(); }

    // Called when the window is shown, and when it closes.
    std::function<void(QObject* Sender)> OnShow;
    std::function<void(QObject* Sender)> OnClose;

    // Shows the window (creating it and loading HTMLFileName when needed) at `Topic`, or at
    // JumpTo. False when the window was already showing: it comes to the front instead; false
    // too when HTMLFileName is missing and there is nothing else to show (no window then).
    bool Execute(const QString& Topic = QString());
    bool ShowHelp() { return Execute(QString()); }
    bool ShowHelpTopic(const QString& Topic);
    void JumpToTopic(const QString& topic);

    void AddHTML(const QString& html, bool clearing);
    bool AddHTMLFromFile(const QString& fname, bool clearing);
    void AddMainHeading(const QString& s, TColor color = kUnchangedColor, TColor backcol = kUnchangedColor);
    void AddSubHeading(const QString& s, TColor color = kUnchangedColor, TColor backcol = kUnchangedColor);
    void AddLine(const QString& s, TColor color = kUnchangedColor, TColor backcol = kUnchangedColor);
    void AddText(const QString& s, TColor color = kUnchangedColor, TColor backcol = kUnchangedColor);
    void AddContentsMarker(const QString& alabel);
    void AddBlankLine();
    void AddToHistory(int location);
    void Clear();
    void HistoryGoBack();
    void HistoryGoForwards();
    int GetScrollLine();
    void ScrollToLine(int line);
    QString ConvertLongHTMLStringToStringLiterals(const QString& s);
    bool HTMLFileToStringLiteralsOnClipboard(const QString& fname);
    void SetDefaultWidthAndHeight();
    void SetDefaultFontSize() { FFontSize = 10; }

    // The window while it exists.
    QPointer<Thelpdialog> HelpDialog;

private:
    void CreateHelpDialog();
    void EnsureHelpDialog();
    bool TopicJump(const QString& topic);
    void KeepOnScreen();
    QRect ScreenArea() const;
    void WindowShown();
    void WindowClosing();

    QWidget* owner_;
    TMessageSink& sink_;
    TLauncher& launcher_;
    QString FTitle = QStringLiteral("Help");
    QString FHTMLFileName;
    QString FHTML;
    QString FText;
    int FFormLeft = 0;
    int FFormTop = 0;
    int FFormWidth = 700;
    int FFormHeight = 600;
    mutable bool FMaximized = false;
    TPosition FPosition = TPosition::poScreenCenter;
    int FMaxLength = 0;
    QFont FFont;
    int FFontSize = 12;
    bool FItalicHeading = true;
    double FLeftMargin = 0.3;
    double FRightMargin = 0.9;
    bool FAutoURLs = true;
    bool FShowModal = false;
    bool FShowAboutButton = false;
    bool FRefreshing = false;
    QString FJumpTo;
    TColor FColor;
    TSizeGrip FSizeGrip = TSizeGrip::sgStatusBar;
    bool FAllowCopy = true;
    bool FManualScale = false;
    bool clearOnClose_ = true;
    int lastScrollLine_ = 0;
};

} // namespace plotwell
