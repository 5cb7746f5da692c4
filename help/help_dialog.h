#pragma once
// HelpDialog: the component through which a program shows help: it keeps the help window's
// settings while no window exists, creates and shows the window, and remembers where it was.

#include "core/color.h"
#include "dialogs/form_position.h"
#include "help/help_window.h"
#include "help/help_view.h"

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

namespace plotwell {

class Launcher;
class MessageSink;

class HelpDialog : public QObject
{
    Q_OBJECT

public:
    // Messages go to `sink` and links open through `launcher`; the window belongs to `owner`
    // (unless shown modally). All three must outlive the component.
    HelpDialog(MessageSink& sink, Launcher& launcher, QWidget* owner);
    ~HelpDialog() override;

    QString Title() const { return title_; }
    void SetTitle(const QString& v);
    QString HTMLFileName() const { return htmlFileName_; }
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
    WindowPlacement Position() const { return position_; }
    void SetPosition(WindowPlacement v);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v) { maxLength_ = v; }
    QFont Font() const { return font_; }
    void SetFont(const QFont& v);
    int FontSize() const { return fontSize_; }
    void SetFontSize(int v) { fontSize_ = v; }
    bool ItalicHeading() const { return italicHeading_; }
    void SetItalicHeading(bool v) { italicHeading_ = v; }
    double LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(double v) { leftMargin_ = v; }
    double RightMargin() const { return rightMargin_; }
    void SetRightMargin(double v) { rightMargin_ = v; }
    bool AutoURLs() const { return autoURLs_; }
    void SetAutoURLs(bool v) { autoURLs_ = v; }
    bool ShowModal() const { return showModal_; }
    void SetShowModal(bool v) { showModal_ = v; }
    bool ShowAboutButton() const { return showAboutButton_; }
    void SetShowAboutButton(bool v) { showAboutButton_ = v; }
    bool Refreshing() const { return refreshing_; }
    void SetRefreshing(bool v);
    QString JumpTo() const { return jumpTo_; }
    void SetJumpTo(const QString& v) { jumpTo_ = v; }
    RgbColor Color() const { return color_; }
    void SetColor(RgbColor v);
    SizeGripKind SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(SizeGripKind v);
    bool AllowCopy() const { return allowCopy_; }
    void SetAllowCopy(bool v);
    bool ManualScale() const { return manualScale_; }
    void SetManualScale(bool v) { manualScale_ = v; }
    bool Visible() const { return helpWindow && helpWindow->isVisible(); }
    bool HelpDialogCreated() const { return !helpWindow.isNull(); }
    bool IsEmpty() const { return !helpWindow || helpWindow->Text().trimmed().isEmpty(); }

    // Called when the window is shown, and when it closes.
    std::function<void(QObject* Sender)> onShow;
    std::function<void(QObject* Sender)> onClose;

    // Shows the window (creating it and loading HTMLFileName when needed) at `Topic`, or at
    // JumpTo. False when the window was already showing: it comes to the front instead; false
    // too when HTMLFileName is missing and there is nothing else to show (no window then).
    bool Execute(const QString& Topic = QString());
    bool ShowHelp() { return Execute(QString()); }
    bool ShowHelpTopic(const QString& Topic);
    void JumpToTopic(const QString& topic);

    void AddHTML(const QString& html, bool clearing);
    bool AddHTMLFromFile(const QString& fname, bool clearing);
    void AddMainHeading(const QString& s, RgbColor color = kUnchangedColor, RgbColor backcol = kUnchangedColor);
    void AddSubHeading(const QString& s, RgbColor color = kUnchangedColor, RgbColor backcol = kUnchangedColor);
    void AddLine(const QString& s, RgbColor color = kUnchangedColor, RgbColor backcol = kUnchangedColor);
    void AddText(const QString& s, RgbColor color = kUnchangedColor, RgbColor backcol = kUnchangedColor);
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
    void SetDefaultFontSize() { fontSize_ = 10; }

    // The window while it exists.
    QPointer<HelpWindow> helpWindow;

private:
    void CreateHelpDialog();
    void EnsureHelpDialog();
    bool TopicJump(const QString& topic);
    void KeepOnScreen();
    QRect ScreenArea() const;
    void WindowShown();
    void WindowClosing();

    QWidget* owner_;
    MessageSink& sink_;
    Launcher& launcher_;
    QString title_ = QStringLiteral("Help");
    QString htmlFileName_;
    QString html_;
    QString text_;
    int formLeft_ = 0;
    int formTop_ = 0;
    int formWidth_ = 700;
    int formHeight_ = 600;
    mutable bool maximized_ = false;
    WindowPlacement position_ = WindowPlacement::ScreenCenter;
    int maxLength_ = 0;
    QFont font_;
    int fontSize_ = 12;
    bool italicHeading_ = true;
    double leftMargin_ = 0.3;
    double rightMargin_ = 0.9;
    bool autoURLs_ = true;
    bool showModal_ = false;
    bool showAboutButton_ = false;
    bool refreshing_ = false;
    QString jumpTo_;
    RgbColor color_;
    SizeGripKind sizeGrip_ = SizeGripKind::StatusBar;
    bool allowCopy_ = true;
    bool manualScale_ = false;
    bool clearOnClose_ = true;
    int lastScrollLine_ = 0;
};

} // namespace plotwell
