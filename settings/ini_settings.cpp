#include "settings/ini_settings.h"

#include "core/rounding.h"
#include "settings/ini_file.h"
#include "settings/property_text.h"

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QMetaProperty>
#include <QScreen>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>

namespace plotwell {

namespace {

constexpr QLatin1String kSettingsSection("Settings");

// Windows may be restored anywhere as long as this much of them stays on the desktop.
constexpr qint64 kReachableMargin = 60;

// Qt picks glyphs by script, so a character set means nothing to it; the value is written for
// the file's other readers and not read back.
constexpr int kDefaultCharset = 1;

// Font sizes outside this range are not a font anyone chose; they are ignored.
constexpr int kMaxFontPoints = 1000;

enum FontStyleBit { kBold = 1, kItalic = 2, kUnderline = 4, kStrikeOut = 8 };

constexpr Qt::WindowStates kSpecialStates = Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;

// Joins two parts of a path, adding a separator only when the left part needs one; an empty
// left part keeps the path relative.
QString JoinPath(const QString& left, const QString& right)
{
    if (left.isEmpty() || left.endsWith(QLatin1Char('/')) || left.endsWith(QDir::separator()))
        return left + right;
    return left + QLatin1Char('/') + right;
}

bool IsSizeable(const QWidget& form)
{
    return form.minimumSize() != form.maximumSize() && !form.windowFlags().testFlag(Qt::MSWindowsFixedSizeDialogHint);
}

// The work area of the screen that shows most of `wanted`, or of the primary screen when no
// screen shows any of it (a monitor unplugged since the position was saved).
QRect ScreenAreaFor(const QRect& wanted)
{
    QRect best;
    qint64 bestOverlap = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->availableGeometry() & wanted;
        const qint64 area = overlap.isEmpty() ? 0 : qint64(overlap.width()) * overlap.height();
        if (area > bestOverlap) {
            bestOverlap = area;
            best = screen->availableGeometry();
        }
    }
    if (best.isEmpty())
        if (const QScreen* primary = QGuiApplication::primaryScreen())
            best = primary->availableGeometry();
    return best;
}

int PointSizeOf(const QFont& font)
{
    if (font.pointSize() > 0)
        return font.pointSize();
    return font.pixelSize() > 0 ? static_cast<int>(Round(font.pixelSize() * 72.0 / 96.0)) : 0;
}

int StyleBits(const QFont& font)
{
    return (font.bold() ? kBold : 0) | (font.italic() ? kItalic : 0) | (font.underline() ? kUnderline : 0) |
           (font.strikeOut() ? kStrikeOut : 0);
}

void ApplyStyleBits(QFont& font, int bits)
{
    font.setBold(bits & kBold);
    font.setItalic(bits & kItalic);
    font.setUnderline(bits & kUnderline);
    font.setStrikeOut(bits & kStrikeOut);
}

// The objects whose properties are kept: every named object below the owner, in the order Qt
// lists them, except those in `skip` and Qt's own inner parts of compound widgets.
QList<QObject*> ControlsOf(QObject& owner, const QStringList& skip)
{
    QList<QObject*> result;
    const QList<QObject*> all = owner.findChildren<QObject*>();
    for (QObject* object : all) {
        const QString name = object->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || skip.contains(name, Qt::CaseSensitive))
            continue;
        result.append(object);
    }
    return result;
}

QString SectionOf(const QObject& owner)
{
    return owner.objectName().isEmpty() ? QString::fromLatin1(owner.metaObject()->className()) : owner.objectName();
}

QString ControlKey(const QObject& object, const QString& property)
{
    return QStringLiteral("%1.%2").arg(object.objectName(), property);
}

} // namespace

IniSettings::IniSettings(MessageSink* sink, QObject* owner)
    : QObject(owner),
      companyName_(QStringLiteral("Marrowfen")),
      productName_(QStringLiteral("Product1")),
      sink_(sink)
{
}

IniSettings::~IniSettings() = default;

void IniSettings::SetCompanyName(const QString& value)
{
    companyName_ = value;
    MakeIniFileName();
}

void IniSettings::SetProductName(const QString& value)
{
    productName_ = value;
    MakeIniFileName();
}

QString IniSettings::GetFullIniFilename()
{
    if (fullIniFileName_.isEmpty())
        MakeIniFileName();
    return fullIniFileName_;
}

void IniSettings::MakeIniFileName()
{
    if (!productName_.isEmpty())
        fullIniFileName_ = DerivedIniFileName();
}

QString IniSettings::DerivedIniFileName() const
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return JoinPath(JoinPath(JoinPath(folder, companyName_), productName_), productName_ + QStringLiteral(".ini"));
}

