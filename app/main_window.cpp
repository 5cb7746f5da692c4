#include "app/main_window.h"

#include "app/shared_files.h"
#include "app/temporary_points_file.h"
#include "control/graph_control.h"
#include "core/message_sink.h"
#include "core/rounding.h"
#include "core/version.h"
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

QPushButton* addButton(QWidget* window, const QString& name, const QString& caption, const QString& hint, QRect rect,
                       Qt::Edges anchors)
{
    auto* button = new QPushButton(caption, window);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setGeometry(rect);
    TAnchors::SetAnchors(button, anchors);
    return button;
}

// A text field has its own Ctrl+C.
bool isTextField(const QWidget* w)
{
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QTextEdit*>(w) ||
           qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QAbstractSpinBox*>(w);
}

QString firstLocalFile(const QMimeData* mime)
{
    if (!mime || !mime->hasUrls())
        return QString();
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            return url.toLocalFile();
    return QString();
}

} // namespace

TForm1::TForm1(const QStringList& arguments, TMessageSink* sink, TLauncher* launcher, QWidget* parent)
    : QWidget(parent), ownSink_(sink ? nullptr : std::make_unique<TMessageBoxSink>(this)),
      ownLauncher_(launcher ? nullptr : std::make_unique<TDesktopLauncher>()), sink_(sink ? *sink : *ownSink_),
      launcher_(launcher ? *launcher : *ownLauncher_)
{
    QApplication::setApplicationDisplayName(QStringLiteral("Plotwell"));
    setWindowTitle(QStringLiteral("Plotwell"));
    BuildWindow();

    graph_ = new TPlotwell(sink_, this);
    QFont graphFont = graph_->font();
    graphFont.setPointSize(9);
    graph_->setFont(graphFont);

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.width() / 2 - width() / 2, area.height() / 2 - height() / 2);
    }
    ScaleAmt = TFormScaler().ScaleAmountOf(this);
    graph_->ScaleAmt = ScaleAmt;
    editbtn->show();

    IniSettings1 = new TIniSettings(&sink_, this);
    IniSettings1->SetIniFileName(QString());
    IniSettings1->SetProductName(QStringLiteral("Plotwell"));
    programFolder_ = QDir(QCoreApplication::applicationDirPath()).absolutePath() + QLatin1Char('/');
    IniSettings1->readwindowpos(this, QString());

    graph_->SetLineWidth(2);
    graph_->SetOnGraphDrawn([this](QObject* sender) { UpdateStatusLine(sender); });
    // OnGraphDrawn is raised only by drawings that found data; the status line follows every
    // drawing, so that it never shows the figures of a graph that is gone.
    connect(graph_, &TPlotwell::drawn, this, [this] { UpdateStatusLine(graph_); });
    BuildLoadProgress();
    AddShortcuts();
    setTabOrder(editbtn, summarybtn);
    setTabOrder(summarybtn, helpbtn);
    setTabOrder(helpbtn, aboutbtn);
    FormResize();
    OpenStartFile(arguments);
}

TForm1::~TForm1() = default;

void TForm1::BuildWindow()
{
    setObjectName(QStringLiteral("Form1"));
    setAcceptDrops(true);
    QFont windowFont = font();
    windowFont.setPointSize(8);
    setFont(windowFont);
    resize(kClientSize);
    setMinimumSize(kMinimumClientSize);

    sb = new QStatusBar(this);
    sb->setObjectName(QStringLiteral("sb"));
    sb->setGeometry(0, kClientSize.height() - kStatusHeight, kClientSize.width(), kStatusHeight);
    statusText_ = new QLabel(sb);
    statusText_->setObjectName(QStringLiteral("statustext"));
    statusText_->setTextFormat(Qt::PlainText);
    // A screen reader reads the statistics themselves as the label's name.
    statusText_->setAccessibleDescription(QStringLiteral("Status line"));
    sb->addWidget(statusText_, 1);
    TAnchors::SetAnchors(sb, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);

    const Qt::Edges topRight = Qt::TopEdge | Qt::RightEdge;
    const Qt::Edges bottomRight = Qt::BottomEdge | Qt::RightEdge;
    editbtn = addButton(this, QStringLiteral("editbtn"), QStringLiteral("&Edit"),
                        QStringLiteral("Edit points (F5 opens the file again)"), QRect(615, 26, 60, 23), topRight);
    summarybtn = addButton(this, QStringLiteral("summarybtn"), QStringLiteral("&Summary"),
                           QStringLiteral("Summary information for each series"), QRect(615, 66, 60, 23), topRight);
    helpbtn = addButton(this, QStringLiteral("helpbtn"), QStringLiteral("Help"), QStringLiteral("Help (F1)"),
                        QRect(615, 366, 60, 25), bottomRight);
    aboutbtn = addButton(this, QStringLiteral("aboutbtn"), QStringLiteral("About"), QString(), QRect(616, 397, 60, 25),
                         bottomRight);
    connect(editbtn, &QPushButton::clicked, this, &TForm1::editbtnClick);
    connect(summarybtn, &QPushButton::clicked, this, &TForm1::summarybtnClick);
    connect(helpbtn, &QPushButton::clicked, this, &TForm1::helpbtnClick);
    connect(aboutbtn, &QPushButton::clicked, this, &TForm1::aboutbtnClick);
    BuildDialogComponents();
}

