// The installed program: `cmake --install` into a temporary DESTDIR lays out every file, the
// installed plotwell finds its help page and example file from there, both programs answer
// --help and --version, and the desktop entry, software centre entry and manual pages pass
// their checkers.

#include "support/test_support.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

class InstallTest : public ::testing::Test
{
protected:
    static inline QTemporaryDir* destDir = nullptr;
    static inline QString installLog;
    static inline bool installed = false;

    static QString Prefix() { return destDir->filePath(QStringLiteral("usr")); }
    static QString Installed(const QString& path) { return Prefix() + QLatin1Char('/') + path; }

    static void SetUpTestSuite()
    {
        destDir = new QTemporaryDir;
        QProcess install;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), destDir->path());
        install.setProcessEnvironment(env);
        install.setProcessChannelMode(QProcess::MergedChannels);
        install.start(QStringLiteral(PLOTWELL_CMAKE),
                      {QStringLiteral("--install"), QStringLiteral(PLOTWELL_BUILD_DIR), QStringLiteral("--prefix"),
                       QStringLiteral("/usr")});
        installed = install.waitForFinished(120000) && install.exitStatus() == QProcess::NormalExit &&
                    install.exitCode() == 0;
        installLog = QString::fromLocal8Bit(install.readAll());
    }
    static void TearDownTestSuite()
    {
        delete destDir;
        destDir = nullptr;
    }

    void SetUp() override { ASSERT_TRUE(installed) << installLog.toStdString(); }

    // Runs a program in `folder` with the user's folders in the temporary folder too, so the
    // settings and data of whoever runs the test stay out of it.
    static ProgramRun Start(const QString& program, const QStringList& arguments, const QString& folder,
                     const QProcessEnvironment& extra = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_DATA_DIRS"}) {
            const QString path = destDir->filePath(QStringLiteral("home/") + QLatin1String(name));
            QDir().mkpath(path);
            env.insert(QLatin1String(name), path);
        }
        env.insert(extra);
        QProcess process;
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(folder);
        process.start(program, arguments);
        ProgramRun run;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        run.err = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }
};

} // namespace

TEST_F(InstallTest, LaysOutProgramsSharedFilesDesktopEntryIconsAndManualPages)
{
    QStringList expected{QStringLiteral("bin/plotwell"),
                         QStringLiteral("bin/plotwell-render"),
                         QStringLiteral("share/plotwell/plotwell help.html"),
                         QStringLiteral("share/plotwell/plotwell help.css"),
                         QStringLiteral("share/plotwell/plotwell-main-window.jpg"),
                         QStringLiteral("share/plotwell/example points 1 - simple series.txt"),
                         QStringLiteral("share/applications/plotwell.desktop"),
                         QStringLiteral("share/metainfo/org.marrowfen.plotwell.metainfo.xml"),
                         QStringLiteral("share/icons/hicolor/scalable/apps/plotwell.svg"),
                         QStringLiteral("share/man/man1/plotwell.1"),
                         QStringLiteral("share/man/man1/plotwell-render.1")};
    for (const int size : {16, 32, 48, 64, 128, 256})
        expected.append(QStringLiteral("share/icons/hicolor/%1x%1/apps/plotwell.png").arg(size));
    for (const QString& path : expected)
        EXPECT_TRUE(QFileInfo(Installed(path)).isFile()) << path.toStdString();
    EXPECT_TRUE(QFileInfo(Installed(QStringLiteral("bin/plotwell"))).isExecutable());

    // Each PNG is the size its folder says.
    for (const int size : {16, 256}) {
        const QByteArray png = ReadFile(Installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/plotwell.png").arg(size)));
        ASSERT_GE(png.size(), 24);
        EXPECT_EQ(qFromBigEndian<quint32>(png.constData() + 16), quint32(size));
        EXPECT_EQ(qFromBigEndian<quint32>(png.constData() + 20), quint32(size));
    }
}

TEST_F(InstallTest, InstalledProgramStartedInAnEmptyFolderFindsItsHelpPageAndExampleFile)
{
    QTemporaryDir empty;
    QProcessEnvironment env;
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PLOTWELL_PRESS_HELP_AT_START"), QStringLiteral("1"));
    const ProgramRun run = Start(Installed(QStringLiteral("bin/plotwell")), {}, empty.path(), env);
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    const QString share = Installed(QStringLiteral("share/plotwell/"));
    EXPECT_TRUE(run.out.contains(QStringLiteral("help page: ") + share + QStringLiteral("plotwell help.html\n")))
        << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("help page loaded\n"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("data file: ") + share +
                                 QStringLiteral("example points 1 - simple series.txt\n")))
        << run.out.toStdString();
}

