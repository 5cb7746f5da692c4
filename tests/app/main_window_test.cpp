// The main window: what it opens at start-up, the status line and summary, Edit with its
// temporary points file, F5, dropped files, and its place kept between runs.

#include "app/main_window.h"
#include "app/temporary_points_file.h"
#include "control/file_watch.h"
#include "control/graph_control.h"
#include "core/recording_launcher.h"
#include "core/recording_sink.h"
#include "core/version.h"
#include "dialogs/about_dialog.h"
#include "dialogs/memo_dialog.h"
#include "dialogs/message_box_sink.h"
#include "help/help_dialog.h"
#include "help/help_window.h"
#include "support/test_support.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDropEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QThread>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolTip>
#include <QTimer>
#include <QUrl>

#include <sys/stat.h>

#include <atomic>
#include <cstdio>
#include <unistd.h>

using namespace plotwell;

namespace {

// Runs each test in a folder of its own, with the per-user runtime folder in it too.
struct MainWindowTest : ::testing::Test
{
    QTemporaryDir dir;
    QString savedCurrent = QDir::currentPath();
    QByteArray savedRuntime = qgetenv("XDG_RUNTIME_DIR");
    RecordingSink sink;
    RecordingLauncher launcher;

    // The window keeps its place in the per-user settings file; each test starts without one.
    static void ForgetSettings()
    {
        QFile::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/Marrowfen/Plotwell/Plotwell.ini"));
    }

    MainWindowTest()
    {
        ForgetSettings();
        QDir::setCurrent(dir.path());
        QDir().mkdir(QStringLiteral("runtime"));
        ::chmod("runtime", 0700);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.filePath(QStringLiteral("runtime"))));
    }
    ~MainWindowTest() override
    {
        ForgetSettings();
        QDir::setCurrent(savedCurrent);
        qputenv("XDG_RUNTIME_DIR", savedRuntime);
    }

    std::unique_ptr<MainWindow> Start(const QStringList& arguments)
    {
        auto window = std::make_unique<MainWindow>(arguments, &sink, &launcher);
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        WaitForLoad(*window);
        return window;
    }

    static void WaitForLoad(const MainWindow& window)
    {
        QDeadlineTimer deadline(10000);
        while (window.Graph().Loading() && !deadline.hasExpired())
            QTest::qWait(2);
        EXPECT_FALSE(window.Graph().Loading());
        QCoreApplication::sendPostedEvents();
    }

    QString Data(const QString& name, const QByteArray& text)
    {
        const QString path = dir.filePath(name);
        WriteFile(path, text);
        return path;
    }

    static void Drop(MainWindow& window, const QString& path)
    {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &drop);
        WaitForLoad(window);
    }
};

// What a label or tooltip shows of `text`, read as Qt reads it: as rich text when it looks like
// markup. Nothing is laid out, so a picture named in it is never loaded.
QString ShownText(const QString& text, Qt::TextFormat format = Qt::AutoText)
{
    QTextDocument document;
    if (format == Qt::RichText || (format == Qt::AutoText && Qt::mightBeRichText(text)))
        document.setHtml(text);
    else
        document.setPlainText(text);
    return document.toPlainText();
}

bool NamesAPicture(const QString& text, Qt::TextFormat format = Qt::AutoText)
{
    if (format == Qt::PlainText || (format == Qt::AutoText && !Qt::mightBeRichText(text)))
        return false;
    QTextDocument document;
    document.setHtml(text);
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                return true;
    return false;
}

const QByteArray kThreeSeries = "1 2 3 ;Alpha\n10 20 30 ;Beta\n5 5 5 ;Gamma\n";

} // namespace

