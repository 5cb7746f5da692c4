#pragma once
// A graph control in a shown host window, with messages recorded and the drawings counted;
// ControlFixture is the same as a test fixture.

#include "control/graph_control.h"
#include "core/recording_sink.h"
#include "support/test_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTest>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

namespace plotwell {

struct ControlHost
{
    RecordingSink sink;
    QWidget host;
    GraphControl* graph = nullptr;
    int drawn = 0;

    ControlHost()
    {
        QFont font = host.font();
        font.setPointSize(9);
        host.setFont(font);
        host.resize(700, 500);
        graph = new GraphControl(sink, &host);
        graph->SetOnGraphDrawn([this](QObject*) { ++drawn; });
        host.show();
        graph->resize(644, 441);
        Settle();
    }

    // Lets the posted drawing happen, as the end of an event-loop turn would.
    static void Settle() { QCoreApplication::sendPostedEvents(); }

    // Runs the event loop until a background load has been put in place (or 10 s passed).
    void WaitForLoad()
    {
        QDeadlineTimer deadline(10000);
        while (graph->Loading() && !deadline.hasExpired())
            QTest::qWait(2);
        EXPECT_FALSE(graph->Loading());
        Settle();
    }

    void Load(const QByteArray& text)
    {
        const QString path = dir.filePath(QStringLiteral("data %1.txt").arg(++files));
        WriteFile(path, text);
        graph->SetFileName(path);
        Settle();
    }

    template <typename W = QWidget> W* Child(const char* name) const
    {
        W* w = graph->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QTemporaryDir dir;
    int files = 0;
};

struct ControlFixture : ::testing::Test, ControlHost
{
};

} // namespace plotwell