IniFile& IniSettings::OpenIniFile()
{
    if (iniFile_)
        return *iniFile_;
    if (fullIniFileName_.isEmpty())
        fullIniFileName_ = DerivedIniFileName();
    // A folder that cannot be made shows up as a failed write, reported there.
    QDir().mkpath(QFileInfo(fullIniFileName_).absolutePath());
    iniFile_ = std::make_unique<IniFile>(fullIniFileName_, sink_);
    return *iniFile_;
}

QString IniSettings::ReadString(const QString& key, const QString& defaultValue, const QString& section)
{
    return OpenIniFile().ReadString(section, key, defaultValue);
}

void IniSettings::WriteString(const QString& key, const QString& value, const QString& section)
{
    OpenIniFile().WriteString(section, key, value);
}

int IniSettings::ReadInteger(const QString& key, int defaultValue, const QString& section)
{
    return OpenIniFile().ReadInteger(section, key, defaultValue);
}

void IniSettings::WriteInteger(const QString& key, int value, const QString& section)
{
    OpenIniFile().WriteInteger(section, key, value);
}

bool IniSettings::ReadBool(const QString& key, bool defaultValue, const QString& section)
{
    return OpenIniFile().ReadBool(section, key, defaultValue);
}

void IniSettings::WriteBool(const QString& key, bool b, const QString& section)
{
    OpenIniFile().WriteBool(section, key, b);
}

double IniSettings::ReadFloat(const QString& key, double defaultValue, const QString& section)
{
    return OpenIniFile().ReadFloat(section, key, defaultValue);
}

void IniSettings::WriteFloat(const QString& key, double value, const QString& section)
{
    OpenIniFile().WriteFloat(section, key, value);
}

bool IniSettings::DeleteKey(const QString& key, const QString& section)
{
    OpenIniFile().DeleteKey(section, key);
    return false;
}

bool IniSettings::EraseSection(const QString& section)
{
    OpenIniFile().EraseSection(section);
    return false;
}

bool IniSettings::ReadMaximized(const QString& name)
{
    return OpenIniFile().ReadBool(kSettingsSection, name + QStringLiteral("Maximized"), false);
}

void IniSettings::WriteMaximized(QWidget* form, const QString& name)
{
    OpenIniFile().WriteBool(kSettingsSection, name + QStringLiteral("Maximized"), form->isMaximized());
}

void IniSettings::WriteWindowPos(QWidget* form, const QString& name)
{
    if (!form)
        return;
    IniFile& ini = OpenIniFile();
    IniFile::Batch batch(ini); // the five keys reach the file together
    WriteMaximized(form, name);
    const QRect rect = form->normalGeometry();
    if (!rect.isValid())
        return;
    ini.WriteInteger(kSettingsSection, name + QStringLiteral("Left"), rect.left());
    ini.WriteInteger(kSettingsSection, name + QStringLiteral("Top"), rect.top());
    if (IsSizeable(*form)) {
        ini.WriteInteger(kSettingsSection, name + QStringLiteral("Width"), rect.width());
        ini.WriteInteger(kSettingsSection, name + QStringLiteral("Height"), rect.height());
    }
}

void IniSettings::ReadWindowPos(QWidget* form, const QString& name)
{
    if (!form)
        return;
    const IniFile& ini = OpenIniFile();
    const Qt::WindowStates state = form->windowState();
    const bool special = state & kSpecialStates;
    QRect rect = special ? form->normalGeometry() : form->geometry();
    if (!rect.isValid())
        rect = form->geometry();

    // -1 is what a missing position was stored as.
    const int left = ini.ReadInteger(kSettingsSection, name + QStringLiteral("Left"), -1);
    const int top = ini.ReadInteger(kSettingsSection, name + QStringLiteral("Top"), -1);
    if (left != -1)
        rect.moveLeft(left);
    if (top != -1)
        rect.moveTop(top);
    if (IsSizeable(*form)) {
        const int width = ini.ReadInteger(kSettingsSection, name + QStringLiteral("Width"), -1);
        const int height = ini.ReadInteger(kSettingsSection, name + QStringLiteral("Height"), -1);
        if (width > 0)
            rect.setWidth(width);
        if (height > 0)
            rect.setHeight(height);
    }
    rect = ReachableRect(*form, rect);

    // The rectangle is the restored one: a maximised window gets it underneath, and stays maximised.
    if (special)
        form->setWindowState(state & ~kSpecialStates);
    form->setGeometry(rect);
    if (special)
        form->setWindowState(state);

    if (ReadMaximized(name))
        form->setWindowState((form->windowState() & ~(Qt::WindowMinimized | Qt::WindowFullScreen)) | Qt::WindowMaximized);
}

