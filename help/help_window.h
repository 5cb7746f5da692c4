#pragma once
// Thelpdialog: the help window: the help view with its contents list, history buttons, copying,
// searching, an optional About button and a status bar for link targets.

#include "core/color.h"

#include <QDialog>
#include <QPointer>

#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QSizeGrip;
class QStatusBar;
class QToolButton;

namespace plotwell {

class TFindDialog;
class THelpDisplay;
class TLauncher;
class TMessageSink;
class TmfAboutDialog;

enum class TSizeGrip { sgNone, sgStatusBar, sgCustom };

class Thelpdialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 682;
    static constexpr int kClientHeight = 518;

    // Messages go to `sink` and links open through `launcher`; both must outlive the window.
    Thelpdialog(TMessageSink& sink, TLauncher& launcher, QWidget* parent = nullptr);
    ~Thelpdialog() override;

    QString Title() const { return FTitle; }
    void SetTitle(const QString& title) { FTitle = title; }
    QString Text() const;
    void SetText(const QString& text);
    QString HTML() const;
    void SetHTML(const QString& html);
    QString HTMLFileName() const { return FHTMLFileName; }
    // Loads the file only into an empty view, so text built before stays.
    void SetHTMLFileName(const QString& name);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    bool AllowCopy() const { return FAllowCopy; }
    void SetAllowCopy(bool on);
    TSizeGrip SizeGrip() const { return FSizeGrip; }
    void SetSizeGrip(TSizeGrip grip);
    double LeftMargin() const { return FLeftMargin; }
    void SetLeftMargin(double cm) { FLeftMargin = cm; }
    double RightMargin() const { return FRightMargin; }
    void SetRightMargin(double cm) { FRightMargin = cm; }
    bool AutoURLs() const { return FAutoURLs; }
    void SetAutoURLs(bool on) { FAutoURLs = on; }
    bool ClearOnCloseDialog() const { return FClearOnCloseDialog; }
    void SetClearOnCloseDialog(bool on) { FClearOnCloseDialog = on; }
    bool ShowAboutButton() const { return FShowAboutButton; }
    void SetShowAboutButton(bool on);
    bool Refreshing() const { return FRefreshing; }
    void SetRefreshing(bool on);
    bool ShowingModally() const { return FShowingModally; }
    void SetShowingModally(bool on) { FShowingModally = on; }

    void AddHTML(const QString& html, bool clearing);
    bool AddHTMLFromFile(const QString& fname, bool clearing);
    void AddContentsMarker(const QString& alabel);
    void AddMainHeading(const QString& s, TColor color, TColor backcol);
    void AddSubHeading(const QString& s, TColor color, TColor backcol);
    void AddLine(const QString& s, TColor color, TColor backcol);
    void AddText(const QString& s, TColor color, TColor backcol);
    void AddBlankLine();
    void AddToHistory(int location);
    void HistoryGoBack();
    void HistoryGoForwards();
    int GetScrollLine() const;
    void ScrollToLine(int line);
    QString ConvertLongHTMLStringToStringLiterals(const QString& s);
    bool HTMLFileToStringLiteralsOnClipboard(const QString& fname);

    void Clear();
    void UpdateContents();
    // Selects the contents entry named `item` (blanks and letter case aside) and shows it; false
    // when there is none.
    bool JumpToContentItem(const QString& item);
    // A topic to jump to once the window is shown; "Topic not found" when it names no entry.
    void SetPendingTopic(const QString& topic) { pendingTopic_ = topic; }

    // The visible lines of the view, each followed by "\r\n".
    QString VisibleText() const;
    // Copy, Search, Back and Forward as their buttons do.
    void CopyVisibleText();
    void OpenSearch();
    // One find request of the search box.
    void FindNext(const QString& text, bool matchCase, bool wholeWord);
    // Whether the window handled a key before its controls; the keys of the help window.
    bool HandleKey(QKeyEvent* event);

    THelpDisplay* HelpDisplay;
    QLabel* contentslabel;
    QListWidget* contentslb;
    QToolButton* backbtn;
    QToolButton* Forwardsbtn;
    QToolButton* copybtn;
    QToolButton* findbtn;
    QPushButton* closebtn;
    QPushButton* aboutbtn;
    QStatusBar* sb;
    TFindDialog* HelpFindDialog;
    TmfAboutDialog* mfAboutDialog1;

    // Followed by the help dialog component.
    std::function<void()> OnShow;
    std::function<void()> OnClose;
    std::function<void()> OnDestroy;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void LayoutControls();
    // The contents list and the view's place for the view's current contents.
    void ShowContents();
    void ContentsItemChosen(int row);
    bool WheelOverView(QWheelEvent* event);
    bool WheelOverContents(QWheelEvent* event);
    void RefuseCopy(bool tell);
    void FilterChildren();
    void ApplySizeGrip();

    TMessageSink& sink_;
    QString FTitle;
    QString FHTMLFileName;
    TColor FColor;
    bool FAllowCopy = true;
    TSizeGrip FSizeGrip = TSizeGrip::sgStatusBar;
    double FLeftMargin = 0.3;
    double FRightMargin = 0.9;
    bool FAutoURLs = true;
    bool FClearOnCloseDialog = false;
    bool FShowAboutButton = false;
    bool FRefreshing = false;
    bool FShowingModally = false;
    QSizeGrip* grip_;
    QString pendingTopic_;
    int numfindfound = 0;
    int startingpos = 0;
};

} // namespace plotwell
