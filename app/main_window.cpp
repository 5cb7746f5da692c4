#include "app/main_window.h"

#include "app/shared_files.h"
#include "app/temporary_points_file.h"
#include "control/file_watch.h"
#include "control/graph_control.h"
#include "core/message_sink.h"
#include "core/rounding.h"
#include "core/version.h"
#include "dialogs/plain_text.h"
#include "dialogs/about_dialog.h"
#include "dialogs/anchors.h"
#include "dialogs/desktop_launcher.h"
#include "dialogs/form_scaling.h"
#include "dialogs/memo_dialog.h"
#include "dialogs/message_box_sink.h"
#include "graph/data/status_texts.h"
#include "help/help_dialog.h"
#include "settings/ini_settings.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>

namespace plotwell {

namespace {

// 39 pixels taller than the window was designed: at 461 the Display Series row of the graph's
// panel falls below the graph's bottom edge.
constexpr QSize kClientSize(684, 500);
// The minimum window of 600 x 500 less a window frame.
constexpr QSize kMinimumClientSize(600 - 16, 500 - 39);
constexpr int kStatusHeight = 19;
// The graph ends 40 pixels above the bottom of the window's client area.
constexpr int kGraphBottomMargin = 40;
constexpr int kGraphRightMargin = 95;
const QString kExampleFile = QStringLiteral("example points 1 - simple series.txt");
// A load shows its progress only when it lasts: small files look as if they loaded at once.
constexpr int kProgressDelayMs = 300;
constexpr int kProgressStepMs = 100;

QPushButton* AddButton(QWidget* window, const QString& name, const QString& caption, const QString& hint, QRect rect,
                       Qt::Edges anchors)
{
    auto* button = new QPushButton(caption, window);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setGeometry(rect);
    AnchorLayout::SetAnchors(button, anchors);
    return button;
}

// A text field has its own Ctrl+C.
bool IsTextField(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

QString FirstLocalFile(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls())
        return QString();
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return QString();
}

} // namespace

MainWindow::MainWindow(const QStringList& arguments, MessageSink* sink, Launcher* launcher, QWidget* parent)
    : QWidget(parent), ownSink_(sink ? nullptr : std::make_unique<MessageBoxSink>(this)),
      ownLauncher_(launcher ? nullptr : std::make_unique<DesktopLauncher>()), sink_(sink ? *sink : *ownSink_),
      launcher_(launcher ? *launcher : *ownLauncher_)
{
    QApplication::setApplicationDisplayName(QStringLiteral("Plotwell"));
    setWindowTitle(QStringLiteral("Plotwell"));
    BuildWindow();

    graphControl_ = new GraphControl(sink_, this);
    QFont graphFont = graphControl_->font();
    graphFont.setPointSize(9);
    graphControl_->setFont(graphFont);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.width() / 2 - width() / 2, area.height() / 2 - height() / 2);
    }
    scaleAmt = FormScaler().ScaleAmountOf(this);
    graphControl_->scaleAmt = scaleAmt;
    editButton_->show();

    iniSettings_ = new IniSettings(&sink_, this);
    iniSettings_->SetIniFileName(QString());
    iniSettings_->SetProductName(QStringLiteral("Plotwell"));
    programFolder_ = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
    iniSettings_->ReadWindowPos(this, QString());

    graphControl_->SetLineWidth(2);
    graphControl_->SetOnGraphDrawn([this](QObject* sender) { UpdateStatusLine(sender); });
    // onGraphDrawn is raised only by drawings that found data; the status line follows the
    // others too, so that it never shows the figures of a graph that is gone.
    connect(graphControl_, &GraphControl::drawn, this, [this] {
        if (!graphControl_->LastDrawing().foundData)
            UpdateStatusLine(graphControl_);
    });
    BuildLoadProgress();
    BuildFileWatch();
    AddShortcuts();
    setTabOrder(editButton_, summaryButton_);
    setTabOrder(summaryButton_, helpButton_);
    setTabOrder(helpButton_, aboutButton_);
    FormResize();
    OpenStartFile(arguments);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setAcceptDrops(true);
    QFont windowFont = font();
    windowFont.setPointSize(8);
    setFont(windowFont);
    resize(kClientSize);
    setMinimumSize(kMinimumClientSize);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName(QStringLiteral("sb"));
    statusBar_->setGeometry(0, kClientSize.height() - kStatusHeight, kClientSize.width(), kStatusHeight);
    statusText_ = new QLabel(statusBar_);
    statusText_->setObjectName(QStringLiteral("statustext"));
    statusText_->setTextFormat(Qt::PlainText);
    // A screen reader reads the statistics themselves as the label's name.
    statusText_->setAccessibleDescription(QStringLiteral("Status line"));
    statusBar_->addWidget(statusText_, 1);
    AnchorLayout::SetAnchors(statusBar_, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);

    const Qt::Edges topRight = Qt::TopEdge | Qt::RightEdge;
    const Qt::Edges bottomRight = Qt::BottomEdge | Qt::RightEdge;
    editButton_ = AddButton(this, QStringLiteral("editbtn"), QStringLiteral("&Edit"),
                        QStringLiteral("Edit points (F5 opens the file again)"), QRect(615, 26, 60, 23), topRight);
    summaryButton_ = AddButton(this, QStringLiteral("summarybtn"), QStringLiteral("&Summary"),
                           QStringLiteral("Summary information for each series"), QRect(615, 66, 60, 23), topRight);
    helpButton_ = AddButton(this, QStringLiteral("helpbtn"), QStringLiteral("Help"), QStringLiteral("Help (F1)"),
                        QRect(615, 366, 60, 25), bottomRight);
    aboutButton_ = AddButton(this, QStringLiteral("aboutbtn"), QStringLiteral("About"), QString(), QRect(616, 397, 60, 25),
                         bottomRight);
    connect(editButton_, &QPushButton::clicked, this, &MainWindow::EditButtonClick);
    connect(summaryButton_, &QPushButton::clicked, this, &MainWindow::SummaryButtonClick);
    connect(helpButton_, &QPushButton::clicked, this, &MainWindow::HelpButtonClick);
    connect(aboutButton_, &QPushButton::clicked, this, &MainWindow::AboutButtonClick);
    BuildDialogComponents();
}

