#pragma once
// TIniSettings: a program's settings file under the per-user configuration folder, with typed
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

class TIniFile;
class TMessageSink;

class TIniSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString CompanyName READ CompanyName WRITE SetCompanyName)
    Q_PROPERTY(QString ProductName READ ProductName WRITE SetProductName)
    Q_PROPERTY(QString IniFileName READ IniFileName WRITE SetIniFileName)

public:
    // The area a restored window must stay reachable in; empty for none. Without one, the work
    // area of the screen that shows most of the window, or the primary screen's when none does.
    using TDesktopArea = std::function<QRect(const QWidget&)>;

    // Write failures go to `sink` (may be null), once in the life of the component.
    explicit TIniSettings(TMessageSink* sink, QObject* owner = nullptr);
    ~TIniSettings() override;

    const QString& CompanyName() const { return Fcompanyname; }
    void SetCompanyName(const QString& value);
    const QString& ProductName() const { return Fproductname; }
    void SetProductName(const QString& value);
    // Reads as GetFullIniFilename; a path written here is kept as given.
    QString IniFileName() { return GetFullIniFilename(); }
    void SetIniFileName(const QString& value) { Ffullinifilename = value; }

    QString GetFullIniFilename();

    void SetDesktopArea(TDesktopArea area) { desktopArea_ = std::move(area); }

    QString readstring(const QString& key, const QString& defaultValue, const QString& section);
    void writestring(const QString& key, const QString& value, const QString& section);
    int readinteger(const QString& key, int defaultValue, const QString& section);
    void writeinteger(const QString& key, int value, const QString& section);
    bool readbool(const QString& key, bool defaultValue, const QString& section);
    void writebool(const QString& key, bool b, const QString& section);
    double readfloat(const QString& key, double defaultValue, const QString& section);
    void writefloat(const QString& key, double value, const QString& section);
    bool DeleteKey(const QString& key, const QString& section);   // always false
    bool EraseSection(const QString& section);                    // always false

    // Keys name + "Maximized", "Left", "Top", "Width", "Height" in section "Settings"; the
    // rectangle is the window's restored (normal-state) geometry.
    void readwindowpos(QWidget* form, const QString& name);
    void writewindowpos(QWidget* form, const QString& name);

    // Section `key`: FontName, FontSize (points), FontColor, FontCharSet, FontStyle (1 bold,
    // 2 italic, 4 underline, 8 strike-out). A QFont has no colour; it is passed beside it.
    QFont& readfont(const QString& key, QFont& font);
    QFont& readfont(const QString& key, QFont& font, TColor& color);
    void writefont(const QString& key, const QFont& font, TColor color = kWindowTextColor);

    // Properties `props` of every named object below `owner`, in section owner's name, keys
    // "object.property"; enumerations by their names. `inifile` null means this component's file.
    void SaveControls(QObject* owner, const QStringList& props, TIniFile* inifile, const QStringList& skip);
    void LoadControls(QObject* owner, const QStringList& props, TIniFile* inifile, const QStringList& skip);
    void SaveControlsToFile(const QString& path, QObject* owner, const QStringList& props, const QStringList& skip);
    void LoadControlsFromFile(const QString& path, QObject* owner, const QStringList& props, const QStringList& skip);

    // The system colour of window text, stored as a negative number like every system colour.
    static constexpr TColor kWindowTextColor = 0x80000008;

private:
    void MakeIniFileName();
    QString DerivedIniFileName() const;
    TIniFile& OpenIniFile();
    bool ReadMaximized(const QString& name);
    void WriteMaximized(QWidget* form, const QString& name);
    QRect ReachableRect(const QWidget& form, QRect rect) const;

    std::unique_ptr<TIniFile> inifile;
    QString Fcompanyname;
    QString Fproductname;
    QString Ffullinifilename;
    TMessageSink* sink_;
    TDesktopArea desktopArea_;
};

} // namespace plotwell
