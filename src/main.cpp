#include "runtime/DesktopHost.h"
#include "runtime/Runtime.h"
#include "session/Session.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QRNWeb"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("qrnweb")));
    // Hiding the main window for the setup window must not end the run.
    QApplication::setQuitOnLastWindowClosed(false);

    DesktopHost host;
    Runtime runtime(host);
    Session session(runtime);
    if (!session.start())
        return 0;
    return app.exec();
}
