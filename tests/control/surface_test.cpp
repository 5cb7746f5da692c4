// What the plotting surface shows: the renderer's own picture, the pointer readout written
// into it, and the same picture copied, printed and after the labels dialog.

#include "control/graph_labels_dialog.h"
#include "control/picture_saving.h"
#include "control_fixture.h"
#include "graph/load/data_file_loader.h"
#include "graph/load/point_parser.h"
#include "graph/draw/renderer.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

#include <functional>
#include <utility>

using namespace plotwell;

namespace {

const QByteArray kExample = "120, 135, 150, 160 ;Shop A\n100 90 115 140 ;Shop B\n80, 85, 83, 95 ;Shop C\n";

// The same file drawn by the renderer alone, as the batch tool draws it.
QImage RenderedAlone(const QString& path, GraphKind type, QSize surface, int controlHeight)
{
    RecordingSink sink;
    PlotModel model(sink);
    LoadDataFile(model, path);
    model.SetGraphType(type);
    Canvas canvas;
    canvas.SetSize(surface.width(), surface.height());
    DrawRequest request;
    request.controlClientHeight = controlHeight;
    DrawGraph(model, canvas, request);
    return canvas.Image();
}

void MovePointer(QWidget* surface, QPoint pos)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(pos), QPointF(surface->mapToGlobal(pos)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(surface, &move);
}

// A page of a printed PDF as a picture; null when the PDF cannot be rasterised.
QImage PdfPage(const QString& pdf, const QString& stem)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty())
        return QImage();
    QProcess::execute(tool, {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                             QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// Hands the modal dialog that opens next to `act`, which is to close it. `closed` tells
// afterwards whether there was one and `act` closed it; one left open is rejected, so that a
// fault fails the test instead of hanging it in the dialog's event loop.
void CloseNextModal(bool& closed, std::function<void(QDialog&)> act)
{
    closed = false;
    QTimer::singleShot(0, [&closed, act = std::move(act)] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        act(*dialog);
        closed = !dialog->isVisible();
        if (!closed)
            dialog->reject();
    });
}

int CountPixels(const QImage& image, const std::function<bool(QColor)>& match)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += match(image.pixelColor(x, y));
    return n;
}

} // namespace

TEST_F(ControlFixture, SurfaceShowsExactlyWhatTheRendererDraws)
{
    Load(kExample);
    const QString path = graph->FileName();
    const QWidget* surface = Child<QWidget>("PaintBox");
    for (const GraphKind type : {kLineGraph, kCurveGraph, kBarGraph, kStackedGraph, kPieGraph}) {
        graph->SetGraphType(type);
        Settle();
        const QImage expected = RenderedAlone(path, type, surface->size(), graph->height());
        EXPECT_EQ(graph->SurfaceImage(), expected) << type;
    }
}

TEST_F(ControlFixture, ReadoutShowsTheValuesUnderThePointerWithoutRedrawing)
{
    QWidget* surface = Child<QWidget>("PaintBox");
    const QImage empty = graph->SurfaceImage();
    MovePointer(surface, QPoint(100, 100)); // nothing loaded: nothing shown
    EXPECT_EQ(graph->SurfaceImage(), empty);

    Load("1 2 3 4 5\n");
    const PlotGeometry& r = graph->LastDrawing().geometry;
    const auto corner = ReadoutLines(graph->Model(), r, QPoint(r.cornerx, r.bottomy));
    ASSERT_TRUE(corner);
    EXPECT_EQ(corner->line1, QStringLiteral("x: 1.0000"));
    EXPECT_EQ(corner->line2, QStringLiteral("y: 0.0000"));
    const auto outside = ReadoutLines(graph->Model(), r, QPoint(r.cornerx - r.xwid / 4, r.bottomy + r.ywid / 5));
    ASSERT_TRUE(outside);
    EXPECT_EQ(outside->line1, QStringLiteral("x: 0.0000"));
    EXPECT_TRUE(outside->line2.startsWith(QStringLiteral("y: -"))) << outside->line2.toStdString();

    drawn = 0;
    const QImage before = graph->SurfaceImage();
    MovePointer(surface, QPoint(r.cornerx + r.xwid, r.bottomy - r.ywid)); // long values
    MovePointer(surface, QPoint(r.cornerx, r.bottomy));                   // shorter ones
    Settle();
    EXPECT_EQ(drawn, 0);
    const QImage after = graph->SurfaceImage();
    // Only the readout's corner changed, and the longer text left no tail beside the shorter.
    const int top = graph->height() - 42;
    const QRect readout(12, top, 120, 32);
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if (!readout.contains(x, y) && after.pixel(x, y) != before.pixel(x, y))
                FAIL() << "changed outside the readout at " << x << "," << y;
    Canvas measure;
    measure.SetSize(10, 10);
    measure.Font().SetSize(9);
    const int shortWidth = measure.TextExtent(QStringLiteral("x: 1.0000")).width();
    for (int x = 12 + shortWidth + 1; x < 12 + 120; ++x)
        for (int y = top; y < top + 30; ++y)
            EXPECT_EQ(after.pixel(x, y), before.pixel(x, y)) << x << "," << y;
}

