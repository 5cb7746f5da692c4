#include "dialogs/memo_window.h"

#include "core/launcher.h"
#include "core/message_sink.h"
#include "core/rounding.h"
#include "core/text_decoding.h"
#include "dialogs/find_dialog.h"
#include "dialogs/memo_editor.h"
#include "dialogs/message_utils.h"

#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTextCursor>
#include <QUrl>

namespace plotwell {

namespace {

constexpr int kBaseMargin = 30;
constexpr int kStatusBarHeight = 19;

// The folder part of a path, with its closing separator; empty for a bare file name.
QString FolderOf(const QString& path)
{
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash + 1);
}

bool IsWebAddress(const QString& text)
{
    return text.contains(QLatin1String("http:")) || text.contains(QLatin1String("https:")) ||
           text.contains(QLatin1String("www."));
}

} // namespace

MemoWindow::MemoWindow(MessageSink& sink, Launcher& launcher, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      sink_(sink),
      launcher_(launcher),
      notesed_(new MemoEditor(this)),
      okbutton_(new QPushButton(QStringLiteral("&Ok"), this)),
      cancelbtn_(new QPushButton(QStringLiteral("&Cancel"), this)),
      statusBar_(new QStatusBar(this)),
      statuslabel_(new QLabel(statusBar_)),
      findDialog_(new FindDialog(this))
{
    setObjectName(QStringLiteral("notesform"));
    setFont(QFont(QStringLiteral("Tahoma"), 9));
    resize(442, 313);
    setMinimumSize(300 - kFrameWidth, 200 - kFrameHeight);

    notesed_->setObjectName(QStringLiteral("notesed"));
    notesed_->setAccessibleName(QStringLiteral("Text"));
    QFont editorFont = notesed_->font();
    editorFont.setPointSize(12);
    notesed_->setFont(editorFont);
    notesed_->SetWordWrap(true);
    notesed_->setGeometry(15, 8, 425, 241);
    notesed_->installEventFilter(this);

    okbutton_->setObjectName(QStringLiteral("okbutton"));
    okbutton_->setAccessibleName(QStringLiteral("OK"));
    okbutton_->setGeometry(264, 255, 75, 33);
    cancelbtn_->setObjectName(QStringLiteral("cancelbtn"));
    cancelbtn_->setAccessibleName(QStringLiteral("Cancel"));
    cancelbtn_->setGeometry(358, 255, 75, 33);
    // Enter makes a new line in the editor; where the editor takes no Enter (read-only) it is
    // OK. Escape is the dialog's own Cancel.
    okbutton_->setDefault(true);
    connect(okbutton_, &QPushButton::clicked, this, &MemoWindow::OkClicked);
    connect(cancelbtn_, &QPushButton::clicked, this, &QDialog::reject);

    statusBar_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar_->setAccessibleName(QStringLiteral("Status line"));
    statusBar_->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    statuslabel_->setObjectName(QStringLiteral("statuslabel"));
    // No name of its own: a screen reader hears the status itself as the label's name.
    statuslabel_->setAccessibleDescription(QStringLiteral("Status"));
    statuslabel_->setTextFormat(Qt::PlainText);
    statusBar_->addWidget(statuslabel_, 1);

    findDialog_->setObjectName(QStringLiteral("FindDialog1"));
    connect(findDialog_, &FindDialog::findNext, this, &MemoWindow::FindNext);
    auto* findKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_F), this);
    findKey->setContext(Qt::WindowShortcut);
    connect(findKey, &QShortcut::activated, this, &MemoWindow::OpenFindDialog);

    connect(notesed_, &QPlainTextEdit::textChanged, this, &MemoWindow::ShowStatus);
    connect(notesed_, &QPlainTextEdit::cursorPositionChanged, this, &MemoWindow::ShowStatus);
    connect(notesed_, &MemoEditor::wordDoubleClicked, this, &MemoWindow::WordDoubleClicked);

    setTabOrder(notesed_, okbutton_);
    setTabOrder(okbutton_, cancelbtn_);
    SetScale(1.0);
    LayoutControls();
    ShowStatus();
}

void MemoWindow::SetScale(double scale)
{
    scaleAmt_ = scale;
    margin_ = static_cast<int>(Round(kBaseMargin * scale));
}