// The memo_, help and about components with their designed settings; the buttons set what
// changes before each use.
void MainWindow::BuildDialogComponents()
{
    memo_ = new MemoDialog(sink_, launcher_, this);
    memo_->SetTitle(QStringLiteral("Notes"));
    memo_->SetFormWidth(458);
    memo_->SetFormHeight(352);
    memo_->SetPosition(WindowPlacement::ScreenCenter);
    memo_->SetMaxLength(0);
    QFont memoFont(QStringLiteral("Calibri"));
    memoFont.setPixelSize(16);
    memo_->SetFont(memoFont);
    memo_->SetReadOnly(false);
    memo_->SetModal(true);
    memo_->SetScaleAmt(1.0);

    helpDialog_ = new HelpDialog(sink_, launcher_, this);
    helpDialog_->SetTitle(QStringLiteral("Help"));
    helpDialog_->SetFormLeft(610);
    helpDialog_->SetFormTop(240);
    helpDialog_->SetFormWidth(700);
    helpDialog_->SetMaximized(false);
    helpDialog_->SetPosition(WindowPlacement::ScreenCenter);
    helpDialog_->SetMaxLength(0);
    QFont helpFont(QStringLiteral("Calibri"));
    helpFont.setPixelSize(16);
    helpDialog_->SetFont(helpFont);
    helpDialog_->SetFontSize(12);
    helpDialog_->SetItalicHeading(true);
    helpDialog_->SetLeftMargin(0.3);
    helpDialog_->SetRightMargin(0.9);
    helpDialog_->SetShowModal(false);
    helpDialog_->SetColor(FromQColor(palette().color(QPalette::Base)));
    helpDialog_->SetSizeGrip(SizeGripKind::StatusBar);
    helpDialog_->SetAllowCopy(true);
    helpDialog_->SetManualScale(true);

    aboutDialog_ = new AboutDialog(launcher_, this);
    aboutDialog_->SetTitle(QStringLiteral("About this program"));
    aboutDialog_->SetVersionString(QStringLiteral("v1.0"));
    aboutDialog_->SetFilesLocationText(QStringLiteral("Data files location"));
    aboutDialog_->SetProgramName(QStringLiteral("Program Name"));
    aboutDialog_->SetPosition(WindowPlacement::ScreenCenter);
}

// A progress bar and Cancel in the status line while a long load runs.
void MainWindow::BuildLoadProgress()
{
    loadClock_ = std::make_unique<QElapsedTimer>();
    loadProgress_ = new QProgressBar(statusBar_);
    loadProgress_->setObjectName(QStringLiteral("loadprogress"));
    loadProgress_->setAccessibleName(QStringLiteral("Loading"));
    loadProgress_->setRange(0, 100);
    loadProgress_->setMaximumHeight(kStatusHeight - 4);
    loadProgress_->setFixedWidth(160);
    cancelLoad_ = new QPushButton(QStringLiteral("Cancel"), statusBar_);
    cancelLoad_->setObjectName(QStringLiteral("cancelload"));
    cancelLoad_->setToolTip(QStringLiteral("Stop loading (Esc)"));
    cancelLoad_->setMaximumHeight(kStatusHeight - 2);
    statusBar_->addPermanentWidget(loadProgress_);
    statusBar_->addPermanentWidget(cancelLoad_);
    loadProgress_->hide();
    cancelLoad_->hide();
    loadTimer_ = new QTimer(this);
    loadTimer_->setInterval(kProgressStepMs);
    connect(loadTimer_, &QTimer::timeout, this, &MainWindow::ShowLoadProgress);
    connect(cancelLoad_, &QPushButton::clicked, graphControl_, &GraphControl::CancelLoad);
    connect(graphControl_, &GraphControl::loadingChanged, this, &MainWindow::ShowLoading);
}