TEST_F(MainWindowTest, StartsOnTheFirstArgumentOrTheExampleFile)
{
    WriteFile(dir.filePath(QStringLiteral("example points 1 - simple series.txt")),
              ReadFile(QStringLiteral(PLOTWELL_SOURCE_DIR "/resources/example points 1 - simple series.txt")));
    {
        auto window = Start({});
        EXPECT_EQ(window->Graph().Title(), QStringLiteral("Example Points 1 - Simple Series"));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Plotwell"));
        EXPECT_TRUE(sink.Messages().isEmpty());
    }
    {
        auto window = Start({QStringLiteral("missing.txt")});
        ASSERT_EQ(sink.Messages(), QStringList{QStringLiteral("File not found:\r\rmissing.txt")});
        EXPECT_EQ(window->Graph().NumberOfSeries(), 0); // and not the example either
    }
    sink.Clear();
    const QString first = Data(QStringLiteral("first.txt"), "1 2 3\n");
    const QString second = Data(QStringLiteral("second.txt"), "4 5 6 7\n");
    auto window = Start({first, second});
    EXPECT_EQ(window->Graph().FileName(), first);
    EXPECT_TRUE(sink.Messages().isEmpty());
}

TEST_F(MainWindowTest, LayoutKeepsTheButtonsAtTheirEdges)
{
    auto window = Start({});
    const auto at = [&](const char* name) { return window->findChild<QWidget*>(QString::fromLatin1(name))->geometry(); };
    EXPECT_EQ(at("editbtn"), QRect(615, 26, 60, 23));
    EXPECT_EQ(at("helpbtn").topLeft(), QPoint(615, window->height() - 500 + 366));
    EXPECT_EQ(window->Graph().geometry(), QRect(20, 20, window->width() - 95, window->height() - 60));
    window->resize(900, 700);
    EXPECT_EQ(at("editbtn").topLeft(), QPoint(615 + 900 - 684, 26));
    EXPECT_EQ(at("aboutbtn").topLeft(), QPoint(616 + 900 - 684, 397 + 200));
    EXPECT_EQ(window->Graph().geometry(), QRect(20, 20, 900 - 95, 700 - 60));
    EXPECT_EQ(at("sb").bottom(), 699);
}

TEST_F(MainWindowTest, StatusLineFollowsEveryDrawing)
{
    auto window = Start({Data(QStringLiteral("three.txt"), kThreeSeries)});
    EXPECT_EQ(window->StatusText(), QStringLiteral(" 9 pts    Min: 1    Max: 30    Avg: 9    Std Dev: 9.747"));
    QTest::mouseClick(window->Graph().findChild<QCheckBox*>(QStringLiteral("displayseriesbox2")), Qt::LeftButton);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(window->StatusText(), QStringLiteral(" 6 pts    Min: 1    Max: 5    Avg: 3.5    Std Dev: 1.761"));
    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(window->findChild<QLabel*>(QStringLiteral("statustext")));
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(QAccessible::Name), window->StatusText());

    ScopedLocale german(QStringLiteral("de_DE"));
    QByteArray many;
    for (int i = 0; i < 1234; ++i)
        many += "1.5 ";
    window->Graph().SetFileName(Data(QStringLiteral("many.txt"), many + "\n"));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(window->StatusText(), QStringLiteral(" 1.234 pts    Min: 1,5    Max: 1,5    Avg: 1,5    Std Dev: 0"));
}

TEST_F(MainWindowTest, SummaryListsTheDisplayedSeriesInAReadOnlyMemo)
{
    auto window = Start({Data(QStringLiteral("three.txt"), kThreeSeries)});
    QTest::mouseClick(window->Graph().findChild<QCheckBox*>(QStringLiteral("displayseriesbox2")), Qt::LeftButton);
    QString caption;
    QTimer::singleShot(0, [&] {
        QWidget* memo = QApplication::activeModalWidget();
        ASSERT_NE(memo, nullptr);
        caption = memo->windowTitle();
        memo->close();
    });
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("summarybtn")), Qt::LeftButton);
    EXPECT_EQ(caption, QStringLiteral("Series Summary"));
    EXPECT_TRUE(window->Memo().ReadOnly());
    EXPECT_EQ(window->Memo().FormWidth(), 600);
    EXPECT_EQ(window->Memo().Text(),
              QStringLiteral("Series 1:     3 pts    Min: 1    Max: 3    Avg: 2    Std Dev: 1\r\n"
                             "Series 3:     3 pts    Min: 5    Max: 5    Avg: 5    Std Dev: 0\r\n"));
}