void MemoWindow::SetFileName(const QString& fileName)
{
    if (fileName != fileName_)
        boundStamp_ = QDateTime();
    fileName_ = fileName;
}

void MemoWindow::SetEditorText(const QString& text)
{
    notesed_->SetText(text);
    boundStamp_ = QDateTime();
}

void MemoWindow::SetShowLineAndColNums(bool on)
{
    showLineAndColNums_ = on;
    ShowStatus();
}

void MemoWindow::SetShowPercentageFull(bool on)
{
    showPercentageFull_ = on;
    ShowStatus();
}

void MemoWindow::SetModal(bool modal)
{
    modal_ = modal;
    setAttribute(Qt::WA_DeleteOnClose, !modal);
}

void MemoWindow::LayoutControls()
{
    const int clientWidth = width();
    const int clientHeight = height();
    statusBar_->setGeometry(0, clientHeight - kStatusBarHeight, clientWidth, kStatusBarHeight);
    const int okTop = statusBar_->y() - okbutton_->height() - 4;
    const int editorWidth = clientWidth - margin_;
    notesed_->setGeometry(notesed_->x(), notesed_->y(), editorWidth, okTop - notesed_->y() - 4);
    const int cancelLeft = notesed_->x() + editorWidth - cancelbtn_->width();
    cancelbtn_->move(cancelLeft, okTop);
    okbutton_->move(notesed_->isReadOnly() ? cancelLeft : cancelLeft - okbutton_->width() - 20, okTop);
    ShowStatus();
}

void MemoWindow::ShowStatus()
{
    QString status;
    if (showLineAndColNums_)
        status = QStringLiteral(" Line: ") + QString::number(notesed_->CaretLine() + 1) + QStringLiteral("  Col: ") +
                 QString::number(notesed_->CaretColumn() + 1);
    const int limit = notesed_->MaxLength();
    if (showPercentageFull_ && limit > 0) {
        const qint64 percent = Round(static_cast<double>(notesed_->TextLength()) / limit * 100);
        const QString full = QString::number(percent) + QStringLiteral(" % full");
        status = status.isEmpty() ? QStringLiteral("  ") + full : status + QStringLiteral("    ") + full;
    }
    statuslabel_->setText(status);
}

QString MemoWindow::StatusText() const
{
    return statuslabel_->text();
}

void MemoWindow::Loadfile(const QString& fname)
{
    if (fname.isEmpty() || !QFileInfo::exists(fname))
        return;
    QFile file(fname);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = DecodeText(file.readAll());
    lineEnd_ = text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    notesed_->SetText(text);
    fileName_ = fname;
    RememberBoundFile();
    ShowStatus();
}

void MemoWindow::RememberBoundFile()
{
    const QFileInfo info(fileName_);
    boundStamp_ = info.lastModified();
    boundSize_ = info.size();
}

bool MemoWindow::BoundFileChanged() const
{
    const QFileInfo info(fileName_);
    return !boundStamp_.isValid() || info.lastModified() != boundStamp_ || info.size() != boundSize_;
}

void MemoWindow::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayoutControls();
}

void MemoWindow::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    // Changes made on disk are taken in, but never over the user's own unsaved edits.
    if (!fileName_.isEmpty() && QFileInfo::exists(fileName_) && !notesed_->Modified() && BoundFileChanged())
        Loadfile(fileName_);
    ShowStatus();
    notesed_->setFocus();
}

