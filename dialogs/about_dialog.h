#pragma once
// TmfAboutDialog: holds the About window's texts and settings, and builds, fills and shows it.

#include "dialogs/form_position.h"

#include <QObject>
#include <QPointer>

#include "dialogs/about_form.h"
#include <QString>

#include <memory>

class QWidget;

namespace plotwell {

class TLauncher;

class TmfAboutDialog : public QObject
{
    Q_OBJECT

public:
    // The window's links go through `launcher` and it opens over `owner`; both must outlive the
    // component.
    TmfAboutDialog(TLauncher& launcher, QWidget* owner);
    ~TmfAboutDialog() override;

    QString Title() const { return FTitle; }
    void SetTitle(const QString& v) { FTitle = v; }
    QString ProgramName() const { return FProgramName; }
    void SetProgramName(const QString& v) { FProgramName = v; }
    QString VersionString() const { return FVersionString; }
    void SetVersionString(const QString& v) { FVersionString = v; }
    QString CopyrightMessage() const { return FCopyrightMessage; }
    void SetCopyrightMessage(const QString& v) { FCopyrightMessage = v; }
    QString EmailAddress() const { return FEmailAddress; }
    void SetEmailAddress(const QString& v) { FEmailAddress = v; }
    QString EmailSubject() const { return FEmailSubject; }
    void SetEmailSubject(const QString& v) { FEmailSubject = v; }
    QString FilesLocationText() const { return FFilesLocationText; }
    void SetFilesLocationText(const QString& v) { FFilesLocationText = v; }
    QString DataPath() const { return FDataPath; }
    void SetDataPath(const QString& v) { FDataPath = v; }
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition v) { FPosition = v; }
    int Left() const { return FLeft; }
    void SetLeft(int v) { FLeft = v; }
    int Top() const { return FTop; }
    void SetTop(int v) { FTop = v; }
    bool ManualScale() const { return FManualScale; }
    void SetManualScale(bool v) { FManualScale = v; }

    // Builds the window and fills it from the properties, without showing it.
    std::unique_ptr<TAboutForm> BuildForm() const;
    // Builds, fills and shows the window modally; it is gone when this returns. True for OK.
    bool execute();
    // The window while execute() shows it, for tests and for closing it from outside.
    TAboutForm* Form() const { return shown_; }

    static const char kDefaultCopyright[];
    static const char kDefaultEmail[];

private:
    QWidget* owner_;
    TLauncher& launcher_;
    QPointer<TAboutForm> shown_;
    QString FTitle;
    QString FProgramName;
    QString FVersionString;
    QString FCopyrightMessage;
    QString FEmailAddress;
    QString FEmailSubject;
    QString FFilesLocationText;
    QString FDataPath;
    TPosition FPosition = TPosition::poScreenCenter;
    int FLeft = 0;
    int FTop = 0;
    bool FManualScale = false;
};

} // namespace plotwell
