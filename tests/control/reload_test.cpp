// The layout the Open dialog chose, kept for loading the file again, and a reload of a changed
// file that keeps what the user set, or the whole graph when it fails.
#include "control/control_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QTimer>
#include <QSignalSpy>

using namespace plotwell;

TEST_F(ControlFixture, OpenDialogsFilterChoosesTheLayoutOfANameWithoutAnEnding)
{
    const struct {
        const char* name;
        DataLayout chosen;
        int series;
    } cases[] = {
        {"row.dat", DataLayout::ByName, 1},
        {"row.dat", DataLayout::Columns, 3},
        {"row.CSV", DataLayout::ByName, 3},
        {"row.tsv", DataLayout::Lines, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        WriteFile(path, "5,1,7\n");
        graph->SetOpenFileDialog([&](QWidget*, const QString&) { return GraphControl::OpenChoice{path, c.chosen}; });
        graph->Open();
        WaitForLoad();
        EXPECT_EQ(graph->NumberOfSeries(), c.series);
        // Read again as it was chosen.
        graph->ReloadChangedFile();
        WaitForLoad();
        EXPECT_EQ(graph->NumberOfSeries(), c.series);
        graph->LoadFile(path, graph->FileLayout());
        WaitForLoad();
        EXPECT_EQ(graph->NumberOfSeries(), c.series);
    }
    EXPECT_TRUE(sink.Messages().isEmpty()) << sink.Messages().join(u'|').toStdString();
}

TEST_F(ControlFixture, AReloadOfTheChangedFileKeepsTypeTitleAndBoxesOrTheWholeGraph)
{
    const QString path = dir.filePath(QStringLiteral("log.csv"));
    WriteFile(path, "t,a,b\n1,2,3\n2,3,4\n");
    graph->LoadFile(path);
    WaitForLoad();
    graph->SetGraphType(kBarGraph);
    graph->SetTitle(QStringLiteral("Mine"));
    QTest::mouseClick(Child<QCheckBox>("displayseriesbox2"), Qt::LeftButton);
    Settle();
    ASSERT_FALSE(graph->Model().SeriesBox(2).checked);

    QSignalSpy failed(graph, &GraphControl::reloadFailed);
    WriteFile(path, "t,a,b\n1,2,3\n2,3,4\n3,4,5\n");
    graph->ReloadChangedFile();
    WaitForLoad();
    EXPECT_EQ(graph->NumberOfPoints(), 3); // series 1 only: box 2 stays unchecked
    EXPECT_EQ(graph->GraphType(), kBarGraph);
    EXPECT_EQ(graph->Title(), QStringLiteral("Mine"));
    EXPECT_FALSE(graph->Model().SeriesBox(2).checked);
    EXPECT_FALSE(Child<QCheckBox>("displayseriesbox2")->isChecked());

    // Half written, then gone: the graph stays, and the failures come as signals, not boxes.
    WriteFile(path, "t,a,b\n1,2,3\n2,x");
    graph->ReloadChangedFile();
    WaitForLoad();
    ASSERT_TRUE(QFile::remove(path));
    graph->ReloadChangedFile();
    WaitForLoad();
    EXPECT_EQ(graph->NumberOfPoints(), 3); // series 1 only: box 2 stays unchecked
    EXPECT_EQ(graph->FileName(), path);
    EXPECT_EQ(graph->GraphType(), kBarGraph);
    ASSERT_EQ(failed.size(), 2);
    EXPECT_EQ(failed[0][0].toString(),
              QStringLiteral("Error reading from row 3, column 2: \"x\" is not a number.\r\r") + path);
    EXPECT_EQ(failed[1][0].toString(), QStringLiteral("File not found:\r\r") + path);
    EXPECT_TRUE(sink.Messages().isEmpty()) << sink.Messages().join(u'|').toStdString();

    // F5's load still shows its message.
    graph->LoadFile(path, graph->FileLayout());
    WaitForLoad();
    EXPECT_EQ(sink.Messages(), QStringList{QStringLiteral("File not found:\r\r") + path});
}

TEST_F(ControlFixture, TheOwnOpenDialogsColumnFilterReadsAnyFileAsColumns)
{
    const QString path = dir.filePath(QStringLiteral("row.dat"));
    WriteFile(path, "5,1,7\n");
    for (const bool columns : {true, false}) {
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            if (columns)
                dialog->selectNameFilter(QStringLiteral("Column files (*.csv *.tsv *)"));
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept(); // as the Open button does
        });
        graph->Open();
        WaitForLoad();
        EXPECT_EQ(graph->NumberOfSeries(), columns ? 3 : 1) << columns;
        EXPECT_EQ(graph->FileLayout(), columns ? DataLayout::Columns : DataLayout::ByName);
    }
}
