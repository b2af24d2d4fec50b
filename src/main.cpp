#include "platform/Platform.h"
#include "shell/frmMain.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    std::string error;
    quenyx::platform::Install(quenyx::platform::MakeHostPlatform(error));
    if (!error.empty())
        std::fprintf(stderr, "quenyxadmin: %s\n", error.c_str());
    quenyx::shell::frmMain window;
    window.show();
    return QApplication::exec();
}