void MainWindow::ShowLoading(bool loading)
{
    if (loading) {
        loadClock_->start();
        loadTimer_->start();
        return;
    }
    loadTimer_->stop();
    loadProgress_->hide();
    cancelLoad_->hide();
}

void MainWindow::ShowLoadProgress()
{
    if (loadClock_->elapsed() < kProgressDelayMs)
        return;
    loadProgress_->setValue(graphControl_->LoadPercent());
    loadProgress_->show();
    cancelLoad_->show();
}

void MainWindow::BuildFileWatch()
{
    statusNotice_ = new QLabel(statusBar_);
    statusNotice_->setObjectName(QStringLiteral("statusnotice"));
    statusNotice_->setTextFormat(Qt::PlainText);
    // The figures keep their room; the notice takes what is left, whole in its tooltip.
    statusNotice_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    statusBar_->addWidget(statusNotice_, 1);

    fileWatch_ = new FileWatch(this);
    // The switch lives here, not in the control: it is kept in the window's settings file.
    auto* follow = new QAction(QStringLiteral("&Reload when the file changes"), this);
    follow->setObjectName(QStringLiteral("ReloadWhenChangedAction"));
    follow->setCheckable(true);
    follow->setChecked(iniSettings_->ReadBool(QStringLiteral("ReloadWhenFileChanges"), true, QStringLiteral("Settings")));
    fileWatch_->SetEnabled(follow->isChecked());
    connect(follow, &QAction::toggled, this, [this](bool on) {
        fileWatch_->SetEnabled(on);
        iniSettings_->WriteBool(QStringLiteral("ReloadWhenFileChanges"), on, QStringLiteral("Settings"));
    });
    graphControl_->AddContextMenuAction(follow);

    connect(fileWatch_, &FileWatch::reloadWanted, graphControl_, &GraphControl::ReloadChangedFile);
    connect(graphControl_, &GraphControl::loadingChanged, this, [this](bool loading) {
        if (!loading)
            fileWatch_->Watch(graphControl_->FileName());
        fileWatch_->SetLoading(loading);
    });
    // Said once, in the status line: a box for every save of a half-written file would be a storm.
    connect(graphControl_, &GraphControl::reloadFailed, this, [this](const QString& message) {
        QString text = message;
        text.replace(QStringLiteral("\r\r"), QStringLiteral(" ")).replace(QLatin1Char('\r'), QLatin1Char(' '));
        ShowNotice(QStringLiteral("Not reloaded, the graph is as it was: ") + text);
    });
    connect(&graphControl_->Model(), &PlotModel::changed, this, [this](PlotModel::Change what) {
        if (what == PlotModel::Change::Series)
            ShowNotice(graphControl_->Model().LoadNotice());
    });
}

// The notice names files and fields from them: its tooltip shows them as written, never as markup.
void MainWindow::ShowNotice(const QString& text)
{
    statusNotice_->setText(text);
    statusNotice_->setToolTip(PlainTextHint(text));
}

QString MainWindow::StatusNotice() const
{
    return statusNotice_->text();
}

// The shortcuts users expect of a desktop program, shown in the tooltips of their buttons.
void MainWindow::AddShortcuts()
{
    const auto add = [this](const QKeySequence& keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    add(QKeySequence::Open, [this] { graphControl_->Open(); });
    add(QKeySequence::Save, [this] { graphControl_->SavePicture(); });
    add(QKeySequence::Print, [this] { graphControl_->Print(); });
    add(QKeySequence::Copy, [this] {
        if (!IsTextField(QApplication::focusWidget()))
            graphControl_->CopyToClipboard();
    });
    add(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });
    add(QKeySequence(Qt::Key_F5), [this] { ReloadFile(); });
    add(QKeySequence(Qt::Key_F1), [this] { HelpButtonClick(); });
    add(QKeySequence(Qt::Key_Escape), [this] { graphControl_->CancelLoad(); });

    const auto addShortcutToHint = [this](const char* button, const QString& keys) {
        if (auto* w = graphControl_->findChild<QWidget*>(QString::fromLatin1(button)))
            w->setToolTip(w->toolTip() + QStringLiteral(" (") + keys + QLatin1Char(')'));
    };
    addShortcutToHint("OpenBtn", QStringLiteral("Ctrl+O"));
    addShortcutToHint("CopyBtn", QStringLiteral("Ctrl+C"));
    addShortcutToHint("PrintBtn", QStringLiteral("Ctrl+P"));
}

