// corvane: the desktop program.

#include <exception>

#include <QApplication>
#include <QIcon>
#include <QSize>

#include "settings/qt_key_store.h"
#include "ui/desktop_host.h"
#include "ui/shell.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/corvane-%1.png").arg(size), QSize(size, size));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("corvane"), icon));
    try {
        corvane::QtKeyStore store;
        corvane::ui::Shell shell(store);
        // A level named on the command line ("Open with Corvane") is loaded
        // once the window is up. Qt has taken its own options out of argv.
        if (argc > 1)
            shell.openLevel(argv[1]);
        return app.exec();
    } catch (const std::exception& error) {
        corvane::ui::DesktopHost host;
        corvane::ui::ShowErrorBox(host, error);
        return 1;
    }
}