// The memo, help and about components with their designed settings; the buttons set what
// changes before each use.
void TForm1::BuildDialogComponents()
{
    memo = new TmfMemoDialog(sink_, launcher_, this);
    memo->SetTitle(QStringLiteral("Notes"));
    memo->SetFormWidth(458);
    memo->SetFormHeight(352);
    memo->SetPosition(TPosition::poScreenCenter);
    memo->SetMaxLength(0);
    QFont memoFont(QStringLiteral("Calibri"));
    memoFont.setPixelSize(16);
    memo->SetFont(memoFont);
    memo->SetReadOnly(false);
    memo->SetModal(true);
    memo->SetScaleAmt(1.0);

    mfHelpDialog1 = new TmfHelpDialog(sink_, launcher_, this);
    mfHelpDialog1->SetTitle(QStringLiteral("Help"));
    mfHelpDialog1->SetFormLeft(610);
    mfHelpDialog1->SetFormTop(240);
    mfHelpDialog1->SetFormWidth(700);
    mfHelpDialog1->SetMaximized(false);
    mfHelpDialog1->SetPosition(TPosition::poScreenCenter);
    mfHelpDialog1->SetMaxLength(0);
    QFont helpFont(QStringLiteral("Calibri"));
    helpFont.setPixelSize(16);
    mfHelpDialog1->SetFont(helpFont);
    mfHelpDialog1->SetFontSize(12);
    mfHelpDialog1->SetItalicHeading(true);
    mfHelpDialog1->SetLeftMargin(0.3);
    mfHelpDialog1->SetRightMargin(0.9);
    mfHelpDialog1->SetShowModal(false);
    mfHelpDialog1->SetColor(FromQColor(palette().color(QPalette::Base)));
    mfHelpDialog1->SetSizeGrip(TSizeGrip::sgStatusBar);
    mfHelpDialog1->SetAllowCopy(true);
    mfHelpDialog1->SetManualScale(true);

    mfAboutDialog1 = new TmfAboutDialog(launcher_, this);
    mfAboutDialog1->SetTitle(QStringLiteral("About this program"));
    mfAboutDialog1->SetVersionString(QStringLiteral("v1.0"));
    mfAboutDialog1->SetFilesLocationText(QStringLiteral("Data files location"));
    mfAboutDialog1->SetProgramName(QStringLiteral("Program Name"));
    mfAboutDialog1->SetPosition(TPosition::poScreenCenter);
}

// A progress bar and Cancel in the status line while a long load runs.
void TForm1::BuildLoadProgress()
{
    loadClock_ = std::make_unique<QElapsedTimer>();
    loadProgress_ = new QProgressBar(sb);
    loadProgress_->setObjectName(QStringLiteral("loadprogress"));
    loadProgress_->setAccessibleName(QStringLiteral("Loading"));
    loadProgress_->setRange(0, 100);
    loadProgress_->setMaximumHeight(kStatusHeight - 4);
    loadProgress_->setFixedWidth(160);
    cancelLoad_ = new QPushButton(QStringLiteral("Cancel"), sb);
    cancelLoad_->setObjectName(QStringLiteral("cancelload"));
    cancelLoad_->setToolTip(QStringLiteral("Stop loading (Esc)"));
    cancelLoad_->setMaximumHeight(kStatusHeight - 2);
    sb->addPermanentWidget(loadProgress_);
    sb->addPermanentWidget(cancelLoad_);
    loadProgress_->hide();
    cancelLoad_->hide();
    loadTimer_ = new QTimer(this);
    loadTimer_->setInterval(kProgressStepMs);
    connect(loadTimer_, &QTimer::timeout, this, &TForm1::ShowLoadProgress);
    connect(cancelLoad_, &QPushButton::clicked, graph_, &TPlotwell::CancelLoad);
    connect(graph_, &TPlotwell::loadingChanged, this, &TForm1::ShowLoading);
}

void TForm1::ShowLoading(bool loading)
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

void TForm1::ShowLoadProgress()
{
    if (loadClock_->elapsed() < kProgressDelayMs)
        return;
    loadProgress_->setValue(graph_->LoadPercent());
    loadProgress_->show();
    cancelLoad_->show();
}

