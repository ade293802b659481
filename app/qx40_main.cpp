// qx40: the desktop program.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <cstdio>
#include <cstring>

#include "device/program_version.h"
#include "device/value_tables.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("%s\n", qx40::ProgramVersionText().c_str());
            return 0;
        }
    }
    QApplication app(argc, argv);
    QMainWindow window;
    window.setObjectName("QX4003MFrm");
    window.setWindowTitle(QString::fromStdString(qx40::ModelName(31)));
    window.setCentralWidget(new QLabel(QStringLiteral("QX40 Scope %1").arg(
        QString::fromStdString(qx40::ProgramVersionText()))));
    window.resize(731, 499);
    window.show();
    return app.exec();
}
