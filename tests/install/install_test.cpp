// The installed program: `cmake --install` into a temporary DESTDIR lays out every file, the
// installed plotwell finds its help page and example file from there, both programs answer
// --help and --version, and the desktop entry, software centre entry and manual pages pass
// their checkers; the Debian package carries its copyright file and passes lintian.

#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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
                         QStringLiteral("share/man/man1/plotwell.1.gz"),
                         QStringLiteral("share/man/man1/plotwell-render.1.gz"),
                         QStringLiteral("share/doc/plotwell/copyright"),
                         QStringLiteral("share/doc/plotwell/changelog.gz")};
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
         {QStringLiteral("DATAFILE"), QStringLiteral("--summary"), QStringLiteral("--hide <N>"), QStringLiteral("-o <FILE>"), QStringLiteral("--format <F>"),
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
        for (const char* page : {"plotwell.1.gz", "plotwell-render.1.gz"}) {
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

TEST_F(InstallTest, DebianPackageCarriesItsCopyrightAndPassesLintian)
{
    // The changelog's latest entry is the version being packaged.
    const QByteArray changelog = ReadFile(QStringLiteral(PLOTWELL_SOURCE_DIR "/packaging/changelog"));
    EXPECT_TRUE(changelog.startsWith("plotwell (" PLOTWELL_PROJECT_VERSION ") ")) << changelog.left(40).toStdString();
    const QByteArray copyright = ReadFile(QStringLiteral(PLOTWELL_SOURCE_DIR "/packaging/copyright"));
    EXPECT_TRUE(copyright.startsWith("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"));

    const QString lintian = QStandardPaths::findExecutable(QStringLiteral("lintian"));
    const QString dpkgDeb = QStandardPaths::findExecutable(QStringLiteral("dpkg-deb"));
    if (lintian.isEmpty() || dpkgDeb.isEmpty())
        GTEST_SKIP() << "lintian or dpkg-deb is not installed (scripts/ensure_deps.sh installs them)";
    const QString cpack = QFileInfo(QStringLiteral(PLOTWELL_CMAKE)).dir().filePath(QStringLiteral("cpack"));
    QTemporaryDir out;
    const ProgramRun pack = Start(cpack,
                                  {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                                   QStringLiteral(PLOTWELL_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"), out.path()},
                                  QStringLiteral(PLOTWELL_BUILD_DIR));
    ASSERT_EQ(pack.exitCode, 0) << pack.out.toStdString() << pack.err.toStdString();
    const QStringList debs = QDir(out.path()).entryList({QStringLiteral("*.deb")});
    ASSERT_EQ(debs.size(), 1) << pack.out.toStdString();
    const QString package = out.filePath(debs.front());

    const ProgramRun contents = Start(dpkgDeb, {QStringLiteral("--contents"), package}, out.path());
    for (const char* file : {"./usr/share/doc/plotwell/copyright", "./usr/share/doc/plotwell/changelog.gz",
                             "./usr/share/man/man1/plotwell.1.gz"})
        EXPECT_TRUE(contents.out.contains(QLatin1String(file))) << file;
    // The libraries the programs link, SVG's among them, are the package's dependencies.
    const ProgramRun depends = Start(dpkgDeb, {QStringLiteral("--field"), package, QStringLiteral("Depends")}, out.path());
    for (const char* library : {"libqt6gui6", "libqt6svg6", "libqt6widgets6"})
        EXPECT_TRUE(depends.out.contains(QLatin1String(library))) << library << " in " << depends.out.toStdString();

    // Errors fail the test; warnings too, since none is expected (the informational tags that
    // remain are about hardening flags and documents kept beside the program).
    const ProgramRun run = Start(lintian, {QStringLiteral("--fail-on"), QStringLiteral("error,warning"), package}, out.path());
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("E: "))) << run.out.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("W: "))) << run.out.toStdString();
}

TEST(SetUpScript, WaitsForThePackageLockAndCountsPendingTriggersAsInstalled)
{
    // scripts/ensure_deps.sh against stand-ins for the package tools: packages whose triggers
    // are pending or awaited count as installed, the one removed is installed, and both of
    // apt-get's runs wait for the package lock.
    QTemporaryDir bin;
    const QString log = bin.filePath(QStringLiteral("apt-get.log"));
    const auto tool = [&](const char* name, const QByteArray& body) {
        const QString path = bin.filePath(QLatin1String(name));
        WriteFile(path, "#!/bin/sh\n" + body);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    };
    tool("apt-get", "echo \"$*\" >> \"$APT_LOG\"\n");
    tool("sudo", "exec \"$@\"\n");
    const auto run = [&](const QByteArray& removed) {
        tool("dpkg-query", "for last; do :; done\n"
                           "case \"$last\" in\n"
                           "  cmake) printf 'install ok triggers-pending' ;;\n"
                           "  ninja-build) printf 'install ok triggers-awaited' ;;\n"
                           "  " + removed + ") printf 'deinstall ok config-files' ;;\n"
                           "  *) printf 'install ok installed' ;;\n"
                           "esac\n");
        QFile::remove(log);
        QProcess script;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PATH"), bin.path() + QStringLiteral(":/usr/bin:/bin"));
        env.insert(QStringLiteral("APT_LOG"), log);
        script.setProcessEnvironment(env);
        script.start(QStringLiteral("bash"), {QStringLiteral(PLOTWELL_SOURCE_DIR "/scripts/ensure_deps.sh")});
        EXPECT_TRUE(script.waitForFinished(30000));
        EXPECT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
        return QFile::exists(log) ? QString::fromUtf8(ReadFile(log)) : QString();
    };
    EXPECT_EQ(run("lintian"), QStringLiteral("-o DPkg::Lock::Timeout=600 update -qq\n"
                                             "-o DPkg::Lock::Timeout=600 install -y -qq --no-install-recommends lintian\n"));
    EXPECT_EQ(run("none-of-them"), QString()); // nothing missing: no apt-get at all
}
