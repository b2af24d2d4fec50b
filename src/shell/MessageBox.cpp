#include "shell/MessageBox.h"

#include <QMessageBox>

namespace quenyx::shell {

namespace {
std::function<void(const QString&)>& Handler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}
} // namespace

void ShowMessage(const QString& text, QWidget* parent)
{
    if (Handler()) {
        Handler()(text);
        return;
    }
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kConsoleTitle), text, QMessageBox::Ok, parent);
    box.exec();
}

void SetMessageHandlerForTests(std::function<void(const QString&)> handler) { Handler() = std::move(handler); }

} // namespace quenyx::shell