TEST(PointerReadout, DatedSeriesShowTheDateAlone)
{
    RecordingSink sink;
    PlotModel model(sink);
    ASSERT_TRUE(AddSeriesFromString(model, QStringLiteral("(2021-11-19, 5) (2021-11-29, 7)"), true));
    Canvas canvas;
    canvas.SetSize(600, 400);
    const PlotGeometry r = DrawGraph(model, canvas).geometry;
    const auto lines = ReadoutLines(model, r, QPoint(r.cornerx, r.bottomy - r.ywid));
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->line1, QStringLiteral("11/19/2021"));
    EXPECT_TRUE(lines->line2.startsWith(QStringLiteral("y: ")));
}

// The surface's menu opens by the mouse and by the keyboard, and the host's items follow the control's.
TEST_F(ControlFixture, ContextMenuByMouseAndKeyboard)
{
    QAction extra(QStringLiteral("Host item"));
    graph->AddContextMenuAction(&extra);
    QMenu* menu = graph->ContextMenu();
    const auto items = [&] {
        QStringList texts;
        for (const QAction* a : menu->actions())
            texts << a->text() + u'|' + a->shortcut().toString() + (a->isEnabled() ? "" : "|off");
        return texts;
    };
    // Nothing to copy, save or print before a graph is drawn.
    EXPECT_EQ(items(), (QStringList{QStringLiteral("&Copy|Ctrl+C|off"), QStringLiteral("&Save picture...|Ctrl+S|off"),
                                    QStringLiteral("&Print...|Ctrl+P|off"), QStringLiteral("Show &all|"), QStringLiteral("|"), QStringLiteral("Host item|")}));
    Load(kExample);
    EXPECT_EQ(items(), (QStringList{QStringLiteral("&Copy|Ctrl+C"), QStringLiteral("&Save picture...|Ctrl+S"),
                                    QStringLiteral("&Print...|Ctrl+P"), QStringLiteral("Show &all|"), QStringLiteral("|"), QStringLiteral("Host item|")}));
    graph->ClearData();
    Settle();
    EXPECT_FALSE(menu->actions().at(1)->isEnabled());
    Load(kExample);

    auto* surface = Child<QWidget>("PaintBox");
    EXPECT_EQ(surface->focusPolicy(), Qt::StrongFocus);
    const auto opens = [&](const std::function<void()>& act) {
        act();
        const bool shown = QTest::qWaitFor([&] { return menu->isVisible(); }, 2000);
        menu->hide();
        return shown;
    };
    EXPECT_TRUE(opens([&] {
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(50, 50), surface->mapToGlobal(QPoint(50, 50)));
        QCoreApplication::sendEvent(surface, &click);
    }));
    EXPECT_TRUE(opens([&] {
        QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), surface->mapToGlobal(QPoint(0, 0)));
        QCoreApplication::sendEvent(surface, &key);
    }));
}

