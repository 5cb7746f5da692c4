// plotwell: the program's entry point. The first argument names the data file to open;
// further arguments are ignored.

#include "app/main_window.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plotwell"));
    QApplication::setOrganizationName(QStringLiteral("Marrowfen"));
    plotwell::TForm1 window(QApplication::arguments().mid(1));
    window.show();
    return QApplication::exec();
}