TEST_F(MainWindowTest, EditOpensTheLoadedFileOrAPrivateTemporaryCopy)
{
    const QString path = Data(QStringLiteral("a.txt"), "1 2 3\n");
    auto window = Start({path});
    window->EditButtonClick();
    EXPECT_EQ(launcher.files, QStringList{path});

    window->Graph().ClearData();
    window->Graph().AddSeriesFromString(QStringLiteral("5 7 9"), true);
    PlotModel& model = window->Graph().Model();
    model.AddSeries();
    model.AddPoint(2, 1, 5);
    model.AddPoint(2, 2, nullvalue);
    model.AddPoint(2, 3, 7);
    model.AddSeries(); // an empty series writes no line
    window->EditButtonClick();
    ASSERT_EQ(launcher.files.size(), 2);
    const QString temporary = launcher.files.last();
    EXPECT_EQ(temporary, dir.filePath(QStringLiteral("runtime/plotwell/tempfile.txt")));
    EXPECT_EQ(ReadFile(temporary), QByteArray("(1, 5), (2, 7), (3, 9)\r\n(1, 5),  ,, (3, 7)\r\n"));
    struct stat st{};
    ASSERT_EQ(::stat(QFile::encodeName(temporary).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);

    // A link planted in the folder is refused, and its target left alone.
    const QString victim = Data(QStringLiteral("victim.txt"), "precious");
    QFile::remove(temporary);
    ASSERT_TRUE(QFile::link(victim, temporary));
    window->EditButtonClick();
    EXPECT_EQ(launcher.files.size(), 2);
    EXPECT_EQ(ReadFile(victim), QByteArray("precious"));
    ASSERT_EQ(sink.Messages().size(), 1);
    EXPECT_TRUE(sink.Messages().front().startsWith(QStringLiteral("Cannot write file:\r\r") + temporary))
        << sink.Messages().front().toStdString();
}

TEST_F(MainWindowTest, TemporaryFolderThatOthersMayEnterIsRefused)
{
    const QString runtime = dir.filePath(QStringLiteral("runtime"));
    QDir().mkdir(runtime + QStringLiteral("/plotwell"));
    ::chmod(QFile::encodeName(runtime + QStringLiteral("/plotwell")).constData(), 0777);
    QString reason;
    EXPECT_FALSE(PrivateTemporaryFolder(reason));
    EXPECT_EQ(reason, QStringLiteral("other users may enter the folder"));
}

TEST_F(MainWindowTest, F5AndADroppedFileOpenAgain)
{
    const QString path = Data(QStringLiteral("a.txt"), "1 2 3\n");
    auto window = Start({path});
    WriteFile(path, "1 2 3 4 5\n");
    QTest::keyClick(window.get(), Qt::Key_F5);
    WaitForLoad(*window);
    EXPECT_EQ(window->Graph().NumberOfPoints(), 5);

    const QString other = Data(QStringLiteral("b.txt"), "9 8\n");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(other)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    WaitForLoad(*window);
    EXPECT_EQ(window->Graph().FileName(), other);
    EXPECT_EQ(window->Graph().NumberOfPoints(), 2);
}

TEST_F(MainWindowTest, PositionAndMaximisedStateSurviveARestart)
{
    {
        auto window = Start({});
        window->setGeometry(40, 60, 800, 560);
        window->close();
    }
    {
        auto window = Start({});
        EXPECT_EQ(window->geometry(), QRect(40, 60, 800, 560));
        window->showMaximized();
        window->close();
    }
    auto window = Start({});
    EXPECT_TRUE(window->windowState() & Qt::WindowMaximized);
}

TEST_F(MainWindowTest, HelpAndAboutShowTheProgramsOwnPages)
{
    auto window = Start({});
    window->SetProgramFolder(QStringLiteral(PLOTWELL_SOURCE_DIR "/resources/"));
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_TRUE(sink.Messages().isEmpty()) << sink.Messages().value(0).toStdString();
    EXPECT_TRUE(window->HelpComponent().Text().contains(QStringLiteral("Plotwell")));
    ASSERT_NE(window->HelpComponent().helpWindow, nullptr);
    EXPECT_EQ(window->HelpComponent().helpWindow->windowTitle(), QStringLiteral("Plotwell Help"));

    QString aboutText;
    QTimer::singleShot(0, [&] {
        QWidget* about = window->AboutComponent().Form();
        ASSERT_NE(about, nullptr);
        for (const QLabel* label : about->findChildren<QLabel*>())
            aboutText += label->text() + QLatin1Char('|');
        about->close();
    });
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("aboutbtn")), Qt::LeftButton);
    EXPECT_TRUE(aboutText.contains(QStringLiteral("Plotwell"))) << aboutText.toStdString();
    EXPECT_TRUE(aboutText.contains(QStringLiteral(PLOTWELL_VERSION))) << aboutText.toStdString();
}