TEST_F(ControlFixture, CopyPutsTheSurfacePictureWithItsReadoutOnTheClipboard)
{
    Load(kExample);
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("something else"));
    const PlotGeometry& r = graph->LastDrawing().geometry;
    MovePointer(Child<QWidget>("PaintBox"), QPoint(r.cornerx + 10, r.bottomy - 10));
    QTest::mouseClick(Child<QPushButton>("CopyBtn"), Qt::LeftButton);
    const QImage copied = clipboard->image().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(copied, graph->SurfaceImage());
    // Beside the bitmap, the same picture as PNG and as SVG of the surface's size.
    const QMimeData* data = clipboard->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(QImage::fromData(data->data(QStringLiteral("image/png"))).convertToFormat(QImage::Format_RGB32), copied);
    const QByteArray svg = data->data(QStringLiteral("image/svg+xml"));
    const QSize size = Child<QWidget>("PaintBox")->size();
    EXPECT_TRUE(svg.contains(QStringLiteral("width=\"%1px\" height=\"%2px\"").arg(size.width()).arg(size.height()).toUtf8()))
        << svg.left(600).toStdString();
    EXPECT_NE(copied, RenderedAlone(graph->FileName(), kLineGraph, Child<QWidget>("PaintBox")->size(), graph->height()));

    graph->SetGraphType(kBarGraph); // a second copy replaces the first
    Settle();
    graph->CopyToClipboard();
    EXPECT_EQ(clipboard->image().convertToFormat(QImage::Format_RGB32), graph->SurfaceImage());
}

// Save picture: the dialog proposes the data file's name beside it; the name's extension or the
// filter chooses the format; a failure says which file and why and leaves the old file.
TEST_F(ControlFixture, SavePictureThroughTheDialog)
{
    int asked = 0;
    QString proposed;
    QString answer;
    QString chosenFilter;
    graph->SetSaveFileDialog([&](QWidget*, const QString& name, QString& filter) {
        ++asked;
        proposed = name;
        if (!chosenFilter.isEmpty())
            filter = chosenFilter;
        return answer;
    });
    graph->SavePicture(); // an empty store: nothing to save, nothing asked
    EXPECT_EQ(asked, 0);

    Load(kExample);
    const QStringList filters = SavePictureFilters();
    const struct {
        const char* name;
        int filter;
        QByteArray magic;
    } cases[] = {
        {"plain", 0, "\x89PNG"}, {"g.SVG", 0, "<?xml"}, {"g.pdf", 0, "%PDF-"}, {"vector", 1, "<?xml"},
        {"page", 2, "%PDF-"},     {"g.png", 1, "\x89PNG"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        answer = dir.filePath(QString::fromLatin1(c.name));
        chosenFilter = filters.at(c.filter);
        graph->SavePicture();
        EXPECT_EQ(proposed, dir.filePath(QStringLiteral("data 1.png")));
        EXPECT_TRUE(ReadFile(answer).startsWith(c.magic));
    }
    EXPECT_TRUE(sink.Messages().isEmpty());
    // The PNG is the surface's picture.
    EXPECT_EQ(QImage(dir.filePath(QStringLiteral("plain"))).convertToFormat(QImage::Format_RGB32), graph->SurfaceImage());

    const QByteArray old = "old picture";
    const QString existing = dir.filePath(QStringLiteral("old.svg"));
    WriteFile(existing, old);
    const struct {
        const char* name;
        QString path;
        QString message;
    } failures[] = {
        {"missing folder", dir.filePath(QStringLiteral("no/such/g.svg")),
         QStringLiteral("The picture could not be saved to the file:\r\r") + dir.filePath(QStringLiteral("no/such/g.svg")) +
             QStringLiteral("\r\r")},
        {"the data file", graph->FileName(),
         QStringLiteral("The picture was not saved: it would replace the data file:\r\r") + graph->FileName()},
        {"full disk", existing, QStringLiteral("The picture could not be saved to the file:\r\r") + existing + QStringLiteral("\r\r")},
    };
    const QByteArray data = ReadFile(graph->FileName());
    for (const auto& f : failures) {
        SCOPED_TRACE(f.name);
        sink.Clear();
        answer = f.path;
        {
            ScopedFileSizeLimit limit(std::string(f.name) == "full disk" ? 100 : RLIM_INFINITY);
            graph->SavePicture();
        }
        ASSERT_EQ(sink.Messages().size(), 1);
        EXPECT_TRUE(sink.Messages().front().startsWith(f.message)) << sink.Messages().front().toStdString();
    }
    EXPECT_EQ(ReadFile(graph->FileName()), data);
    EXPECT_EQ(ReadFile(existing), old);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("no"))));

    sink.Clear(); // cancelled: nothing written, nothing said
    answer.clear();
    const QStringList before = QDir(dir.path()).entryList();
    graph->SavePicture();
    EXPECT_EQ(QDir(dir.path()).entryList(), before);
    EXPECT_TRUE(sink.Messages().isEmpty());
}

