#pragma once
// MainWindow: Plotwell's main window. The graph control on the left, Edit, Summary, Help and About
// on the right, the statistics of the displayed data in the status line; it opens the file
// named on the command line, or the example file, and keeps its place between runs.

#include <QStringList>
#include <QWidget>

#include <memory>

class QAction;
class QElapsedTimer;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTimer;

namespace plotwell {

class FileWatch;
class IniSettings;
class Launcher;
class MessageSink;
class GraphControl;
class AboutDialog;
class HelpDialog;
class MemoDialog;

class MainWindow : public QWidget
{
    Q_OBJECT

public:
    // `arguments` are the command line after the program's name. The sink shows messages and
    // the launcher opens files with their default program; both are the desktop's when null.
    explicit MainWindow(const QStringList& arguments, MessageSink* sink = nullptr, Launcher* launcher = nullptr,
                    QWidget* parent = nullptr);
    ~MainWindow() override;

    GraphControl& Graph() const { return *graphControl_; }
    MemoDialog& Memo() const { return *memo_; }
    double scaleAmt = 1.0;
    // The folder of the running program, with a trailing separator.
    const QString& ProgramFolder() const { return programFolder_; }
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }

    // The statistics of the displayed series, after every drawing.
    void UpdateStatusLine(QObject* sender);
    QString StatusText() const;
    void EditButtonClick();
    void SummaryButtonClick();
    void HelpButtonClick();
    void AboutButtonClick();
    HelpDialog& HelpComponent() const { return *helpDialog_; }
    AboutDialog& AboutComponent() const { return *aboutDialog_; }
    // Opens the loaded file again, as choosing it with Open would.
    void ReloadFile();
    // What the status line says beside the figures: columns a load left out, a reload that failed.
    QString StatusNotice() const;
    FileWatch& Watch() const { return *fileWatch_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildWindow();
    void BuildDialogComponents();
    void BuildLoadProgress();
    void ShowLoading(bool loading);
    void ShowLoadProgress();
    void AddShortcuts();
    // Follows the loaded file on disk, with its switch in the graph's context menu.
    void BuildFileWatch();
    void OpenStartFile(const QStringList& arguments);
    void FormResize();
    void ShowNotice(const QString& text);

    std::unique_ptr<MessageSink> ownSink_;
    std::unique_ptr<Launcher> ownLauncher_;
    MessageSink& sink_;
    Launcher& launcher_;

    QStatusBar* statusBar_ = nullptr;
    QLabel* statusText_ = nullptr;
    QLabel* statusNotice_ = nullptr;
    FileWatch* fileWatch_ = nullptr;
    QProgressBar* loadProgress_ = nullptr;
    QPushButton* cancelLoad_ = nullptr;
    QTimer* loadTimer_ = nullptr;
    std::unique_ptr<QElapsedTimer> loadClock_;
    IniSettings* iniSettings_ = nullptr;
    QPushButton* editButton_ = nullptr;
    QPushButton* summaryButton_ = nullptr;
    MemoDialog* memo_ = nullptr;
    QPushButton* aboutButton_ = nullptr;
    QPushButton* helpButton_ = nullptr;
    HelpDialog* helpDialog_ = nullptr;
    AboutDialog* aboutDialog_ = nullptr;
    GraphControl* graphControl_ = nullptr;
    QString commandLineFileName_;
    QString programFolder_;
    bool positionSaved_ = false;
};

} // namespace plotwell
