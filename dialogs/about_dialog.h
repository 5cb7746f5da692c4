#pragma once
// AboutDialog: holds the About window's texts and settings, and builds, fills and shows it.

#include "dialogs/form_position.h"

#include <QObject>
#include <QPointer>

#include "dialogs/about_window.h"
#include <QString>

#include <memory>

class QWidget;

namespace plotwell {

class Launcher;

class AboutDialog : public QObject
{
    Q_OBJECT

public:
    // The window's links go through `launcher` and it opens over `owner`; both must outlive the
    // component.
    AboutDialog(Launcher& launcher, QWidget* owner);
    ~AboutDialog() override;

    QString Title() const { return title_; }
    void SetTitle(const QString& v) { title_ = v; }
    QString ProgramName() const { return programName_; }
    void SetProgramName(const QString& v) { programName_ = v; }
    QString VersionString() const { return versionString_; }
    void SetVersionString(const QString& v) { versionString_ = v; }
    QString CopyrightMessage() const { return copyrightMessage_; }
    void SetCopyrightMessage(const QString& v) { copyrightMessage_ = v; }
    QString EmailAddress() const { return emailAddress_; }
    void SetEmailAddress(const QString& v) { emailAddress_ = v; }
    QString EmailSubject() const { return emailSubject_; }
    void SetEmailSubject(const QString& v) { emailSubject_ = v; }
    QString FilesLocationText() const { return filesLocationText_; }
    void SetFilesLocationText(const QString& v) { filesLocationText_ = v; }
    QString DataPath() const { return dataPath_; }
    void SetDataPath(const QString& v) { dataPath_ = v; }
    WindowPlacement Position() const { return position_; }
    void SetPosition(WindowPlacement v) { position_ = v; }
    int Left() const { return left_; }
    void SetLeft(int v) { left_ = v; }
    int Top() const { return top_; }
    void SetTop(int v) { top_ = v; }
    bool ManualScale() const { return manualScale_; }
    void SetManualScale(bool v) { manualScale_ = v; }

    // Builds the window and fills it from the properties, without showing it.
    std::unique_ptr<AboutWindow> BuildForm() const;
    // Builds, fills and shows the window modally; it is gone when this returns. True for OK.
    bool Execute();
    // The window while Execute() shows it, for tests and for closing it from outside.
    AboutWindow* Form() const { return shown_; }

    static const char kDefaultCopyright[];
    static const char kDefaultEmail[];

private:
    QWidget* owner_;
    Launcher& launcher_;
    QPointer<AboutWindow> shown_;
    QString title_;
    QString programName_;
    QString versionString_;
    QString copyrightMessage_;
    QString emailAddress_;
    QString emailSubject_;
    QString filesLocationText_;
    QString dataPath_;
    WindowPlacement position_ = WindowPlacement::ScreenCenter;
    int left_ = 0;
    int top_ = 0;
    bool manualScale_ = false;
};

} // namespace plotwell
