#pragma once
// The "Graph Labels" dialog: edits the graph's title and the labels of its two axes.

#include <QDialog>

class QLineEdit;

namespace plotwell {

class GraphLabelsDialog : public QDialog
{
    Q_OBJECT

public:
    GraphLabelsDialog(const QString& title, const QString& xlabel, const QString& ylabel, QWidget* parent);

    QString Title() const;
    QString XLabel() const;
    QString YLabel() const;

protected:
    // Escape does not close the dialog: no button is its cancel button.
    void keyPressEvent(QKeyEvent* event) override;
    // Centred on the screen rather than over the graph.
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* AddField(const QString& caption, int labelTop, int editTop, const QString& text, const QString& name);

    QLineEdit* titleEdit_;
    QLineEdit* xEdit_;
    QLineEdit* yEdit_;
};

} // namespace plotwell