QRect IniSettings::ReachableRect(const QWidget& form, QRect rect) const
{
    QSize size = rect.size().expandedTo(form.minimumSize()).boundedTo(form.maximumSize());
    const QRect area = desktopArea_ ? desktopArea_(form) : ScreenAreaFor(rect);
    if (area.isEmpty())
        return QRect(rect.topLeft(), size);
    // A stored size larger than the desktop is not one the user made; it would only cost memory.
    size = size.boundedTo(area.size()).expandedTo(form.minimumSize());

    const qint64 width = size.width();
    const qint64 height = size.height();
    const qint64 areaRight = qint64(area.left()) + area.width();
    const qint64 areaBottom = qint64(area.top()) + area.height();
    qint64 left = rect.left();
    qint64 top = rect.top();
    if (left + width < area.left() + kReachableMargin)
        left = area.left();
    if (top + height < area.top() + kReachableMargin)
        top = area.top();
    if (left > areaRight - kReachableMargin)
        left = areaRight - width;
    if (top > areaBottom - kReachableMargin)
        top = areaBottom - height;
    return QRect(QPoint(static_cast<int>(left), static_cast<int>(top)), size);
}

QFont& IniSettings::ReadFont(const QString& key, QFont& font)
{
    RgbColor color = kWindowTextColor;
    return ReadFont(key, font, color);
}

QFont& IniSettings::ReadFont(const QString& key, QFont& font, RgbColor& color)
{
    const IniFile& ini = OpenIniFile();
    const QString family = ini.ReadString(key, QStringLiteral("FontName"), font.family()).trimmed();
    if (!family.isEmpty())
        font.setFamily(family);
    // Only a stored size is applied, so a font sized in pixels stays so when none is stored.
    if (ini.ValueExists(key, QStringLiteral("FontSize"))) {
        const int points = ini.ReadInteger(key, QStringLiteral("FontSize"), PointSizeOf(font));
        if (points > 0 && points <= kMaxFontPoints)
            font.setPointSize(points);
    }
    color = static_cast<RgbColor>(ini.ReadInteger(key, QStringLiteral("FontColor"), static_cast<qint32>(color)));
    ApplyStyleBits(font, ini.ReadInteger(key, QStringLiteral("FontStyle"), StyleBits(font)));
    return font;
}

void IniSettings::WriteFont(const QString& key, const QFont& font, RgbColor color)
{
    IniFile& ini = OpenIniFile();
    IniFile::Batch batch(ini);
    ini.WriteString(key, QStringLiteral("FontName"), font.family());
    ini.WriteInteger(key, QStringLiteral("FontSize"), PointSizeOf(font));
    ini.WriteInteger(key, QStringLiteral("FontColor"), static_cast<qint32>(color));
    ini.WriteInteger(key, QStringLiteral("FontCharSet"), kDefaultCharset);
    ini.WriteInteger(key, QStringLiteral("FontStyle"), StyleBits(font));
}

void IniSettings::SaveControls(QObject* owner, const QStringList& props, IniFile* file, const QStringList& skip)
{
    if (!owner)
        return;
    IniFile& ini = file ? *file : OpenIniFile();
    IniFile::Batch batch(ini);
    const QString section = SectionOf(*owner);
    for (QObject* control : ControlsOf(*owner, skip)) {
        const QMetaObject* meta = control->metaObject();
        for (const QString& name : props) {
            const QMetaProperty property = meta->property(meta->indexOfProperty(name.toLatin1().constData()));
            if (!property.isValid() || !property.isReadable())
                continue;
            if (const std::optional<QString> text = PropertyText(property, *control))
                ini.WriteString(section, ControlKey(*control, name), *text);
        }
    }
}

void IniSettings::LoadControls(QObject* owner, const QStringList& props, IniFile* file, const QStringList& skip)
{
    if (!owner)
        return;
    const IniFile& ini = file ? *file : OpenIniFile();
    const QString section = SectionOf(*owner);
    for (QObject* control : ControlsOf(*owner, skip)) {
        const QMetaObject* meta = control->metaObject();
        for (const QString& name : props) {
            const QMetaProperty property = meta->property(meta->indexOfProperty(name.toLatin1().constData()));
            if (!property.isValid() || !property.isWritable())
                continue;
            const QString text = ini.ReadString(section, ControlKey(*control, name), QString());
            if (!text.isEmpty())
                SetPropertyFromText(property, *control, text);
        }
    }
}

void IniSettings::SaveControlsToFile(const QString& path, QObject* owner, const QStringList& props, const QStringList& skip)
{
    IniFile file(path, sink_);
    SaveControls(owner, props, &file, skip);
}

void IniSettings::LoadControlsFromFile(const QString& path, QObject* owner, const QStringList& props, const QStringList& skip)
{
    IniFile file(path, sink_);
    LoadControls(owner, props, &file, skip);
}

} // namespace plotwell