TEST_F(MainWindowTest, InstalledHelpIsFoundInTheSharedFolderOfItsPrefix)
{
    // PREFIX/bin/plotwell with its page in PREFIX/share/plotwell/.
    const QString share = dir.filePath(QStringLiteral("prefix/share/plotwell/"));
    QDir().mkpath(share);
    QDir().mkpath(dir.filePath(QStringLiteral("prefix/bin")));
    for (const char* file : {"plotwell help.html", "plotwell help.css"})
        WriteFile(share + QLatin1String(file), ReadFile(QStringLiteral(PLOTWELL_SOURCE_DIR "/resources/") + QLatin1String(file)));
    auto window = Start({});
    window->SetProgramFolder(dir.filePath(QStringLiteral("prefix/bin/")));
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_EQ(window->HelpComponent().HTMLFileName(), share + QStringLiteral("plotwell help.html"));
    EXPECT_FALSE(window->HelpComponent().Text().startsWith(QStringLiteral("File not found.")));
    EXPECT_TRUE(window->HelpComponent().Text().contains(QStringLiteral("Plotwell")));
}

TEST_F(MainWindowTest, ALongLoadShowsItsProgressAndEscapeStopsIt)
{
    const QString path = Data(QStringLiteral("a.txt"), "1 2 3\n");
    auto window = Start({path});
    auto* progress = window->findChild<QWidget*>(QStringLiteral("loadprogress"));
    auto* cancel = window->findChild<QWidget*>(QStringLiteral("cancelload"));
    ASSERT_TRUE(progress && cancel);

    // A small file shows no progress at all.
    QTest::keyClick(window.get(), Qt::Key_F5);
    EXPECT_FALSE(progress->isVisible());
    WaitForLoad(*window);
    EXPECT_FALSE(progress->isVisible());

    window->Graph().SetLoadFunction([](PlotModel&, const QString&, LoadProgress& p) -> bool {
        p.SetTotal(100);
        for (;;) {
            p.Report(40);
            QThread::msleep(1);
        }
    });
    QTest::keyClick(window.get(), Qt::Key_F5);
    QTest::qWait(500);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_EQ(qobject_cast<QProgressBar*>(progress)->value(), 40);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->Graph().Loading());
    EXPECT_FALSE(progress->isVisible());
    EXPECT_EQ(window->Graph().FileName(), path);
    EXPECT_EQ(window->Graph().NumberOfPoints(), 3);
}