TEST_F(ControlFixture, PrintSpansThePageWidthAndInvertsABlackBackground)
{
    Load("5 9 7 3\n");
    graph->SetGraphType(kBarGraph);
    Settle();
    int prints = 0;
    graph->SetPrintSetup([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("page%1.pdf").arg(++prints)));
        return true;
    });
    QTest::mouseClick(Child<QPushButton>("PrintBtn"), Qt::LeftButton);
    const QImage page = PdfPage(dir.filePath(QStringLiteral("page1.pdf")), dir.filePath(QStringLiteral("page1")));
    ASSERT_FALSE(page.isNull()) << "pdftoppm missing or the PDF unreadable";
    const auto ivory = [](QColor c) { return c.red() > 250 && c.green() > 250 && c.blue() > 238 && c.blue() < 252; };
    // The picture starts at the printable area's top left and reaches its right edge; the
    // page below the picture stays white.
    const int pictureBottom = page.height() / 4;
    EXPECT_GT(CountPixels(page.copy(page.width() * 9 / 10, pictureBottom / 2, page.width() / 20, 4),
                          ivory),
              0);
    EXPECT_EQ(page.pixelColor(page.width() / 2, page.height() - 5), QColor(Qt::white));
    const auto red = [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };
    const auto cyan = [](QColor c) { return c.red() < 60 && c.green() > 200 && c.blue() > 200; };
    EXPECT_GT(CountPixels(page, red), 100);

    graph->SetBackgroundColor(0x00000000);
    Settle();
    graph->Print();
    const QImage inverted = PdfPage(dir.filePath(QStringLiteral("page2.pdf")), dir.filePath(QStringLiteral("page2")));
    EXPECT_EQ(CountPixels(inverted, red), 0);
    EXPECT_GT(CountPixels(inverted, cyan), 100);
    // The black background prints white.
    EXPECT_EQ(inverted.pixelColor(inverted.width() * 9 / 10, pictureBottom / 2), QColor(Qt::white));

    graph->SetPrintSetup([&](QPrinter&, QWidget*) { return false; }); // cancelled: nothing printed
    graph->Print();
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("page3.pdf"))));
    EXPECT_TRUE(sink.Messages().isEmpty());
}

TEST_F(ControlFixture, APrintThatCannotBeWrittenSaysSoAndLeavesNoFile)
{
    Load("5 9 7 3\n");
    Settle();
    QString target;
    graph->SetPrintSetup([&](QPrinter& printer, QWidget*) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(target);
        return true;
    });
    const QString expected = QStringLiteral("The graph could not be printed to the file:\r\r");

    // A full disk: the file would be created, and no byte of it written.
    target = dir.filePath(QStringLiteral("full.pdf"));
    {
        ScopedFileSizeLimit full(0);
        graph->Print();
    }
    ASSERT_EQ(sink.Messages().size(), 1);
    EXPECT_TRUE(sink.Messages()[0].startsWith(expected + target + QStringLiteral("\r\r"))) << sink.Messages()[0].toStdString();
    EXPECT_FALSE(QFile::exists(target));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).filter(QStringLiteral("full")),
              QStringList());

    // A disk that fills up part of the way leaves the earlier print as it was.
    sink.Clear();
    target = dir.filePath(QStringLiteral("kept.pdf"));
    graph->Print();
    ASSERT_TRUE(sink.Messages().isEmpty()) << sink.Messages().value(0).toStdString();
    const QByteArray earlier = ReadFile(target);
    ASSERT_TRUE(earlier.trimmed().endsWith("%%EOF"));
    {
        ScopedFileSizeLimit full(static_cast<rlim_t>(earlier.size() / 2));
        graph->Print();
    }
    ASSERT_EQ(sink.Messages().size(), 1);
    EXPECT_TRUE(sink.Messages()[0].startsWith(expected + target)) << sink.Messages()[0].toStdString();
    EXPECT_EQ(ReadFile(target), earlier);

    // A folder that cannot be written to.
    sink.Clear();
    target = QStringLiteral("/proc/plotwell-cannot-be-here.pdf");
    graph->Print();
    ASSERT_EQ(sink.Messages().size(), 1);
    EXPECT_TRUE(sink.Messages()[0].startsWith(expected + target)) << sink.Messages()[0].toStdString();
}

