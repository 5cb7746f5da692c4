#include "dialogs/about_window.h"

#include "dialogs/url_label.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace plotwell {

namespace {

QFont PixelFont(const QString& family, int pixels, bool bold = false)
{
    QFont f(family);
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

const QString kTahoma = QStringLiteral("Tahoma");

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text, const QFont& font, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* NewCentredLabel(QWidget* parent, const QString& name, const QFont& font, const QRect& geometry)
{
    auto* label = NewLabel(parent, name, QString(), font, geometry.x(), geometry.y());
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

URLLabel* NewLink(Launcher& launcher, QWidget* parent, const QString& name, const QRect& geometry,
                   const QString& accessible)
{
    auto* link = new URLLabel(launcher, parent);
    link->setObjectName(name);
    link->setFont(PixelFont(kTahoma, 13));
    link->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    link->setGeometry(geometry);
    link->setAccessibleName(accessible);
    return link;
}

} // namespace

AboutWindow::AboutWindow(Launcher& launcher, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutForm"));
    // A fixed dialog border: no resizing, no help button.
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    productname = NewCentredLabel(this, QStringLiteral("productname"), PixelFont(QStringLiteral("Arial"), 24),
                                  QRect(16, 10, 337, 31));
    version = NewCentredLabel(this, QStringLiteral("version"), PixelFont(QStringLiteral("MS Sans Serif"), 13, true),
                              QRect(82, 39, 199, 16));
    copyrightlabel = NewCentredLabel(this, QStringLiteral("copyrightlabel"), PixelFont(kTahoma, 12), QRect(8, 80, 345, 20));
    label1 = NewLabel(this, QStringLiteral("Label1"), tr("Software page:"), PixelFont(kTahoma, 12, true), 47, 104);
    label2 = NewLabel(this, QStringLiteral("Label2"), tr("Home page:"), PixelFont(kTahoma, 12, true), 228, 104);
    pagelabel = NewLink(launcher, this, QStringLiteral("pagelabel"), QRect(8, 122, 169, 16), tr("Software page"));
    pagelabel->SetURL(QString::fromLatin1(kSoftwarePage));
    pagelabel->setText(QStringLiteral("example.org/plotwell"));
    page2label = NewLink(launcher, this, QStringLiteral("page2label"), QRect(183, 122, 186, 16), tr("Home page"));
    page2label->SetURL(QString::fromLatin1(kHomePage));
    page2label->setText(QStringLiteral("www.example.org"));
    label3 = NewLabel(this, QStringLiteral("Label3"), tr("Email:"), PixelFont(kTahoma, 12, true), 171, 147);
    emaillabel = NewLink(launcher, this, QStringLiteral("emaillabel"), QRect(8, 165, 361, 16), tr("Email"));
    emaillabel->setText(QString::fromLatin1(kEmailCaption));

    datalocationlabel = NewLabel(this, QStringLiteral("datalocationlabel"), QString(), PixelFont(kTahoma, 12), 25, 214);
    pathedit = new QLineEdit(this);
    pathedit->setObjectName(QStringLiteral("pathedit"));
    pathedit->setReadOnly(true);
    pathedit->setFont(PixelFont(kTahoma, 12));
    pathedit->setGeometry(25, 233, 325, 22);
    pathedit->setAccessibleName(tr("Data files location"));
    QPalette p = pathedit->palette();
    p.setColor(QPalette::Base, QColor(57, 55, 54));
    p.setColor(QPalette::Text, QColor(184, 182, 179));
    pathedit->setPalette(p);
    datalocationlabel->setBuddy(pathedit);

    upDown1 = new QWidget(this);
    upDown1->setObjectName(QStringLiteral("UpDown1"));
    upDown1->setGeometry(317, 215, 32, 18);
    QToolButton* start = ArrowButton(Qt::LeftArrow, QStringLiteral("UpDown1Left"), tr("Show the start of the path"));
    start->setGeometry(0, 0, 16, 18);
    QToolButton* end = ArrowButton(Qt::RightArrow, QStringLiteral("UpDown1Right"), tr("Show the end of the path"));
    end->setGeometry(16, 0, 16, 18);
    connect(start, &QToolButton::clicked, pathedit, [this] { pathedit->home(false); });
    connect(end, &QToolButton::clicked, pathedit, [this] { pathedit->end(false); });

    bevel1 = new QFrame(this);
    bevel1->setObjectName(QStringLiteral("Bevel1"));
    bevel1->setFrameShape(QFrame::HLine);
    bevel1->setFrameShadow(QFrame::Sunken);
    bevel1->setGeometry(1, 264, 373, 9);

    okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName(QStringLiteral("OKButton"));
    okButton->setGeometry(142, 274, 92, 31);
    okButton->setDefault(true);
    okButton->setAutoDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(kClientWidth, kHeightWithDataRow);
    okButton->setFocus();
}

QToolButton* AboutWindow::ArrowButton(Qt::ArrowType arrow, const QString& name, const QString& tip)
{
    auto* button = new QToolButton(upDown1);
    button->setObjectName(name);
    button->setArrowType(arrow);
    button->setAutoRaise(false);
    button->setToolTip(tip);
    button->setAccessibleName(tip);
    return button;
}

void AboutWindow::SetDataRowVisible(bool visible)
{
    datalocationlabel->setVisible(visible);
    pathedit->setVisible(visible);
    upDown1->setVisible(visible);
    const int shift = visible ? 0 : kDataRowHeight;
    bevel1->move(1, 264 - shift);
    okButton->move(142, 274 - shift);
    setFixedSize(kClientWidth, visible ? kHeightWithDataRow : kHeightWithoutDataRow);
}

} // namespace plotwell
