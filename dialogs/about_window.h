#pragma once
// AboutWindow: the About window with the program's name, version, notice line, links and the
// optional data folder row.

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace plotwell {

class Launcher;
class URLLabel;

class AboutWindow : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kClientWidth = 377;
    static constexpr int kHeightWithDataRow = 315;
    static constexpr int kHeightWithoutDataRow = 265;
    static constexpr int kDataRowHeight = 50;

    // The maker's pages and address the window links to.
    static constexpr char kSoftwarePage[] = "https://www.example.org/plotwell";
    static constexpr char kHomePage[] = "https://www.example.org";
    static constexpr char kEmailCaption[] = "plotwell@example.org";

    AboutWindow(Launcher& launcher, QWidget* parent = nullptr);

    // Shows or leaves out the data folder row; without it the window is 50 pixels shorter.
    void SetDataRowVisible(bool visible);

    QLabel* productname;
    QLabel* version;
    QLabel* copyrightlabel;
    QLabel* label1;
    QLabel* label2;
    URLLabel* pagelabel;
    URLLabel* page2label;
    QLabel* label3;
    URLLabel* emaillabel;
    QLabel* datalocationlabel;
    QWidget* upDown1;
    QLineEdit* pathedit;
    QFrame* bevel1;
    QPushButton* okButton;

private:
    QToolButton* ArrowButton(Qt::ArrowType arrow, const QString& name, const QString& tip);
};

} // namespace plotwell