TEST_F(MainWindowTest, TextFromFilesAndTheCommandLineIsNeverReadAsMarkup)
{
    for (const QString& name : {QStringLiteral("<b>x</b>"), QStringLiteral("<img src=\"/dev/zero\">")}) {
        SCOPED_TRACE(name.toStdString());
        sink.Clear();
        const QString path = Data(QStringLiteral("names.txt"), ("1 2 3 ;" + name + "\n4 5 6 ;" + name + "\n").toUtf8());
        auto window = Start({path});
        ASSERT_EQ(window->Graph().NumberOfSeries(), 2);

        // Each place the name shows, with what it hands to its widget and how the widget reads it.
        const struct {
            const char* place;
            std::function<QString()> handed;
            std::function<Qt::TextFormat()> format;
            QString expected;
        } places[] = {
            {"hint of box 1", [&] { return window->Graph().findChild<QWidget*>(QStringLiteral("displayseriesbox1"))->toolTip(); },
             [] { return Qt::AutoText; }, QStringLiteral("Series 1 - ") + name},
            {"hint of box 2", [&] { return window->Graph().findChild<QWidget*>(QStringLiteral("displayseriesbox2"))->toolTip(); },
             [] { return Qt::AutoText; }, QStringLiteral("Series 2 - ") + name},
            {"accessible name of box 2",
             [&] { return window->Graph().findChild<QWidget*>(QStringLiteral("displayseriesbox2"))->accessibleName(); },
             [] { return Qt::PlainText; }, QStringLiteral("Series 2 - ") + name},
            {"message box", [&] { return MessageBoxSink::BuildMessageBox(QStringLiteral("File not found:\r\r") + name, nullptr)->text(); },
             [&] { return MessageBoxSink::BuildMessageBox(name, nullptr)->textFormat(); },
             QStringLiteral("File not found:\n\n") + name},
            {"status line", [&] { return window->findChild<QLabel*>(QStringLiteral("statustext"))->text(); },
             [&] { return window->findChild<QLabel*>(QStringLiteral("statustext"))->textFormat(); },
             window->StatusText()},
        };
        for (const auto& p : places) {
            const QString handed = p.handed();
            EXPECT_FALSE(NamesAPicture(handed, p.format())) << p.place;
            EXPECT_EQ(ShownText(handed, p.format()), p.expected) << p.place;
        }
        // The status line carries figures only today; it stays plain whatever it says.
        EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("statustext"))->textFormat(), Qt::PlainText);

        // The hint as the pointer resting on the box brings it up.
        auto* box = window->Graph().findChild<QWidget*>(QStringLiteral("displayseriesbox1"));
        ASSERT_FALSE(NamesAPicture(box->toolTip())); // before anything lays the hint out
        QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), box->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(box, &help);
        ASSERT_TRUE(QToolTip::isVisible());
        EXPECT_EQ(QToolTip::text(), box->toolTip());
        QToolTip::hideText();
    }
}

TEST_F(MainWindowTest, ARelativeStartFileIsKeptAsAnAbsolutePath)
{
    const QString absolute = Data(QStringLiteral("three.txt"), kThreeSeries);
    auto window = Start({QStringLiteral("three.txt")});
    EXPECT_EQ(window->Graph().FileName(), absolute);
    // A change of folder does not matter to Edit or F5.
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    window->EditButtonClick();
    EXPECT_EQ(launcher.files, QStringList{absolute});
    WriteFile(absolute, "1 2\n");
    QTest::keyClick(window.get(), Qt::Key_F5);
    WaitForLoad(*window);
    EXPECT_EQ(window->Graph().NumberOfPoints(), 2);
    EXPECT_TRUE(sink.Messages().isEmpty()) << sink.Messages().value(0).toStdString();
}

TEST_F(MainWindowTest, EditWithNoProgramToOpenTheFileSaysWhatIsMissing)
{
    const QString path = Data(QStringLiteral("a.txt"), "1 2 3\n");
    auto window = Start({path});
    launcher.succeed = false;
    launcher.reason = QStringLiteral("xdg-open is not installed");
    QTest::mouseClick(window->findChild<QWidget*>(QStringLiteral("editbtn")), Qt::LeftButton);
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Cannot open the file for editing:\r\r") + path +
                                           QStringLiteral("\r\rxdg-open is not installed")});
}

