#pragma once
// HelpWindow: the help window: the help view with its contents list, history buttons, copying,
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

class FindDialog;
class HelpView;
class Launcher;
class MessageSink;
class AboutDialog;

enum class SizeGripKind { None, StatusBar, Custom };

class HelpWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 682;
    static constexpr int kClientHeight = 518;

    // Messages go to `sink` and links open through `launcher`; both must outlive the window.
    HelpWindow(MessageSink& sink, Launcher& launcher, QWidget* parent = nullptr);
    ~HelpWindow() override;

    QString Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }
    QString Text() const;
    void SetText(const QString& text);
    QString HTML() const;
    void SetHTML(const QString& html);
    QString HTMLFileName() const { return htmlFileName_; }
    // Loads the file only into an empty view, so text built before stays.
    void SetHTMLFileName(const QString& name);
    RgbColor Color() const { return color_; }
    void SetColor(RgbColor color);
    bool AllowCopy() const { return allowCopy_; }
    void SetAllowCopy(bool on);
    SizeGripKind SizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(SizeGripKind grip);
    double LeftMargin() const { return leftMargin_; }
    void SetLeftMargin(double cm) { leftMargin_ = cm; }
    double RightMargin() const { return rightMargin_; }
    void SetRightMargin(double cm) { rightMargin_ = cm; }
    bool AutoURLs() const { return autoURLs_; }
    void SetAutoURLs(bool on) { autoURLs_ = on; }
    bool ClearOnCloseDialog() const { return clearOnCloseDialog_; }
    void SetClearOnCloseDialog(bool on) { clearOnCloseDialog_ = on; }
    bool ShowAboutButton() const { return showAboutButton_; }
    void SetShowAboutButton(bool on);
    bool Refreshing() const { return refreshing_; }
    void SetRefreshing(bool on);
    bool ShowingModally() const { return showingModally_; }
    void SetShowingModally(bool on) { showingModally_ = on; }

    void AddHTML(const QString& html, bool clearing);
    bool AddHTMLFromFile(const QString& fname, bool clearing);
    void AddContentsMarker(const QString& alabel);
    void AddMainHeading(const QString& s, RgbColor color, RgbColor backcol);
    void AddSubHeading(const QString& s, RgbColor color, RgbColor backcol);
    void AddLine(const QString& s, RgbColor color, RgbColor backcol);
    void AddText(const QString& s, RgbColor color, RgbColor backcol);
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

    HelpView* helpView;
    QLabel* contentslabel;
    QListWidget* contentslb;
    QToolButton* backbtn;
    QToolButton* forwardsbtn;
    QToolButton* copybtn;
    QToolButton* findbtn;
    QPushButton* closebtn;
    QPushButton* aboutbtn;
    QStatusBar* sb;
    FindDialog* helpFindDialog;
    AboutDialog* aboutDialog;

    // Followed by the help dialog component.
    std::function<void()> onShow;
    std::function<void()> onClose;
    std::function<void()> onDestroy;

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

    MessageSink& sink_;
    QString title_;
    QString htmlFileName_;
    RgbColor color_;
    bool allowCopy_ = true;
    SizeGripKind sizeGrip_ = SizeGripKind::StatusBar;
    double leftMargin_ = 0.3;
    double rightMargin_ = 0.9;
    bool autoURLs_ = true;
    bool clearOnCloseDialog_ = false;
    bool showAboutButton_ = false;
    bool refreshing_ = false;
    bool showingModally_ = false;
    QSizeGrip* grip_;
    QString pendingTopic_;
    int findCount_ = 0;
    int startingPos_ = 0;
};

} // namespace plotwell