void MainWindow::OpenStartFile(const QStringList& arguments)
{
    const QString argument = arguments.value(0);
    if (!argument.isEmpty()) {
        // Kept as an absolute path from the start: F5 and Edit must not depend on the current folder.
        commandLineFileName_ = QFileInfo(argument).absoluteFilePath();
        if (QFileInfo::exists(commandLineFileName_))
            graphControl_->LoadFile(commandLineFileName_);
        else
            sink_.ShowMessage(QStringLiteral("File not found:\r\r") + argument);
        return;
    }
    if (QFileInfo::exists(kExampleFile))
        graphControl_->LoadFile(QFileInfo(kExampleFile).absoluteFilePath());
    else if (const QString shipped = SharedFiles(programFolder_).Existing(kExampleFile); !shipped.isEmpty())
        graphControl_->LoadFile(shipped);
}

void MainWindow::FormResize()
{
    if (!graphControl_)
        return;
    graphControl_->resize(width() - static_cast<int>(Round(graphControl_->scaleAmt * kGraphRightMargin)),
                   height() - kGraphBottomMargin - graphControl_->y());
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormResize();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!positionSaved_) {
        iniSettings_->WriteWindowPos(this, QString());
        positionSaved_ = true;
    }
    QWidget::closeEvent(event);
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (!FirstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    const QString path = FirstLocalFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    graphControl_->LoadFile(path);
}

void MainWindow::UpdateStatusLine(QObject*)
{
    const PlotModel& model = graphControl_->Model();
    statusText_->setText(model.NumberOfSeries() == 0 ? QStringLiteral("No data loaded") : StatusLineText(model, graphControl_->LastDrawing().view));
}

QString MainWindow::StatusText() const
{
    return statusText_->text();
}

void MainWindow::SummaryButtonClick()
{
    memo_->SetReadOnly(true);
    memo_->SetFormWidth(600);
    memo_->SetTitle(QStringLiteral("Series Summary"));
    memo_->SetText(QString());
    memo_->SetScaleAmt(scaleAmt);
    memo_->SetManualScale(false);
    QString text;
    for (const QString& line : SummaryLines(graphControl_->Model()))
        text += line + QStringLiteral("\r\n");
    memo_->SetText(text);
    memo_->Execute();
}

void MainWindow::HelpButtonClick()
{
    helpDialog_->SetManualScale(false);
    helpDialog_->SetTitle(QStringLiteral("Plotwell Help"));
    helpDialog_->SetHTMLFileName(SharedFiles(programFolder_).PathOf(QStringLiteral("plotwell help.html")));
    helpDialog_->Execute(QString());
}

void MainWindow::AboutButtonClick()
{
    aboutDialog_->SetCopyrightMessage(QStringLiteral("Copyright \u00A9 2026 the Plotwell authors"));
    aboutDialog_->SetVersionString(QStringLiteral(PLOTWELL_VERSION));
    aboutDialog_->SetProgramName(QStringLiteral("Plotwell"));
    aboutDialog_->SetEmailSubject(QStringLiteral("Plotwell"));
    aboutDialog_->Execute();
}

void MainWindow::EditButtonClick()
{
    QString path = graphControl_->FileName();
    if (path.isEmpty() && graphControl_->NumberOfSeries() > 0) {
        QString message;
        const std::optional<QString> written = WriteTemporaryPointsFile(graphControl_->Model(), message);
        if (!written) {
            sink_.ShowMessage(message);
            return;
        }
        path = *written;
    }
    // Nothing loaded and nothing to write: there is no file to open.
    if (path.isEmpty() || launcher_.OpenFile(path))
        return;
    QString message = QStringLiteral("Cannot open the file for editing:\r\r") + path;
    if (const QString reason = launcher_.FailureReason(); !reason.isEmpty())
        message += QStringLiteral("\r\r") + reason;
    sink_.ShowMessage(message);
}

void MainWindow::ReloadFile()
{
    if (!graphControl_->FileName().isEmpty())
        graphControl_->LoadFile(graphControl_->FileName(), graphControl_->FileLayout(), GraphControl::ViewOnLoad::Keep);
}

} // namespace plotwell
