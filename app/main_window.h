#pragma once
// TForm1: Plotwell's main window. The graph control on the left, Edit, Summary, Help and About
// on the right, the statistics of the displayed data in the status line; it opens the file
// named on the command line, or the example file, and keeps its place between runs.

#include <QStringList>
#include <QWidget>

#include <memory>

class QElapsedTimer;
class QLabel;
class QProgressBar;
class QPushButton;
class QStatusBar;
class QTimer;

namespace plotwell {

class TIniSettings;
class TLauncher;
class TMessageSink;
class TPlotwell;
class TmfAboutDialog;
class TmfHelpDialog;
class TmfMemoDialog;

class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // `arguments` are the command line after the program's name. The sink shows messages and
    // the launcher opens files with their default program; both are the desktop's when null.
    explicit TForm1(const QStringList& arguments, TMessageSink* sink = nullptr, TLauncher* launcher = nullptr,
                    QWidget* parent = nullptr);
    ~TForm1() override;

    TPlotwell& Graph() const { return *graph_; }
    TmfMemoDialog& Memo() const { return *memo; }
    double ScaleAmt = 1.0;
    // The folder of the running program, with a trailing separator.
    const QString& ProgramFolder() const { return programFolder_; }
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }

    // The statistics of the displayed series, after every drawing.
    void UpdateStatusLine(QObject* sender);
    QString StatusText() const;
    void editbtnClick();
    void summarybtnClick();
    void helpbtnClick();
    void aboutbtnClick();
    TmfHelpDialog& HelpDialog() const { return *mfHelpDialog1; }
    TmfAboutDialog& AboutDialog() const { return *mfAboutDialog1; }
    // Opens the loaded file again, as choosing it with Open would.
    void ReloadFile();

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
    void OpenStartFile(const QStringList& arguments);
    void FormResize();

    std::unique_ptr<TMessageSink> ownSink_;
    std::unique_ptr<TLauncher> ownLauncher_;
    TMessageSink& sink_;
    TLauncher& launcher_;

    QStatusBar* sb = nullptr;
    QLabel* statusText_ = nullptr;
    QProgressBar* loadProgress_ = nullptr;
    QPushButton* cancelLoad_ = nullptr;
    QTimer* loadTimer_ = nullptr;
    std::unique_ptr<QElapsedTimer> loadClock_;
    TIniSettings* IniSettings1 = nullptr;
    QPushButton* editbtn = nullptr;
    QPushButton* summarybtn = nullptr;
    TmfMemoDialog* memo = nullptr;
    QPushButton* aboutbtn = nullptr;
    QPushButton* helpbtn = nullptr;
    TmfHelpDialog* mfHelpDialog1 = nullptr;
    TmfAboutDialog* mfAboutDialog1 = nullptr;
    TPlotwell* graph_ = nullptr;
    QString commandLineFileName_;
    QString programFolder_;
    bool positionSaved_ = false;
};

} // namespace plotwell