TEST_F(MainWindowTest, AFailedLoadClearsTheGraphAndTheStatusLineButKeepsTheNameForF5AndEdit)
{
    const QString path = Data(QStringLiteral("a.txt"), kThreeSeries);
    auto window = Start({path});
    ASSERT_EQ(window->StatusText(), QStringLiteral(" 9 pts    Min: 1    Max: 30    Avg: 9    Std Dev: 9.747"));
    const auto describe = [&] { return window->Graph().findChild<QWidget*>(QStringLiteral("PaintBox"))->accessibleDescription(); };

    WriteFile(path, "1 2 3\n4 x 6\n");
    QTest::keyClick(window.get(), Qt::Key_F5);
    WaitForLoad(*window);
    ASSERT_EQ(sink.Messages().size(), 1);
    EXPECT_EQ(window->Graph().NumberOfSeries(), 0);
    EXPECT_EQ(window->Graph().Title(), QString());
    EXPECT_EQ(describe(), QStringLiteral("No data loaded"));
    EXPECT_EQ(window->StatusText(), QStringLiteral("No data loaded"));
    EXPECT_EQ(window->Graph().FileName(), path);
    window->EditButtonClick();
    EXPECT_EQ(launcher.files, QStringList{path}); // the file itself, not an empty temporary one

    // Mended in the editor, read again with F5.
    WriteFile(path, "1 2 3\n4 5 6\n");
    QTest::keyClick(window.get(), Qt::Key_F5);
    WaitForLoad(*window);
    EXPECT_EQ(window->Graph().NumberOfSeries(), 2);
    EXPECT_EQ(window->StatusText(), QStringLiteral(" 6 pts    Min: 1    Max: 6    Avg: 3.5    Std Dev: 1.871"));

    // A file that cannot be read at all (a pipe) clears the status line as well.
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    sink.Clear();
    Drop(*window, pipe);
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Cannot open file:\r\r") + pipe +
                                           QStringLiteral("\r\rnot a regular file")});
    EXPECT_EQ(window->StatusText(), QStringLiteral("No data loaded"));
}

TEST_F(MainWindowTest, ADroppedFolderIsNotARegularFile)
{
    auto window = Start({Data(QStringLiteral("a.txt"), "1 2 3\n")});
    const QString folder = dir.filePath(QStringLiteral("folder"));
    QDir().mkdir(folder);
    Drop(*window, folder);
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("Cannot open file:\r\r") + folder +
                                           QStringLiteral("\r\rnot a regular file")});
}

TEST_F(MainWindowTest, AMissingHelpPageGivesItsMessageAndNoWindow)
{
    auto window = Start({});
    window->SetProgramFolder(dir.filePath(QStringLiteral("nowhere/bin/")));
    QTest::keyClick(window.get(), Qt::Key_F1);
    ASSERT_EQ(sink.Messages().size(), 1);
    EXPECT_TRUE(sink.Messages()[0].startsWith(QStringLiteral("File not found.\r\n\r\n"))) << sink.Messages()[0].toStdString();
    EXPECT_FALSE(window->HelpComponent().HelpDialogCreated());
    EXPECT_FALSE(window->HelpComponent().Visible());
}

namespace {

QAction* ReloadSwitch(const MainWindow& window)
{
    return window.findChild<QAction*>(QStringLiteral("ReloadWhenChangedAction"));
}

// Runs the event loop until `done` holds or `ms` passed.
template <typename Done> bool WaitUntil(Done done, int ms = 5000)
{
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QTest::qWait(10);
    return done();
}

} // namespace

