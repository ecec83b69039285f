#include "windows/DesktopHost.h"
#include "runtime/Runtime.h"
#include "session/Session.h"
#include "setup/SetupBehaviour.h"
#include "windows/DesktopWindows.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QRNWeb"));
    // Compiled in: a theme look-up would walk the icon folders on every start. Menus and task bars
    // take the installed theme icon named in the desktop entry.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/qrnweb.png")));
    // Hiding the main window for the setup window must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    DesktopHost host;
    Runtime runtime(host);
    Session session(runtime, SetupBehaviour::hooks());
    DesktopWindows windows(session);
    if (!session.start())
        return 0;
    return app.exec();
}