TEST_F(InstallTest, ProgramAwayFromItsSharedFolderReportsTheMissingPage)
{
    QTemporaryDir elsewhere;
    QDir().mkpath(elsewhere.filePath(QStringLiteral("bin")));
    const QString program = elsewhere.filePath(QStringLiteral("bin/plotwell"));
    ASSERT_TRUE(QFile::copy(Installed(QStringLiteral("bin/plotwell")), program));
    QProcessEnvironment env;
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("PLOTWELL_PRESS_HELP_AT_START"), QStringLiteral("1"));
    const ProgramRun run = Start(program, {}, elsewhere.path(), env);
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("help page not loaded\n"))) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("message: File not found.\\r\\n\\r\\n") + elsewhere.path() +
                                 QStringLiteral("/bin/plotwell help.html")))
        << run.out.toStdString();
}

TEST_F(InstallTest, BothProgramsAnswerHelpAndVersionWithoutADisplay)
{
    const struct {
        const char* program;
        const char* argument;
        QStringList expected;
    } cases[] = {
        {"plotwell", "--help", {QStringLiteral("[FILE]"), QStringLiteral("--version"), QStringLiteral("--help")}},
        {"plotwell", "--version", {QStringLiteral("plotwell 1.11\n")}},
        {"plotwell-render", "--help",
         {QStringLiteral("DATAFILE"), QStringLiteral("--summary"), QStringLiteral("--hide <N>"), QStringLiteral("-o <FILE.png>"),
          QStringLiteral("--no-floating-axis"), QStringLiteral("--version")}},
        {"plotwell-render", "--version", {QStringLiteral("plotwell-render 1.11\n")}},
    };
    QTemporaryDir empty;
    // No display and no platform named: neither may need a window system for these.
    QProcessEnvironment env;
    env.insert(QStringLiteral("DISPLAY"), QString());
    env.insert(QStringLiteral("WAYLAND_DISPLAY"), QString());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.program) + " " + c.argument);
        const ProgramRun run = Start(Installed(QStringLiteral("bin/") + QLatin1String(c.program)), {QLatin1String(c.argument)},
                              empty.path(), env);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        for (const QString& text : c.expected)
            EXPECT_TRUE(run.out.contains(text)) << text.toStdString() << " in\n" << run.out.toStdString();
    }
}

TEST_F(InstallTest, DesktopEntrySoftwareCentreEntryAndManualPagesPassTheirCheckers)
{
    const QString validate = QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    const QString appstream = QStandardPaths::findExecutable(QStringLiteral("appstreamcli"));
    const QString man = QStandardPaths::findExecutable(QStringLiteral("man"));
    if (validate.isEmpty() && appstream.isEmpty() && man.isEmpty())
        GTEST_SKIP() << "none of desktop-file-validate, appstreamcli and man is installed";
    if (!validate.isEmpty()) {
        const ProgramRun run = Start(validate, {Installed(QStringLiteral("share/applications/plotwell.desktop"))}, destDir->path());
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_EQ(run.out + run.err, QString());
    }
    if (!appstream.isEmpty()) {
        const ProgramRun run =
            Start(appstream, {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--pedantic"),
                              Installed(QStringLiteral("share/metainfo/org.marrowfen.plotwell.metainfo.xml"))},
                  destDir->path());
        EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
        EXPECT_FALSE(run.out.contains(QStringLiteral("pedantic"))) << run.out.toStdString();
    }
    if (!man.isEmpty()) {
        QProcessEnvironment env;
        env.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        for (const char* page : {"plotwell.1", "plotwell-render.1"}) {
            SCOPED_TRACE(page);
            const ProgramRun run = Start(man, {QStringLiteral("--warnings"), QStringLiteral("-l"),
                                        Installed(QStringLiteral("share/man/man1/") + QLatin1String(page))},
                                  destDir->path(), env);
            EXPECT_EQ(run.exitCode, 0);
            EXPECT_EQ(run.err, QString());
            EXPECT_TRUE(run.out.contains(QStringLiteral("EXIT STATUS")));
        }
    }
}
