#pragma once
// IniSettings: a program's settings file under the per-user configuration folder, with typed
// values, window positions, fonts and the properties of a window's children.

#include "core/color.h"

#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QFont;
class QWidget;

namespace plotwell {

class IniFile;
class MessageSink;

class IniSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString CompanyName READ CompanyName WRITE SetCompanyName)
    Q_PROPERTY(QString ProductName READ ProductName WRITE SetProductName)
    Q_PROPERTY(QString IniFileName READ IniFileName WRITE SetIniFileName)

public:
    // The area a restored window must stay reachable in; empty for none. Without one, the work
    // area of the screen that shows most of the window, or the primary screen's when none does.
    using DesktopArea = std::function<QRect(const QWidget&)>;

    // Write failures go to `sink` (may be null), once in the life of the component.
    explicit IniSettings(MessageSink* sink, QObject* owner = nullptr);
    ~IniSettings() override;

    const QString& CompanyName() const { return companyName_; }
    void SetCompanyName(const QString& value);
    const QString& ProductName() const { return productName_; }
    void SetProductName(const QString& value);
    // Reads as GetFullIniFilename; a path written here is kept as given.
    QString IniFileName() { return GetFullIniFilename(); }
    void SetIniFileName(const QString& value) { fullIniFileName_ = value; }

    QString GetFullIniFilename();

    void SetDesktopArea(DesktopArea area) { desktopArea_ = std::move(area); }

    QString ReadString(const QString& key, const QString& defaultValue, const QString& section);
    void WriteString(const QString& key, const QString& value, const QString& section);
    int ReadInteger(const QString& key, int defaultValue, const QString& section);
    void WriteInteger(const QString& key, int value, const QString& section);
    bool ReadBool(const QString& key, bool defaultValue, const QString& section);
    void WriteBool(const QString& key, bool b, const QString& section);
    double ReadFloat(const QString& key, double defaultValue, const QString& section);
    void WriteFloat(const QString& key, double value, const QString& section);
    bool DeleteKey(const QString& key, const QString& section);   // always false
    bool EraseSection(const QString& section);                    // always false

    // Keys name + "Maximized", "Left", "Top", "Width", "Height" in section "Settings"; the
    // rectangle is the window's restored (normal-state) geometry.
    void ReadWindowPos(QWidget* form, const QString& name);
    void WriteWindowPos(QWidget* form, const QString& name);

    // Section `key`: FontName, FontSize (points), FontColor, FontCharSet, FontStyle (1 bold,
    // 2 italic, 4 underline, 8 strike-out). A QFont has no colour; it is passed beside it.
    QFont& ReadFont(const QString& key, QFont& font);
    QFont& ReadFont(const QString& key, QFont& font, RgbColor& color);
    void WriteFont(const QString& key, const QFont& font, RgbColor color = kWindowTextColor);

    // Properties `props` of every named object below `owner`, in section owner's name, keys
    // "object.property"; enumerations by their names. `iniFile_` null means this component's file.
    void SaveControls(QObject* owner, const QStringList& props, IniFile* file, const QStringList& skip);
    void LoadControls(QObject* owner, const QStringList& props, IniFile* file, const QStringList& skip);
    void SaveControlsToFile(const QString& path, QObject* owner, const QStringList& props, const QStringList& skip);
    void LoadControlsFromFile(const QString& path, QObject* owner, const QStringList& props, const QStringList& skip);

    // The system colour of window text, stored as a negative number like every system colour.
    static constexpr RgbColor kWindowTextColor = 0x80000008;

private:
    void MakeIniFileName();
    QString DerivedIniFileName() const;
    IniFile& OpenIniFile();
    bool ReadMaximized(const QString& name);
    void WriteMaximized(QWidget* form, const QString& name);
    QRect ReachableRect(const QWidget& form, QRect rect) const;

    std::unique_ptr<IniFile> iniFile_;
    QString companyName_;
    QString productName_;
    QString fullIniFileName_;
    MessageSink* sink_;
    DesktopArea desktopArea_;
};

} // namespace plotwell