TEST_F(MainWindowTest, TheGraphFollowsItsFileAndSaysInTheStatusLineWhenItCannot)
{
    const QString path = Data(QStringLiteral("log.csv"), "t;a;b\n1;2,5;3\n2;3;4\n");
    auto window = Start({path});
    GraphControl& graph = window->Graph();
    ASSERT_EQ(graph.NumberOfSeries(), 2);
    QAction* follow = ReloadSwitch(*window);
    ASSERT_NE(follow, nullptr);
    EXPECT_TRUE(graph.ContextMenu()->actions().contains(follow));
    EXPECT_EQ(follow->text(), QStringLiteral("&Reload when the file changes"));
    EXPECT_TRUE(follow->isCheckable() && follow->isChecked());

    graph.SetGraphType(kCurveGraph);
    // An editor's save: a new file renamed over the old one.
    const QString temporary = Data(QStringLiteral("log.csv~"), "t;a;b\n1;2,5;3\n2;3;4\n3;1;1\n");
    ASSERT_EQ(std::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()), 0);
    EXPECT_TRUE(WaitUntil([&] { return graph.NumberOfPoints() == 6; }));
    EXPECT_EQ(graph.GraphType(), kCurveGraph);

    // Half written: the graph stays, the status line says so, no box.
    WriteFile(path, "t;a;b\n1;2,5;3\n2;oops");
    EXPECT_TRUE(WaitUntil([&] { return !window->StatusNotice().isEmpty(); }));
    EXPECT_EQ(window->StatusNotice(),
              QStringLiteral("Not reloaded, the graph is as it was: Error reading from row 3, column 2: \"oops\" is "
                             "not a number. ") +
                  path);
    EXPECT_EQ(graph.NumberOfPoints(), 6);
    EXPECT_TRUE(sink.Messages().isEmpty()) << sink.Messages().join(u'|').toStdString();
    // The next good save loads, and the notice goes.
    WriteFile(path, "t;a;b\n1;1;1\n2;2;2\n");
    EXPECT_TRUE(WaitUntil([&] { return graph.NumberOfPoints() == 4; }));
    EXPECT_EQ(window->StatusNotice(), QString());
}

TEST_F(MainWindowTest, ABurstOfWritesGivesAtMostTwoLoadsAndTheSwitchIsKept)
{
    const QString path = Data(QStringLiteral("burst.txt"), "1 2 3\n");
    auto window = Start({path});
    std::atomic<int> loads = 0;
    window->Graph().SetLoadFunction([&](PlotModel& store, const QString& file, LoadProgress& progress) {
        ++loads;
        QThread::msleep(200); // slower than the writes come
        return BackgroundLoad::LoadDataFile(store, file, progress);
    });
    QByteArray text = "1 2 3";
    for (int k = 0; k < 40; ++k) {
        text += " 4";
        WriteFile(path, text + "\n");
        QTest::qWait(10);
    }
    EXPECT_TRUE(WaitUntil([&] { return loads > 0 && !window->Graph().Loading(); }));
    QTest::qWait(800);
    WaitForLoad(*window);
    EXPECT_GE(loads, 1);
    EXPECT_LE(loads, 2);
    EXPECT_EQ(window->Graph().NumberOfPoints(), 43);

    // Off, and kept so for the next start.
    ReloadSwitch(*window)->setChecked(false);
    WriteFile(path, "1\n");
    QTest::qWait(600);
    EXPECT_EQ(window->Graph().NumberOfPoints(), 43);
    window->close();
    window.reset();
    auto again = Start({path});
    EXPECT_FALSE(ReloadSwitch(*again)->isChecked());
    EXPECT_FALSE(again->Watch().Enabled());
}

// Ctrl+S saves the picture through the graph control's dialog, proposed beside the data file.
TEST_F(MainWindowTest, CtrlSSavesThePicture)
{
    const QString path = Data(QStringLiteral("sales.txt"), "1 2 3\n");
    auto window = Start({path});
    QString proposed;
    window->Graph().SetSaveFileDialog([&](QWidget*, const QString& name, QString&) {
        proposed = name;
        return name;
    });
    QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(proposed, QFileInfo(path).absolutePath() + QStringLiteral("/sales.png"));
    EXPECT_TRUE(ReadFile(proposed).startsWith("\x89PNG"));
}
