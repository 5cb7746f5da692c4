#include "settings/ini_settings.h"

#include "core/recording_sink.h"
#include "settings/ini_file.h"
#include "support/test_support.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStandardPaths>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

using plotwell::IniFile;
using plotwell::IniSettings;
using plotwell::RecordingSink;

namespace {

QString ConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

// Settings in a temporary file, on a 1920 x 1080 desktop.
class IniSettingsTest : public ::testing::Test
{
protected:
    IniSettingsTest()
    {
        settings_.SetIniFileName(dir_.filePath(QStringLiteral("test.ini")));
        settings_.SetDesktopArea([](const QWidget&) { return QRect(0, 0, 1920, 1080); });
    }

    QTemporaryDir dir_;
    RecordingSink sink_;
    IniSettings settings_{&sink_};
};

} // namespace

TEST(IniSettingsPath, FollowsCompanyAndProductUnlessAPathWasSetAfterThem)
{
    IniSettings settings(nullptr);
    EXPECT_EQ(settings.CompanyName(), QStringLiteral("Marrowfen"));
    EXPECT_EQ(settings.GetFullIniFilename(), ConfigFolder() + QStringLiteral("/Marrowfen/Product1/Product1.ini"));

    settings.SetIniFileName(QStringLiteral("/somewhere/explicit.ini"));
    settings.SetProductName(QStringLiteral("Plotwell"));
    EXPECT_EQ(settings.IniFileName(), ConfigFolder() + QStringLiteral("/Marrowfen/Plotwell/Plotwell.ini"));

    settings.SetIniFileName(QStringLiteral("/somewhere/explicit.ini"));
    EXPECT_EQ(settings.IniFileName(), QStringLiteral("/somewhere/explicit.ini"));

    IniSettings unnamed(nullptr);
    unnamed.SetIniFileName(QString());
    unnamed.SetProductName(QString());
    EXPECT_EQ(unnamed.GetFullIniFilename(), QString()) << "no product, no path yet";
}

TEST(IniSettingsFreshProfile, ReadingLeavesTheWindowAndClosingWritesTheFiveKeys)
{
    IniSettings settings(nullptr);
    settings.SetCompanyName(QStringLiteral("PlotwellSettingsTests"));
    settings.SetProductName(QStringLiteral("Fresh"));
    QDir companyFolder(ConfigFolder() + QStringLiteral("/PlotwellSettingsTests"));
    companyFolder.removeRecursively();

    QWidget form;
    form.setGeometry(110, 90, 700, 540);
    settings.ReadWindowPos(&form, QString());
    EXPECT_EQ(form.geometry(), QRect(110, 90, 700, 540));

    settings.WriteWindowPos(&form, QString());
    EXPECT_EQ(ReadFile(settings.GetFullIniFilename()),
              QByteArray("[Settings]\nMaximized=0\nLeft=110\nTop=90\nWidth=700\nHeight=540\n"));
    companyFolder.removeRecursively();
}

