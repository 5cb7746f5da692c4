#include "app/main_window.h"

#include "app/temporary_points_file.h"
#include "control/graph_control.h"
#include "core/message_sink.h"
#include "core/rounding.h"
#include "dialogs/anchors.h"
#include "dialogs/desktop_launcher.h"
#include "dialogs/form_scaling.h"
#include "dialogs/memo_dialog.h"
#include "dialogs/message_box_sink.h"
#include "graph/status_texts.h"
#include "settings/ini_settings.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextEdit>

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
    memo->SetScaled(true);
    memo->SetScaleAmt(1.0);
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
    commandLineFileName_ = arguments.value(0);
    if (!commandLineFileName_.isEmpty()) {
        if (QFileInfo::exists(commandLineFileName_))
            graph_->SetFileName(commandLineFileName_);
        else
            sink_.ShowMessage(QStringLiteral("File not found:\r\r") + commandLineFileName_);
        return;
    }
    if (QFileInfo::exists(kExampleFile))
        graph_->SetFileName(kExampleFile);
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
    graph_->SetFileName(path);
}

void TForm1::UpdateStatusLine(QObject*)
{
    statusText_->setText(StatusLineText(graph_->Model()));
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
    memo->SetScaled(true);
    memo->SetManualScale(false);
    QString text;
    for (const QString& line : SummaryLines(graph_->Model()))
        text += line + QStringLiteral("\r\n");
    memo->SetText(text);
    memo->execute();
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
    if (!path.isEmpty())
        launcher_.OpenFile(path);
}

void TForm1::ReloadFile()
{
    if (!graph_->FileName().isEmpty())
        graph_->SetFileName(graph_->FileName());
}

} // namespace plotwell
