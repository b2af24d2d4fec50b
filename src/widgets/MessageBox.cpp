#include "widgets/MessageBox.h"

#include <QMessageBox>

namespace quenyx::shell {

namespace {
std::function<void(const QString&)>& Handler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

void Show(QMessageBox::Icon icon, const QString& text, QWidget* parent)
{
    if (Handler()) {
        Handler()(text);
        return;
    }
    QMessageBox box(icon, QString::fromLatin1(kConsoleTitle), text, QMessageBox::Ok, parent);
    box.exec();
}
} // namespace

void ShowMessage(const QString& text, QWidget* parent)
{
    Show(QMessageBox::Warning, text, parent);
}

void ShowPlainMessage(const QString& text, QWidget* parent)
{
    Show(QMessageBox::NoIcon, text, parent);
}

void SetMessageHandlerForTests(std::function<void(const QString&)> handler)
{
    Handler() = std::move(handler);
}

} // namespace quenyx::shell
