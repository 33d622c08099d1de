#include "Form1.h"
#include "Module1.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Module1 state;
    Form1 window(state);
    window.show();
    return app.exec();
}
