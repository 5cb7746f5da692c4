#pragma once
// FindDialog: a small modeless "Find" box (text, Match case, Find Next) that only reports what
// to look for; the window that owns it does the searching.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace plotwell {

class FindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FindDialog(QWidget* parent);

    // The text offered in the field; it comes selected, so typing replaces it.
    void SetFindText(const QString& text);
    QString FindText() const;

    bool MatchCase() const;
    void SetMatchCase(bool on);

    // A "Match whole word only" box, hidden unless a searcher supports it.
    void SetWholeWordVisible(bool visible);
    bool WholeWord() const;
    void SetWholeWord(bool on);

signals:
    // Find Next was pressed (or Enter in the box) with a text that is not empty.
    void findNext(const QString& text, bool matchCase);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void EmitFindNext();

    QLineEdit* findedit_;
    QCheckBox* wholewordcb_;
    QCheckBox* matchcasecb_;
    QPushButton* findnextbtn_;
    QPushButton* cancelbtn_;
};

} // namespace plotwell