// The shortcuts users expect of a desktop program, shown in the tooltips of their buttons.
void TForm1::AddShortcuts()
{
    const auto add = [this](const QKeySequence& keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    add(QKeySequence::Open, [this] { graph_->Open(); });
    add(QKeySequence::Print, [this] { graph_->Print(); });
    add(QKeySequence::Copy, [this] {
        if (!isTextField(QApplication::focusWidget()))
            graph_->CopyToClipboard();
    });
    add(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });
    add(QKeySequence(Qt::Key_F5), [this] { ReloadFile(); });
    add(QKeySequence(Qt::Key_F1), [this] { helpbtnClick(); });
    add(QKeySequence(Qt::Key_Escape), [this] { graph_->CancelLoad(); });

    const auto addShortcutToHint = [this](const char* button, const QString& keys) {
        if (auto* w = graph_->findChild<QWidget*>(QString::fromLatin1(button)))
            w->setToolTip(w->toolTip() + QStringLiteral(" (") + keys + QLatin1Char(')'));
    };
    addShortcutToHint("OpenBtn", QStringLiteral("Ctrl+O"));
    addShortcutToHint("CopyBtn", QStringLiteral("Ctrl+C"));
    addShortcutToHint("PrintBtn", QStringLiteral("Ctrl+P"));
}

void TForm1::OpenStartFile(const QStringList& arguments)
{
    const QString argument = arguments.value(0);
    if (!argument.isEmpty()) {
        // Kept as an absolute path from the start: F5 and Edit must not depend on the current folder.
        commandLineFileName_ = QFileInfo(argument).absoluteFilePath();
        if (QFileInfo::exists(commandLineFileName_))
            graph_->LoadFile(commandLineFileName_);
        else
            sink_.ShowMessage(QStringLiteral("File not found:\r\r") + argument);
        return;
    }
    if (QFileInfo::exists(kExampleFile))
        graph_->LoadFile(QFileInfo(kExampleFile).absoluteFilePath());
    else if (const QString shipped = TSharedFiles(programFolder_).Existing(kExampleFile); !shipped.isEmpty())
        graph_->LoadFile(shipped);
}

void TForm1::FormResize()
{
    if (!graph_)
        return;
    graph_->resize(width() - static_cast<int>(Round(graph_->ScaleAmt * kGraphRightMargin)),
                   height() - kGraphBottomMargin - graph_->y());
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FormResize();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!positionSaved_) {
        IniSettings1->writewindowpos(this, QString());
        positionSaved_ = true;
    }
    QWidget::closeEvent(event);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    if (!firstLocalFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event)
{
    const QString path = firstLocalFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    graph_->LoadFile(path);
}

void TForm1::UpdateStatusLine(QObject*)
{
    const PlotModel& model = graph_->Model();
    statusText_->setText(model.NumberOfSeries() == 0 ? QStringLiteral("No data loaded") : StatusLineText(model));
}

QString TForm1::StatusText() const
{
    return statusText_->text();
}

void TForm1::summarybtnClick()
{
    memo->SetReadOnly(true);
    memo->SetFormWidth(600);
    memo->SetTitle(QStringLiteral("Series Summary"));
    memo->SetText(QString());
    memo->SetScaleAmt(ScaleAmt);
    memo->SetManualScale(false);
    QString text;
    for (const QString& line : SummaryLines(graph_->Model()))
        text += line + QStringLiteral("\r\n");
    memo->SetText(text);
    memo->execute();
}

void TForm1::helpbtnClick()
{
    mfHelpDialog1->SetManualScale(false);
    mfHelpDialog1->SetTitle(QStringLiteral("Plotwell Help"));
    mfHelpDialog1->SetHTMLFileName(TSharedFiles(programFolder_).PathOf(QStringLiteral("plotwell help.html")));
    mfHelpDialog1->Execute(QString());
}

void TForm1::aboutbtnClick()
{
    mfAboutDialog1->SetCopyrightMessage(QStringLiteral("Copyright \u00A9 2026 the Plotwell authors"));
    mfAboutDialog1->SetVersionString(QStringLiteral(PLOTWELL_VERSION));
    mfAboutDialog1->SetProgramName(QStringLiteral("Plotwell"));
    mfAboutDialog1->SetEmailSubject(QStringLiteral("Plotwell"));
    mfAboutDialog1->execute();
}

void TForm1::editbtnClick()
{
    QString path = graph_->FileName();
    if (path.isEmpty() && graph_->NumberOfSeries() > 0) {
        QString message;
        const std::optional<QString> written = WriteTemporaryPointsFile(graph_->Model(), message);
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

void TForm1::ReloadFile()
{
    if (!graph_->FileName().isEmpty())
        graph_->LoadFile(graph_->FileName());
}

} // namespace plotwell