TEST_F(ControlFixture, LabelsDialogEditsTheThreeTextsAndRedrawsAtOnce)
{
    Load(kExample);
    bool escapeKeptItOpen = false;
    QSize clientSize;
    bool closed = false;
    CloseNextModal(closed, [&](QDialog& dialog) {
        ASSERT_NE(qobject_cast<GraphLabelsDialog*>(&dialog), nullptr);
        clientSize = dialog.size();
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Graph Labels"));
        auto* title = dialog.findChild<QLineEdit*>(QStringLiteral("titleedit"));
        ASSERT_NE(title, nullptr);
        EXPECT_EQ(title->text(), graph->Title());
        EXPECT_EQ(dialog.focusWidget(), title);
        QTest::keyClick(title, Qt::Key_Escape);
        escapeKeptItOpen = dialog.isVisible();
        title->clear();
        dialog.findChild<QLineEdit*>(QStringLiteral("xlabeledit"))->setText(QStringLiteral("Month"));
        auto* y = dialog.findChild<QLineEdit*>(QStringLiteral("ylabeledit"));
        y->setText(QStringLiteral("Sales"));
        QTest::keyClick(y, Qt::Key_Return); // OK is the default button
    });
    drawn = 0;
    QTest::mouseClick(Child<QPushButton>("LabelsBtn"), Qt::LeftButton);
    Settle();
    ASSERT_TRUE(closed) << "Return did not close a labels dialog";
    EXPECT_TRUE(escapeKeptItOpen);
    EXPECT_EQ(clientSize, QSize(344, 200));
    EXPECT_EQ(graph->Title(), QString());
    EXPECT_EQ(graph->XLabel(), QStringLiteral("Month"));
    EXPECT_EQ(graph->YLabel(), QStringLiteral("Sales"));
    EXPECT_EQ(drawn, 1);

    CloseNextModal(closed, [](QDialog& dialog) {
        auto* x = dialog.findChild<QLineEdit*>(QStringLiteral("xlabeledit"));
        auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("cancelbutton"));
        ASSERT_TRUE(x && cancel);
        x->setText(QStringLiteral("ignored"));
        QTest::mouseClick(cancel, Qt::LeftButton);
    });
    QTest::mouseClick(Child<QPushButton>("LabelsBtn"), Qt::LeftButton);
    ASSERT_TRUE(closed) << "Cancel did not close a labels dialog";
    EXPECT_EQ(graph->XLabel(), QStringLiteral("Month"));
}

TEST_F(ControlFixture, HoldsUpUnderOddSizesEmptyStoresAndFailedLoads)
{
    // Every option with nothing loaded.
    for (const char* name : {"curverb", "barrb", "stackedbarrb", "pierb", "linerb", "HorzGridlinesCheckbox",
                             "VertGridlinesCheckbox", "PointsCheckbox", "DrawAreaCheckbox", "CopyBtn"})
        QTest::mouseClick(Child<QAbstractButton>(name), Qt::LeftButton);
    Settle();
    EXPECT_EQ(drawn, 0);

    // A load with each graph type selected, at the smallest and a very large size.
    for (const char* name : {"curverb", "barrb", "stackedbarrb", "pierb"}) {
        QTest::mouseClick(Child<QRadioButton>(name), Qt::LeftButton);
        Load(kExample);
        EXPECT_EQ(graph->GraphType(), kLineGraph) << name;
    }
    for (const QSize size : {graph->minimumSize(), QSize(4000, 3000), QSize(644, 441)}) {
        graph->resize(size);
        Settle();
        EXPECT_EQ(graph->SurfaceImage().size(), Child<QWidget>("PaintBox")->size());
    }

    // A file that fails to load leaves an empty store and a line graph, with its message.
    QTest::mouseClick(Child<QRadioButton>("barrb"), Qt::LeftButton);
    Load("1 2 x\n");
    EXPECT_EQ(graph->NumberOfSeries(), 0);
    EXPECT_TRUE(Child<QRadioButton>("linerb")->isChecked());
    ASSERT_EQ(sink.Messages().size(), 1);
    EXPECT_TRUE(sink.Messages().front().contains(QStringLiteral("\"x\""))) << sink.Messages().front().toStdString();
    const QImage blank = graph->SurfaceImage();
    EXPECT_EQ(blank.pixel(blank.width() / 2, blank.height() / 2), qRgb(255, 255, 248));
}
