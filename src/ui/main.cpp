// corvane: the desktop program.

#include <exception>

#include <QApplication>

#include "settings/qt_key_store.h"
#include "ui/desktop_host.h"
#include "ui/shell.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    try {
        corvane::QtKeyStore store;
        corvane::ui::Shell shell(store);
        return app.exec();
    } catch (const std::exception& error) {
        corvane::ui::DesktopHost host;
        corvane::ui::ShowErrorBox(host, error);
        return 1;
    }
}