TEST_F(IniSettingsTest, RestoredWindowStaysReachableOnTheDesktop)
{
    struct Case
    {
        const char* name;
        int left, top, width, height; // stored
        QRect expected;               // for a window now at (100, 50) 700 x 540
    };
    const Case cases[] = {
        {"stored", 120, 80, 800, 600, QRect(120, 80, 800, 600)},
        {"-1 is missing", -1, -1, -1, -1, QRect(100, 50, 700, 540)},
        {"beyond the right", 3000, 80, 700, 540, QRect(1920 - 700, 80, 700, 540)},
        {"beyond the bottom", 10, 2000, 700, 540, QRect(10, 1080 - 540, 700, 540)},
        {"off to the left", -660, 80, 700, 540, QRect(0, 80, 700, 540)},
        {"off the top", 10, -500, 700, 540, QRect(10, 0, 700, 540)},
        {"just reachable", -640, -480, 700, 540, QRect(-640, -480, 700, 540)},
        {"larger than the desktop", 0, 0, 2000000000, 2000000000, QRect(0, 0, 1920, 1080)},
        {"no size", 5, 5, 0, -3, QRect(5, 5, 700, 540)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings_.WriteInteger(QStringLiteral("Left"), c.left, QStringLiteral("Settings"));
        settings_.WriteInteger(QStringLiteral("Top"), c.top, QStringLiteral("Settings"));
        settings_.WriteInteger(QStringLiteral("Width"), c.width, QStringLiteral("Settings"));
        settings_.WriteInteger(QStringLiteral("Height"), c.height, QStringLiteral("Settings"));
        QWidget form;
        form.setGeometry(100, 50, 700, 540);
        settings_.ReadWindowPos(&form, QString());
        EXPECT_EQ(form.geometry(), c.expected);
        EXPECT_FALSE(form.isMaximized());
    }
}

// Without a given desktop, the screens decide: a position saved on a monitor that is gone
// comes back whole on the screen that is there.
TEST_F(IniSettingsTest, WindowSavedOnAScreenThatIsGoneComesBackOnTheScreenThatIsThere)
{
    settings_.SetDesktopArea({});
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    settings_.WriteInteger(QStringLiteral("Left"), screen.right() + 1500, QStringLiteral("Settings"));
    settings_.WriteInteger(QStringLiteral("Top"), screen.top() + 40, QStringLiteral("Settings"));
    settings_.WriteInteger(QStringLiteral("Width"), 300, QStringLiteral("Settings"));
    settings_.WriteInteger(QStringLiteral("Height"), 200, QStringLiteral("Settings"));
    QWidget form;
    form.setGeometry(10, 10, 100, 100);
    settings_.ReadWindowPos(&form, QString());
    EXPECT_TRUE(screen.contains(form.geometry())) << form.geometry().x() << "," << form.geometry().y();
    EXPECT_EQ(form.size(), QSize(300, 200));
}

TEST_F(IniSettingsTest, MaximisedWindowComesBackMaximisedOverItsRestoredRectangle)
{
    {
        QWidget form;
        form.setGeometry(120, 80, 700, 540);
        form.show();
        form.setWindowState(Qt::WindowMaximized);
        ASSERT_TRUE(form.isMaximized());
        settings_.WriteWindowPos(&form, QStringLiteral("Main"));
    }
    const IniFile ini(settings_.GetFullIniFilename());
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Settings"), QStringLiteral("MainMaximized"), false));
    EXPECT_EQ(ini.ReadInteger(QStringLiteral("Settings"), QStringLiteral("MainLeft"), 0), 120);

    QWidget form;
    form.setGeometry(10, 10, 300, 200);
    settings_.ReadWindowPos(&form, QStringLiteral("Main"));
    EXPECT_TRUE(form.isMaximized());
    EXPECT_EQ(form.normalGeometry(), QRect(120, 80, 700, 540));
}

TEST_F(IniSettingsTest, FixedSizeWindowKeepsItsSize)
{
    QWidget form;
    form.setGeometry(30, 40, 400, 300);
    form.setFixedSize(400, 300);
    settings_.WriteWindowPos(&form, QString());
    EXPECT_EQ(ReadFile(settings_.GetFullIniFilename()), QByteArray("[Settings]\nMaximized=0\nLeft=30\nTop=40\n"));

    settings_.WriteInteger(QStringLiteral("Width"), 900, QStringLiteral("Settings"));
    settings_.WriteInteger(QStringLiteral("Left"), 60, QStringLiteral("Settings"));
    settings_.ReadWindowPos(&form, QString());
    EXPECT_EQ(form.geometry(), QRect(60, 40, 400, 300));
}

TEST_F(IniSettingsTest, WindowPositionInAFolderThatCannotBeMadeIsReportedOnce)
{
    const QString blocker = dir_.filePath(QStringLiteral("file"));
    WriteFile(blocker, "x");
    IniSettings settings(&sink_);
    settings.SetIniFileName(blocker + QStringLiteral("/Marrowfen/Plotwell/Plotwell.ini"));

    QWidget form;
    form.setGeometry(100, 50, 700, 540);
    settings.ReadWindowPos(&form, QString());
    EXPECT_EQ(form.geometry(), QRect(100, 50, 700, 540));
    settings.WriteWindowPos(&form, QString());
    settings.WriteWindowPos(&form, QString());
    EXPECT_EQ(sink_.Messages(), QStringList{QStringLiteral("Unable to write to ") +
                                            QDir::toNativeSeparators(settings.GetFullIniFilename())});
}

TEST_F(IniSettingsTest, FontsRoundTripWithStyleBits)
{
    QFont font(QStringLiteral("Tahoma"), 8);
    font.setBold(true);
    font.setItalic(true);
    settings_.WriteFont(QStringLiteral("Editor"), font, 0x00FF0000);
    EXPECT_EQ(ReadFile(settings_.GetFullIniFilename()),
              QByteArray("[Editor]\nFontName=Tahoma\nFontSize=8\nFontColor=16711680\nFontCharSet=1\nFontStyle=3\n"));

    settings_.WriteInteger(QStringLiteral("FontStyle"), 12, QStringLiteral("Editor"));
    QFont read(QStringLiteral("Sans"), 20);
    plotwell::RgbColor color = 0;
    settings_.ReadFont(QStringLiteral("Editor"), read, color);
    EXPECT_EQ(read.family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(read.pointSize(), 8);
    EXPECT_FALSE(read.bold());
    EXPECT_FALSE(read.italic());
    EXPECT_TRUE(read.underline());
    EXPECT_TRUE(read.strikeOut());
    EXPECT_EQ(color, 0x00FF0000u);

    settings_.WriteFont(QStringLiteral("Plain"), QFont(QStringLiteral("Tahoma"), 9));
    EXPECT_EQ(settings_.ReadInteger(QStringLiteral("FontColor"), 0, QStringLiteral("Plain")), -2147483640)
        << "a system colour is stored negative";

    QFont untouched(QStringLiteral("Sans"));
    untouched.setPixelSize(16);
    settings_.ReadFont(QStringLiteral("Nothing stored"), untouched);
    EXPECT_EQ(untouched.family(), QStringLiteral("Sans"));
    EXPECT_EQ(untouched.pixelSize(), 16);
}

TEST_F(IniSettingsTest, ControlPropertiesRoundTripByNameWithEnumerationsAsText)
{
    QWidget form;
    form.setObjectName(QStringLiteral("Form1"));
    auto* box = new QCheckBox(&form);
    box->setObjectName(QStringLiteral("PointsCheckbox"));
    auto* edit = new QLineEdit(&form);
    edit->setObjectName(QStringLiteral("titleedit"));
    auto* label = new QLabel(&form);
    label->setObjectName(QStringLiteral("caption"));
    auto* skipped = new QLineEdit(&form);
    skipped->setObjectName(QStringLiteral("secret"));

    box->setChecked(true);
    edit->setText(QStringLiteral("My title"));
    skipped->setText(QStringLiteral("not saved"));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
    label->setTextFormat(Qt::PlainText);
    const QStringList props{QStringLiteral("checked"), QStringLiteral("text"), QStringLiteral("alignment"),
                            QStringLiteral("textFormat")};
    const QStringList skip{QStringLiteral("secret")};
    const QString path = dir_.filePath(QStringLiteral("controls.ini"));
    settings_.SaveControlsToFile(path, &form, props, skip);

    const IniFile saved(path);
    EXPECT_EQ(saved.ReadString(QStringLiteral("Form1"), QStringLiteral("PointsCheckbox.checked"), QString()), QStringLiteral("true"));
    EXPECT_EQ(saved.ReadString(QStringLiteral("Form1"), QStringLiteral("caption.alignment"), QString()),
              QStringLiteral("AlignHCenter|AlignBottom"));
    EXPECT_EQ(saved.ReadString(QStringLiteral("Form1"), QStringLiteral("caption.textFormat"), QString()), QStringLiteral("PlainText"));
    EXPECT_FALSE(saved.ValueExists(QStringLiteral("Form1"), QStringLiteral("secret.text")));

    box->setChecked(false);
    edit->setText(QString());
    label->setAlignment(Qt::AlignLeft);
    label->setTextFormat(Qt::RichText);
    settings_.LoadControlsFromFile(path, &form, props, skip);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(edit->text(), QStringLiteral("My title"));
    EXPECT_EQ(label->alignment(), Qt::AlignHCenter | Qt::AlignBottom);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);

    // The component's own file, and values that do not fit their property.
    settings_.WriteString(QStringLiteral("PointsCheckbox.checked"), QStringLiteral("false"), QStringLiteral("Form1"));
    settings_.WriteString(QStringLiteral("caption.textFormat"), QStringLiteral("NoSuchFormat"), QStringLiteral("Form1"));
    settings_.LoadControls(&form, props, nullptr, skip);
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
}