bool MemoWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == notesed_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_A && key->modifiers() == Qt::ControlModifier) {
            notesed_->selectAll();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void MemoWindow::OpenFindDialog()
{
    selPos_ = 0;
    const QRect frame = frameGeometry();
    const QScreen* screenOfWindow = screen();
    const int screenRight = screenOfWindow ? screenOfWindow->geometry().right() + 1 : 0;
    const int left = screenRight < frame.x() + frame.width() + 200 ? frame.x() + 100 : frame.x() + width() - 20;
    findDialog_->move(left, frame.y() + 40);
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
}

void MemoWindow::FindNext(const QString& text, bool matchCase)
{
    const Qt::CaseSensitivity cs = matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (;;) {
        const bool fresh = selPos_ == 0;
        const QString all = notesed_->toPlainText();
        const int from = fresh ? 0 : selPos_ - 1 + static_cast<int>(text.size());
        const qsizetype found = from <= all.size() ? all.indexOf(text, from, cs) : -1;
        if (found >= 0) {
            selPos_ = static_cast<int>(found) + 1;
            QTextCursor cursor = notesed_->textCursor();
            cursor.setPosition(static_cast<int>(found));
            cursor.setPosition(static_cast<int>(found + text.size()), QTextCursor::KeepAnchor);
            notesed_->setTextCursor(cursor);
            ShowStatus();
            notesed_->setFocus();
            return;
        }
        if (fresh) {
            ShowInfo(sink_, QStringLiteral("Could not find \"") + text + QLatin1Char('"'), QString(), QString());
            return;
        }
        if (!VerifyYesNo(sink_, QStringLiteral("Item not found. Start again at the beginning?"), QString())) {
            findDialog_->close();
            return;
        }
        selPos_ = 0;
    }
}

void MemoWindow::WordDoubleClicked(const QString& word)
{
    // A double-click on blank space leaves the clipboard as it was.
    if (word.isEmpty())
        return;
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(word);
    if (word.contains(QLatin1Char(' ')))
        return;
    if (word.contains(QLatin1Char('@')) &&
        VerifyYesNo(sink_, QStringLiteral("Create email to ") + word + QStringLiteral(" ?"), QString())) {
        launcher_.OpenUrl(QStringLiteral("mailto:") + word);
        return;
    }
    if (!IsWebAddress(word) ||
        !VerifyYesNo(sink_, QStringLiteral("Open web URL:\n") + word + QStringLiteral(" ?"), QString()))
        return;
    // "www.example.org" gets its scheme; anything that is not a web address is not handed over.
    const QUrl url = QUrl::fromUserInput(word);
    if (url.isValid() && (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")))
        launcher_.OpenUrl(url.toString());
}

void MemoWindow::OkClicked()
{
    if (!fileName_.isEmpty() && notesed_->Modified()) {
        const QString folder = FolderOf(fileName_);
        if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
            if (verifyOverwrite_ && QFileInfo::exists(fileName_) &&
                !VerifyYesNo(sink_, QStringLiteral("File exists. Are you sure you want to overwrite it?"), fileName_))
                return;
            if (!SaveBoundFile())
                return;
        } else {
            sink_.ShowMessage(QStringLiteral("Cannot save file\r\rFolder does not exist.\r\r") + folder);
        }
    }
    if (modal_)
        accept();
}

bool MemoWindow::SaveBoundFile()
{
    // Written whole to a temporary file and put in place only when every byte is written, so a
    // full disk or a lost folder leaves the old file as it was.
    QString text = notesed_->toPlainText();
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    if (lineEnd_ != QLatin1String("\n"))
        text.replace(QLatin1Char('\n'), lineEnd_);
    const QByteArray bytes = text.toUtf8();

    // Unbuffered, so that a short write shows in write()'s result: a buffered one is only
    // flushed by commit(), which does not report that the flush fell short.
    QSaveFile file(fileName_);
    QString error;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
    } else if (file.write(bytes) != bytes.size()) {
        error = file.error() == QFileDevice::NoError ? QStringLiteral("Not all of the text could be written.")
                                                     : file.errorString();
        file.cancelWriting();
    } else if (!file.commit()) {
        error = file.errorString();
    }
    if (!error.isEmpty()) {
        sink_.ShowMessage(QStringLiteral("Cannot save file\r\r") + fileName_ + QStringLiteral("\r\r") + error);
        return false;
    }
    notesed_->SetModified(false);
    RememberBoundFile();
    return true;
}

void MemoWindow::done(int result)
{
    if (notesed_->Modified() && !fileName_.isEmpty()) {
        if (!VerifyYesNo(sink_, QStringLiteral("Text has been changed.  Are you sure you want to cancel?"), QString())) {
            notesed_->setFocus();
            return;
        }
        notesed_->SetModified(false);
    }
    findDialog_->close();
    QDialog::done(result);
}

} // namespace plotwell
